#include "test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "heaptally.h"

namespace heaptally_test {

std::string temp_path(const std::string& name) {
  static std::atomic<int> counter{0};
  std::string path = testing::TempDir() + "heaptally_" + std::to_string(getpid()) + "_" +
                     std::to_string(counter++) + "_" + name;
  std::remove(path.c_str());
  return path;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool file_exists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

std::string dump_text() {
  const std::string path = temp_path("dump.txt");
  Heaptally(path.c_str());
  std::string text = read_file(path);
  std::remove(path.c_str());
  return text;
}

StderrCapture::StderrCapture() : path_(temp_path("stderr.txt")) {
  std::fflush(stderr);
  const int fd = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  EXPECT_GE(fd, 0) << "cannot create " << path_;
  saved_fd_ = dup(STDERR_FILENO);
  dup2(fd, STDERR_FILENO);
  close(fd);
}

StderrCapture::~StderrCapture() {
  finish();
}

std::string StderrCapture::finish() {
  if (saved_fd_ < 0) {
    return {};
  }
  std::fflush(stderr);
  dup2(saved_fd_, STDERR_FILENO);
  close(saved_fd_);
  saved_fd_ = -1;
  std::string text = read_file(path_);
  std::remove(path_.c_str());
  return text;
}

}  // namespace heaptally_test

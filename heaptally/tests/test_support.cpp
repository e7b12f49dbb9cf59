#include "test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#include <atomic>
#include <cstdio>

#include "heaptally.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace heaptally_test {

std::string temp_path(const std::string& name) {
  static const gm_test::ScratchFolder folder;
  static std::atomic<int> counter{0};
  return (folder / (std::to_string(counter++) + "_" + name)).string();
}

std::string dump_text() {
  const std::string path = temp_path("dump.txt");
  Heaptally(path.c_str());
  std::string text = gm_test::ReadFile(path);
  std::remove(path.c_str());
#if defined(_WIN32)
  // The dump is written in text mode: on Windows every line ends in CR LF.
  // The lines are given back with LF alone, and a line without its CR fails.
  std::string lines;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      lines.push_back('\n');
      ++i;
    } else if (text[i] == '\r' || text[i] == '\n') {
      return "line end without CR LF at byte " + std::to_string(i);
    } else {
      lines.push_back(text[i]);
    }
  }
  return lines;
#else
  return text;
#endif
}

#if !defined(_WIN32)
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
  std::string text = gm_test::ReadFile(path_);
  std::remove(path_.c_str());
  return text;
}

#endif

}  // namespace heaptally_test

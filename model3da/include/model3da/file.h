// The file object over the engine's file system: opens, measures, reads and
// closes one file, reporting failures as fs::file_exception.
#pragma once

#include <exception>

namespace fs {

// Codes carried by file_exception.
constexpr int kOpenFailed = 0;
constexpr int kReadFailed = 1;
constexpr int kLengthFailed = 3;

// A failure of the file object: 0 = open failed, 1 = read failed, 3 = length
// failed.
class file_exception : public std::exception {
 public:
  explicit file_exception(int code) : code_(code) {}
  int code() const noexcept { return code_; }
  const char* what() const noexcept override;

 private:
  int code_;
};

// One engine file-system handle (0 = not open); closes it when destroyed.
class file {
 public:
  file() = default;
  ~file() { close(); }
  file(const file&) = delete;
  file& operator=(const file&) = delete;

  // Opens `path` with FS_open and `mode` (Scenepress passes 0). On failure
  // writes "WARNING [file] cannot open file <path>" to the message output and
  // throws file_exception(0). A file already open with this object is closed
  // first.
  void open(const char* path, int mode);

  // Returns the length of the open file; throws file_exception(3) when the
  // file system reports none.
  long length() const;

  // Reads up to `count` bytes into `buffer` and returns the number read;
  // throws file_exception(1) on a read failure.
  long read(void* buffer, long count);

  // Closes the handle when one is open; closing twice is harmless.
  void close();

  bool is_open() const { return handle_ != 0; }

 private:
  int handle_ = 0;
};

}  // namespace fs

// The file object over FS_open, FS_length, FS_read and FS_close.
#include "model3da/file.h"

#include "filesystem/filesystem.h"
#include "model3da/message_output.h"

namespace fs {

const char* file_exception::what() const noexcept {
  switch (code_) {
    case kOpenFailed:
      return "file open failed";
    case kReadFailed:
      return "file read failed";
    case kLengthFailed:
      return "file length failed";
    default:
      return "file operation failed";
  }
}

void file::open(const char* path, int mode) {
  close();
  handle_ = FS_open(path, mode);
  if (handle_ == 0) {
    message_output("WARNING [file] cannot open file %s\n", path);
    throw file_exception(kOpenFailed);
  }
}

long file::length() const {
  const long length = FS_length(handle_);
  if (length == -1) throw file_exception(kLengthFailed);
  return length;
}

long file::read(void* buffer, long count) {
  const long read = FS_read(handle_, buffer, count);
  if (read == -1) throw file_exception(kReadFailed);
  return read;
}

void file::close() {
  if (handle_ != 0) FS_close(handle_);
  handle_ = 0;
}

}  // namespace fs

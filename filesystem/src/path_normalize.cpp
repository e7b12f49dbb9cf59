// FS_path_normalize: folds separators, "." and ".." of a path in place.
#include <cstddef>
#include <cstring>

#include "filesystem/filesystem.h"

namespace {

bool is_separator(char c) {
  return c == '/' || c == '\\';
}

}  // namespace

// Works left to right with the write position never ahead of the read
// position, so `dst` may be `src`. Component starts already written are found
// again by scanning back to the previous '/', which keeps the function free of
// any buffer of its own.
extern "C" void FS_path_normalize(char* dst, const char* src) {
  const std::size_t length = std::strlen(src);
  std::size_t in = 0;
  std::size_t out = 0;
  std::size_t root = 0;  // bytes of the root that ".." never removes
  const bool had_text = length > 0;

  if (length >= 2 && src[1] == ':' &&
      ((src[0] >= 'A' && src[0] <= 'Z') || (src[0] >= 'a' && src[0] <= 'z'))) {
    dst[out++] = src[0];
    dst[out++] = ':';
    in = 2;
    root = 2;
    if (in < length && is_separator(src[in])) {
      dst[out++] = '/';
      root = 3;
    }
  } else if (length > 0 && is_separator(src[0])) {
    dst[out++] = '/';
    root = 1;
  }
  const bool absolute = root > 0;

  while (in < length) {
    while (in < length && is_separator(src[in])) ++in;
    if (in >= length) break;
    std::size_t end = in;
    while (end < length && !is_separator(src[end])) ++end;
    const std::size_t part = end - in;

    if (part == 1 && src[in] == '.') {
      in = end;
      continue;
    }
    if (part == 2 && src[in] == '.' && src[in + 1] == '.') {
      // Fold into the previous component unless there is none or it is "..".
      std::size_t start = out;
      while (start > root && dst[start - 1] != '/') --start;
      const bool has_previous = out > root;
      const bool previous_is_up =
          has_previous && out - start == 2 && dst[start] == '.' && dst[start + 1] == '.';
      if (has_previous && !previous_is_up) {
        out = start > root ? start - 1 : root;
        in = end;
        continue;
      }
      if (absolute) {
        in = end;
        continue;
      }
    }
    if (out > root) dst[out++] = '/';
    std::memmove(dst + out, src + in, part);
    out += part;
    in = end;
  }

  if (out == 0 && had_text) dst[out++] = '.';
  dst[out] = '\0';
}

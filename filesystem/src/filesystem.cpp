// The file-system library: source folders, name resolution and open handles.
#include "filesystem/filesystem.h"

#include <dirent.h>
#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "filesystem/ascii_case.h"

namespace {

constexpr long kMaxLength = 0x7FFFFFFFL;

struct State {
  std::mutex lock;
  std::vector<std::string> sources;
  std::vector<std::FILE*> files;  // handle h is files[h - 1]; nullptr = free
};

State& state() {
  static State s;
  return s;
}

bool exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

// The entry of `folder` named `name` without regard to case; the smallest
// such name when there are several, so the choice does not depend on the
// order of the directory listing.
std::optional<std::string> find_without_case(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (dir == nullptr) return std::nullopt;
  std::optional<std::string> found;
  while (const dirent* entry = ::readdir(dir)) {
    if (ascii::equal_no_case(name, entry->d_name) && (!found || *found > entry->d_name)) {
      found = entry->d_name;
    }
  }
  ::closedir(dir);
  return found;
}

// Bytes of the root of the normalised `name`: 1 for "/", and on Windows 3 for
// a drive such as "C:/"; 0 for a relative name.
std::size_t root_length(const std::string& name) {
#ifdef _WIN32
  if (name.size() >= 3 && name[1] == ':' && name[2] == '/' &&
      ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z'))) {
    return 3;
  }
#endif
  return !name.empty() && name[0] == '/' ? 1 : 0;
}

// Joins `base` and the normalised relative or absolute `name`, matching each
// component that does not exist as spelled without regard to case. Returns the
// path of a regular file, or nothing.
std::optional<std::string> resolve_in(const std::string& base, const std::string& name) {
  std::string path;
  std::size_t pos = root_length(name);
  if (pos > 0) {
    path = name.substr(0, pos);
  } else {
    path = base;
  }
  while (pos < name.size()) {
    std::size_t end = name.find('/', pos);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(pos, end - pos);
    pos = end + 1;
    const std::string joined =
        path.empty() ? part : (path.back() == '/' ? path + part : path + "/" + part);
    if (part == ".." || exists(joined)) {
      path = joined;
      continue;
    }
    const std::optional<std::string> match = find_without_case(path, part);
    if (!match) return std::nullopt;
    path = path.empty() ? *match : (path.back() == '/' ? path + *match : path + "/" + *match);
  }
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return path;
}

// Caller holds the lock.
std::optional<std::string> resolve(const State& s, const char* name) {
  if (name == nullptr || name[0] == '\0') return std::nullopt;
  std::string normal(name);
  FS_path_normalize(normal.data(), normal.c_str());
  normal.resize(std::char_traits<char>::length(normal.c_str()));
  if (root_length(normal) > 0) return resolve_in("", normal);
  for (const std::string& source : s.sources) {
    if (auto found = resolve_in(source, normal)) return found;
  }
  return std::nullopt;
}

// Caller holds the lock.
std::FILE* file_of(State& s, int handle) {
  if (handle <= 0 || static_cast<std::size_t>(handle) > s.files.size()) return nullptr;
  return s.files[static_cast<std::size_t>(handle) - 1];
}

}  // namespace

extern "C" void FS_init(void) {
  State& s = state();
  std::lock_guard guard(s.lock);
  s.sources.clear();
}

extern "C" int FS_add_source(const char* path, int, int, int) {
  if (path == nullptr || path[0] == '\0') return 0;
  struct stat info {};
  if (::stat(path, &info) != 0 || !S_ISDIR(info.st_mode)) return 0;
  State& s = state();
  std::lock_guard guard(s.lock);
  s.sources.emplace_back(path);
  return 1;
}

extern "C" int FS_exists(const char* name) {
  State& s = state();
  std::lock_guard guard(s.lock);
  return resolve(s, name).has_value() ? 1 : 0;
}

extern "C" int FS_open(const char* path, int mode) {
  if (mode != 0) return 0;
  State& s = state();
  std::lock_guard guard(s.lock);
  const std::optional<std::string> found = resolve(s, path);
  if (!found) return 0;
  std::FILE* file = std::fopen(found->c_str(), "rb");
  if (file == nullptr) return 0;
  for (std::size_t i = 0; i < s.files.size(); ++i) {
    if (s.files[i] == nullptr) {
      s.files[i] = file;
      return static_cast<int>(i + 1);
    }
  }
  if (s.files.size() >= static_cast<std::size_t>(INT_MAX)) {
    std::fclose(file);
    return 0;
  }
  s.files.push_back(file);
  return static_cast<int>(s.files.size());
}

extern "C" long FS_length(int handle) {
  State& s = state();
  std::lock_guard guard(s.lock);
  std::FILE* file = file_of(s, handle);
  if (file == nullptr) return -1;
  struct stat info {};
  if (::fstat(fileno(file), &info) != 0 || info.st_size < 0 || info.st_size > kMaxLength) {
    return -1;
  }
  return static_cast<long>(info.st_size);
}

extern "C" long FS_read(int handle, void* buffer, long count) {
  State& s = state();
  std::lock_guard guard(s.lock);
  std::FILE* file = file_of(s, handle);
  if (file == nullptr || count < 0 || (buffer == nullptr && count > 0)) return -1;
  const std::size_t read = std::fread(buffer, 1, static_cast<std::size_t>(count), file);
  if (std::ferror(file)) return -1;
  return static_cast<long>(read);
}

extern "C" void FS_close(int handle) {
  State& s = state();
  std::lock_guard guard(s.lock);
  std::FILE* file = file_of(s, handle);
  if (file == nullptr) return;
  std::fclose(file);
  s.files[static_cast<std::size_t>(handle) - 1] = nullptr;
}

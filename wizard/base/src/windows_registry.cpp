// Registry values: through the registry API on Windows, from a Wine
// prefix's hive files anywhere.
#include "base/windows_registry.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <system_error>
#include <vector>

#include "base/wine_hive.h"

#if defined(_WIN32)
#include <windows.h>
// The header's RegGetValue is ours, not the API's name macro.
#undef RegGetValue
#endif

namespace wizard {
namespace {

namespace stdfs = std::filesystem;

// Reads a hive file whole; nullopt when it is missing, unreadable or larger
// than kMaxHiveFileSize.
std::optional<std::string> ReadHive(const stdfs::path& file) {
  std::error_code ec;
  if (!stdfs::is_regular_file(file, ec)) return std::nullopt;
  const std::uintmax_t size = stdfs::file_size(file, ec);
  if (ec || size > kMaxHiveFileSize) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text(static_cast<std::size_t>(size), '\0');
  in.read(text.data(), static_cast<std::streamsize>(size));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (in.bad()) return std::nullopt;
  return text;
}

}  // namespace

bool IsValidKeyName(std::string_view sub_key) {
  if (sub_key.starts_with('\\') || sub_key.ends_with('\\')) return false;
  return sub_key.find("\\\\") == std::string_view::npos;
}

bool RegGetValue(RegistryRoot root, std::string_view sub_key, std::string_view value_name,
                 std::string& value, const stdfs::path& wine_prefix) {
  if (!IsValidKeyName(sub_key) || wine_prefix.empty()) return false;
  const char* hive_name = root == RegistryRoot::kLocalMachine ? "system.reg" : "user.reg";
  const std::optional<std::string> hive = ReadHive(wine_prefix / hive_name);
  if (!hive) return false;
  const std::optional<WineHiveValue> found =
      FindWineHiveValue(*hive, sub_key, value_name, kMaxRegistryValueLength);
  if (!found) return false;
  value = (found->type == kRegSz || found->type == kRegDword) ? found->text : std::string();
  return true;
}

#if defined(_WIN32)
bool RegGetValue(RegistryRoot root, std::string_view sub_key, std::string_view value_name,
                 std::string& value) {
  if (!IsValidKeyName(sub_key)) return false;
  const std::string key_name(sub_key);
  const std::string name(value_name);
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root == RegistryRoot::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER,
                      key_name.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  DWORD type = 0;
  // One byte more than the longest value read, so that a longer one is told
  // by ERROR_MORE_DATA; two more for the NULs a string may lack.
  std::vector<BYTE> data(kMaxRegistryValueLength + 3, 0);
  DWORD size = static_cast<DWORD>(kMaxRegistryValueLength + 1);
  const LONG status = ::RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size);
  ::RegCloseKey(key);
  if (status != ERROR_SUCCESS) return false;
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::string text(reinterpret_cast<const char*>(data.data()), size);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    if (text.size() > kMaxRegistryValueLength) return false;
    value = std::move(text);
  } else if (type == REG_DWORD && size == 4) {
    const std::uint32_t number =
        static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
        static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
    value = std::to_string(number);
  } else {
    if (size > kMaxRegistryValueLength) return false;
    value.clear();
  }
  return true;
}
#else
bool RegGetValue(RegistryRoot root, std::string_view sub_key, std::string_view value_name,
                 std::string& value) {
  return RegGetValue(root, sub_key, value_name, value, DefaultWinePrefix());
}
#endif

stdfs::path DefaultWinePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix && *prefix) return stdfs::path(prefix);
  const char* home = std::getenv("HOME");
  if (home && *home) return stdfs::path(home) / ".wine";
  return {};
}

}  // namespace wizard

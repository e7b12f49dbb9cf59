// Registry values, read from a Wine prefix's hive files.
#include "base/windows_registry.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <system_error>

#include "base/wine_hive.h"

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

bool RegGetValue(RegistryRoot root, std::string_view sub_key, std::string_view value_name,
                 std::string& value) {
  return RegGetValue(root, sub_key, value_name, value, DefaultWinePrefix());
}

stdfs::path DefaultWinePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix && *prefix) return stdfs::path(prefix);
  const char* home = std::getenv("HOME");
  if (home && *home) return stdfs::path(home) / ".wine";
  return {};
}

}  // namespace wizard

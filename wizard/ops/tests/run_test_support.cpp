#include "run_test_support.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "base/game_paths.h"
#include "ops/wizard_state.h"

namespace wizard_test {

namespace stdfs = std::filesystem;

std::string CopyDemoGame(const TestFolder& tmp, std::string_view name) {
  const stdfs::path target = tmp.path() / name;
  stdfs::copy(stdfs::path(GM_SOURCE_DIR) / "demo" / "game", target, stdfs::copy_options::recursive);
  return target.string() + "/";
}

wizard::AssetWriter TextAssetWriter(AssetLog& log) {
  return [&log](const wizard::CarScriptSetup&, std::string_view folder,
                const wizard::CarFileStep& step, const wizard::ProgressStep& progress) {
    log.requests.push_back(step);
    static constexpr const char* kKinds[] = {"folder", "mesh", "texture", "material", "skin"};
    const std::string text = std::string(kKinds[static_cast<int>(step.kind)]) + " " +
                             step.resource + " " + std::to_string(step.painting);
    const stdfs::path path = wizard::ResolveGamePath(std::string(folder) + step.file_name);
    std::error_code ec;
    if (!stdfs::is_directory(path.parent_path(), ec)) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !ok) return false;
    if (progress) progress(wizard::CreatingFileStatus(step.file_name));
    return true;
  };
}

wizard::RunServices TestServices(AssetLog& log) {
  wizard::RunServices services;
  services.write_asset = TextAssetWriter(log);
  services.extractor = [] { return std::optional<std::span<const unsigned char>>(); };
  return services;
}

wizard::WizardState CreateState(const std::string& game_folder, const std::string& id) {
  wizard::WizardState state;
  state.Task = wizard::kTaskCreateCar;
  state.GameFolder = game_folder;
  state.CarID = id;
  state.CarPaintingsCount = 2;
  state.CarParts = 2;  // the bonnet
  return state;
}

std::vector<std::string> ListTree(const stdfs::path& root) {
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = stdfs::recursive_directory_iterator(root, ec);
       !ec && it != stdfs::recursive_directory_iterator(); it.increment(ec)) {
    std::string name = stdfs::relative(it->path(), root).generic_string();
    if (it->is_directory()) name += '/';
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

void PutInt32(std::string& bytes, std::size_t offset, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((u >> (8 * i)) & 0xFF);
}

}  // namespace

std::string CraftPackage(std::string_view car_id, const std::vector<CraftedFile>& files) {
  std::string data;
  for (const CraftedFile& file : files) data += file.data;
  std::string bytes(25, '\0');
  std::memcpy(bytes.data(), "DEVUZA", 6);
  const unsigned char version[4] = {0x00, 0x00, 0x80, 0x3F};
  std::memcpy(bytes.data() + 8, version, 4);
  bytes[12] = static_cast<char>(files.size() & 0xFF);
  bytes[13] = static_cast<char>((files.size() >> 8) & 0xFF);
  PutInt32(bytes, 14, static_cast<std::int32_t>(26 + data.size()));
  PutInt32(bytes, 18, static_cast<std::int32_t>(25 + data.size() + 88 * files.size()));
  std::string id(car_id.substr(0, 3));
  id.resize(3, ' ');
  std::memcpy(bytes.data() + 22, id.data(), 3);
  bytes += data;
  std::int32_t position = 26;
  for (const CraftedFile& file : files) {
    std::string entry(88, ' ');
    PutInt32(entry, 0, static_cast<std::int32_t>(file.data.size()));
    PutInt32(entry, 4, position);
    position += static_cast<std::int32_t>(file.data.size());
    std::string folder = file.folder + '\0';
    std::memcpy(entry.data() + 8, folder.data(), std::min<std::size_t>(folder.size(), 16));
    std::memcpy(entry.data() + 24, file.name.data(), std::min<std::size_t>(file.name.size(), 64));
    bytes += entry;
  }
  return bytes;
}

}  // namespace wizard_test

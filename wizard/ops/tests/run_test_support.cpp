#include "run_test_support.h"

#include <cstdio>

#include "base/game_paths.h"
#include "ops/wizard_state.h"

namespace wizard_test {

namespace stdfs = std::filesystem;

std::string CopyDemoGame(const ScratchFolder& tmp, std::string_view name) {
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
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    if (!file) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !ok) return false;
    if (progress) progress(step.file_name);
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

wizard::RunOutcome RunInEnglish(wizard::WizardState& state, RecordingRunView& view,
                                const wizard::RunServices& services) {
  return wizard::PerformOperation(state, wizard::CarVariants{}, view, wizard::Language::kEnglish,
                                  services);
}

wizard::RunOutcome CreateCar(const std::string& game_folder, const std::string& id,
                             RecordingRunView& view) {
  AssetLog assets;
  wizard::WizardState state = CreateState(game_folder, id);
  return RunInEnglish(state, view, TestServices(assets));
}

}  // namespace wizard_test

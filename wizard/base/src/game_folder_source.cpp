// Finding the game folder: the command line, the environment, the registry.
#include "base/game_folder_source.h"

#include <cstdlib>

#include "base/text_routines.h"
#include "base/windows_registry.h"
#include "base/wine_hive.h"

namespace wizard {

GameFolderSources GameFolderSourcesFromEnvironment(std::optional<std::string> option) {
  GameFolderSources sources;
  sources.option = std::move(option);
  const char* env = std::getenv(kGameFolderVariable);
  if (env && *env) sources.environment = std::string(env);
#if defined(_WIN32)
  sources.system_registry = true;
#else
  sources.wine_prefix = DefaultWinePrefix();
#endif
  return sources;
}

GameFolderLookup FindGameFolder(const GameFolderSources& sources) {
  if (sources.option) {
    return {sources.option->empty() ? std::string() : AddBackslash(*sources.option),
            GameFolderOrigin::kOption};
  }
  if (sources.environment && !sources.environment->empty()) {
    return {AddBackslash(*sources.environment), GameFolderOrigin::kEnvironment};
  }
  std::string stored;
  if (sources.system_registry &&
      RegGetValue(RegistryRoot::kLocalMachine, kGameRegistryKey, kGameRegistryValue, stored) &&
      !stored.empty()) {
    return {std::move(stored), GameFolderOrigin::kRegistry};
  }
  if (!sources.wine_prefix.empty() &&
      RegGetValue(RegistryRoot::kLocalMachine, kGameRegistryKey, kGameRegistryValue, stored,
                  sources.wine_prefix) &&
      !stored.empty()) {
    if (std::optional<std::string> native = MapWineDrivePath(sources.wine_prefix, stored)) {
      return {std::move(*native), GameFolderOrigin::kRegistry};
    }
  }
  return {};
}

}  // namespace wizard

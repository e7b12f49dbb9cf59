#include "ops/master_scripts.h"

#include <array>
#include <string>

#include "base/file_attributes.h"
#include "base/file_routines.h"

namespace wizard {

namespace {

constexpr std::string_view kCarsMaster = "Data\\Cars\\cars.scr";
constexpr std::string_view kCarsMasterShown = "Data\\Cars\\Cars.scr";
constexpr std::string_view kPartsMaster = "Data\\Cars\\Parts.scr";
constexpr std::string_view kTextsMaster = "Data\\Cars\\Texts.scr";
constexpr std::string_view kIconsMaster = "Data\\Cars\\Icons.scr";
constexpr std::string_view kGameTexts = "Data\\Texts.scr";
constexpr std::string_view kGameTextures = "Data\\Menu\\uidef\\Textures.def";

std::string GamePath(std::string_view game_folder, std::string_view relative) {
  std::string path(game_folder);
  path.append(relative);
  return path;
}

// Appends the car's line and an empty line; the car's line starts a line of
// its own even when the file's last line has no line end (glued to it, the
// include would be part of that line, a comment perhaps).
bool AppendCarLine(const std::string& path, std::string_view car_id, std::string_view script_name) {
  const std::array<std::string, 2> lines = {CarRegistrationText(car_id, script_name), ""};
  return AppendTextLinesOnOwnLine(path, lines);
}

// Appends an empty line, the comment, the chain line and an empty line.
bool AppendChainBlock(const std::string& path, std::string_view comment, std::string_view chain) {
  const std::array<std::string, 4> lines = {"", std::string(comment), std::string(chain), ""};
  return AppendTextLines(path, lines);
}

void Report(const ProgressStep& progress, std::string_view shown_path) {
  if (progress) progress(shown_path);
}

// A failure at the game file `path`: named in `failed_file` when asked.
bool Failed(const std::string& path, std::string* failed_file) {
  if (failed_file) *failed_file = path;
  return false;
}

// Cars and Parts: the master script must exist; it is made writable first.
bool RegisterInGameList(std::string_view game_folder, std::string_view car_id,
                        std::string_view master, std::string_view shown,
                        std::string_view script_name, const ProgressStep& progress,
                        std::string* failed_file) {
  const std::string path = GamePath(game_folder, master);
  if (!SetFileAttributes(path, kAttrNormal) || !AppendCarLine(path, car_id, script_name)) {
    return Failed(path, failed_file);
  }
  Report(progress, shown);
  return true;
}

}  // namespace

bool UpdateGRCarsScript(std::string_view game_folder, std::string_view car_id,
                        const ProgressStep& progress, std::string* failed_file) {
  return RegisterInGameList(game_folder, car_id, kCarsMaster, kCarsMasterShown, "Cars.scr",
                            progress, failed_file);
}

bool UpdateGRPartsScript(std::string_view game_folder, std::string_view car_id,
                         const ProgressStep& progress, std::string* failed_file) {
  return RegisterInGameList(game_folder, car_id, kPartsMaster, kPartsMaster, "Parts.scr", progress,
                            failed_file);
}

bool UpdateGRTextsScript(std::string_view game_folder, std::string_view car_id,
                         const ProgressStep& progress, std::string* failed_file) {
  const std::string game_texts = GamePath(game_folder, kGameTexts);
  // Made writable on every call, before the presence test.
  if (!SetFileAttributes(game_texts, kAttrNormal)) return Failed(game_texts, failed_file);
  if (!FileContains(game_texts, kTextsChainLine) &&
      !AppendChainBlock(game_texts, kTextsChainComment, kTextsChainLine)) {
    return Failed(game_texts, failed_file);
  }
  const std::string master = GamePath(game_folder, kTextsMaster);
  if (!AppendCarLine(master, car_id, "Texts.scr")) return Failed(master, failed_file);
  Report(progress, kTextsMaster);
  return true;
}

bool UpdateGRIconsScript(std::string_view game_folder, std::string_view car_id,
                         const ProgressStep& progress, std::string* failed_file) {
  const std::string textures = GamePath(game_folder, kGameTextures);
  // Made writable only when about to append.
  if (!FileContains(textures, kIconsChainLine) &&
      (!SetFileAttributes(textures, kAttrNormal) ||
       !AppendChainBlock(textures, kIconsChainComment, kIconsChainLine))) {
    return Failed(textures, failed_file);
  }
  const std::string master = GamePath(game_folder, kIconsMaster);
  if (!AppendCarLine(master, car_id, "Icons.scr")) return Failed(master, failed_file);
  Report(progress, kIconsMaster);
  return true;
}

}  // namespace wizard

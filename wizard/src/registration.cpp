#include "wizard/registration.h"

#include <array>
#include <string>

#include "wizard/file_attributes.h"
#include "wizard/file_routines.h"

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
  const std::array<std::string, 2> lines = {RegistrationLine(car_id, script_name), ""};
  return AppendTextLinesOnOwnLine(path, lines);
}

// Appends an empty line, the comment, the chain line and an empty line.
bool AppendChainBlock(const std::string& path, std::string_view comment, std::string_view chain) {
  const std::array<std::string, 4> lines = {"", std::string(comment), std::string(chain), ""};
  return AppendTextLines(path, lines);
}

void Report(const ProgressStep& progress, std::string_view shown_path) {
  if (progress) progress(CreatingFileStatus(shown_path));
}

// Cars and Parts: the master script must exist; it is made writable first.
bool RegisterInGameList(std::string_view game_folder, std::string_view car_id,
                        std::string_view master, std::string_view shown,
                        std::string_view script_name, const ProgressStep& progress) {
  const std::string path = GamePath(game_folder, master);
  if (!SetFileAttributes(path, kAttrNormal)) return false;
  if (!AppendCarLine(path, car_id, script_name)) return false;
  Report(progress, shown);
  return true;
}

}  // namespace

std::string RegistrationLine(std::string_view car_id, std::string_view script_name) {
  std::string line = "!include(\"";
  line.append(car_id);
  line.append("\\\\");
  line.append(script_name);
  line.append("\")");
  return line;
}

bool UpdateGRCarsScript(std::string_view game_folder, std::string_view car_id,
                        const ProgressStep& progress) {
  return RegisterInGameList(game_folder, car_id, kCarsMaster, kCarsMasterShown, "Cars.scr",
                            progress);
}

bool UpdateGRPartsScript(std::string_view game_folder, std::string_view car_id,
                         const ProgressStep& progress) {
  return RegisterInGameList(game_folder, car_id, kPartsMaster, kPartsMaster, "Parts.scr", progress);
}

bool UpdateGRTextsScript(std::string_view game_folder, std::string_view car_id,
                         const ProgressStep& progress) {
  const std::string game_texts = GamePath(game_folder, kGameTexts);
  // Made writable on every call, before the presence test.
  if (!SetFileAttributes(game_texts, kAttrNormal)) return false;
  if (!FileContains(game_texts, kTextsChainLine) &&
      !AppendChainBlock(game_texts, kTextsChainComment, kTextsChainLine)) {
    return false;
  }
  if (!AppendCarLine(GamePath(game_folder, kTextsMaster), car_id, "Texts.scr")) return false;
  Report(progress, kTextsMaster);
  return true;
}

bool UpdateGRIconsScript(std::string_view game_folder, std::string_view car_id,
                         const ProgressStep& progress) {
  const std::string textures = GamePath(game_folder, kGameTextures);
  // Made writable only when about to append.
  if (!FileContains(textures, kIconsChainLine)) {
    if (!SetFileAttributes(textures, kAttrNormal)) return false;
    if (!AppendChainBlock(textures, kIconsChainComment, kIconsChainLine)) return false;
  }
  if (!AppendCarLine(GamePath(game_folder, kIconsMaster), car_id, "Icons.scr")) return false;
  Report(progress, kIconsMaster);
  return true;
}

}  // namespace wizard

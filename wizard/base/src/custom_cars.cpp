// "Carwright.ini", the list of custom cars, and the removal of a custom car.
#include "base/custom_cars.h"

#include <charconv>
#include <map>

#include "base/atomic_file.h"
#include "base/car_id.h"
#include "base/file_attributes.h"
#include "base/file_routines.h"
#include "base/folder_routines.h"
#include "base/game_paths.h"
#include "base/ini_file.h"
#include "base/text_routines.h"

namespace wizard {
namespace {

std::string CustomCarsFile(std::string_view game_folder) {
  return std::string(game_folder) + std::string(kCustomCarsFileName);
}

std::string IDKey(std::size_t number) {
  return std::string(kCustomCarsIDKeyPrefix) + std::to_string(number);
}

std::string Truncated(std::string value) {
  if (value.size() > kMaxINIValueLength) value.resize(kMaxINIValueLength);
  return value;
}

// True when the file is missing or was read and does not hold `text`.
bool LacksText(const std::string& path, std::string_view text) {
  const ReadResult read = ReadFileChecked(path);
  if (read.status == ReadStatus::kMissing) return true;
  return read.status == ReadStatus::kOk && read.text.find(text) == std::string::npos;
}

enum class RegistryCount { kRead, kMissing, kTooLarge, kNotANumber };

// Reads the entries of the registry text into `custom_cars` (emptied first)
// and the count's text into `count_text`: the count is missing (kMissing,
// also when empty), above kMaxCustomCars (kTooLarge), not a decimal number
// of cars, negative ones included (kNotANumber), or was read (kRead). The
// list stays empty unless it was read.
RegistryCount ParseRegistry(std::string_view text, std::vector<std::string>& custom_cars,
                            std::string& count_text) {
  custom_cars.clear();
  const std::map<std::string, std::string> values = FindINISection(text, kCustomCarsSection);
  const auto count_it = values.find(ToUpperAscii(kCustomCarsCountKey));
  if (count_it == values.end()) return RegistryCount::kMissing;
  count_text = Truncated(count_it->second);
  if (count_text.empty()) return RegistryCount::kMissing;
  long count = 0;
  const auto [end, ec] =
      std::from_chars(count_text.data(), count_text.data() + count_text.size(), count);
  if (ec == std::errc::result_out_of_range || (ec == std::errc() && count > kMaxCustomCars)) {
    return RegistryCount::kTooLarge;
  }
  if (ec != std::errc() || end != count_text.data() + count_text.size() || count < 0)
    return RegistryCount::kNotANumber;

  for (long i = 1; i <= count; ++i) {
    const auto it = values.find(ToUpperAscii(IDKey(static_cast<std::size_t>(i))));
    custom_cars.push_back(it == values.end() ? std::string() : Truncated(it->second));
  }
  return RegistryCount::kRead;
}

}  // namespace

bool LoadINI(std::string_view game_folder, std::vector<std::string>& custom_cars) {
  custom_cars.clear();
  const ReadResult read = ReadFileChecked(CustomCarsFile(game_folder));
  if (read.status != ReadStatus::kOk) return false;
  // A count that is not a number leaves the list empty, and the file counts
  // as read.
  std::string count_text;
  const RegistryCount count = ParseRegistry(read.text, custom_cars, count_text);
  return count == RegistryCount::kRead || count == RegistryCount::kNotANumber;
}

bool LoadCustomCars(std::string_view game_folder, std::vector<std::string>& custom_cars,
                    std::string& problem) {
  custom_cars.clear();
  const std::string file = CustomCarsFile(game_folder);
  const ReadResult read = ReadFileChecked(file);
  if (read.status == ReadStatus::kMissing) return true;
  const std::string shown = ResolveGamePath(file).string();
  if (read.status != ReadStatus::kOk) {
    problem = shown + ": cannot read the registry of custom cars";
    return false;
  }
  // A count that cannot be read leaves cars unlisted that the next write
  // would drop: the file is refused instead.
  std::string count_text;
  const std::string given =
      shown + ": the registry of custom cars gives " + std::string(kCustomCarsCountKey) + "=";
  switch (ParseRegistry(read.text, custom_cars, count_text)) {
    case RegistryCount::kTooLarge:
      problem =
          given + count_text + ", more than the " + std::to_string(kMaxCustomCars) + " it can hold";
      return false;
    case RegistryCount::kNotANumber:
      problem = given + count_text + ", which is not a number of cars";
      return false;
    case RegistryCount::kRead:
    case RegistryCount::kMissing:
      return true;
  }
  return true;
}

bool WriteINI(std::string_view game_folder, const std::vector<std::string>& custom_cars) {
  const std::string file = CustomCarsFile(game_folder);
  std::string text = "[" + std::string(kCustomCarsSection) + "]\r\n";
  text += std::string(kCustomCarsCountKey) + "=" + std::to_string(custom_cars.size()) + "\r\n";
  for (std::size_t i = 0; i < custom_cars.size(); ++i) {
    if (!IsValidINIEntry(kCustomCarsSection, IDKey(i + 1), custom_cars[i])) return false;
    text += IDKey(i + 1) + "=" + custom_cars[i] + "\r\n";
  }

  const bool was_read_only = IsFileReadOnly(file);
  if (was_read_only && !SetFileAttributes(file, kAttrNormal)) return false;
  if (!ReplaceFileAtomically(ResolveGamePath(file), text)) {
    if (was_read_only) SetFileAttributes(file, kAttrReadOnly | kAttrHidden | kAttrSystem);
    return false;
  }
  SetFileAttributes(file, kAttrReadOnly | kAttrHidden | kAttrSystem);
  return true;
}

std::string CarRegistrationText(std::string_view car_id, std::string_view script_name) {
  return "!include(\"" + std::string(car_id) + "\\\\" + std::string(script_name) + "\")";
}

CarRemoval GRDeleteCar(std::string_view game_folder, std::string_view car_id) {
  CarRemoval removal;
  // The game's own cars are never removed, whatever the registry says.
  if (!IsCarFolderID(car_id) || IsReservedCarID(car_id)) return removal;
  const std::string cars = std::string(game_folder) + std::string(kCarsFolder);
  for (std::string_view script : kCarMasterScripts) {
    const std::string path = cars + std::string(script);
    const std::string text = CarRegistrationText(car_id, script);
    if (!ReplaceInFile(path, text, "") && !LacksText(path, text)) {
      removal.lines_kept_in.push_back(path);
    }
  }
  // A folder deleted while the game still includes its scripts could never
  // be unregistered: the car stays whole until every line is gone.
  if (removal.lines_kept_in.empty())
    removal.folder_removed = DeleteFolder(cars + std::string(car_id));
  return removal;
}

}  // namespace wizard

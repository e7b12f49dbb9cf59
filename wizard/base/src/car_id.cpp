// Car ID rules and random IDs.
#include "base/car_id.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

#include "base/text_routines.h"

namespace wizard {

namespace {

// The device names of the game's platform that are three characters long.
constexpr std::array<std::string_view, 4> kDeviceNames = {"AUX", "CON", "NUL", "PRN"};

// Characters the game's file system refuses in names, besides the separators.
constexpr std::string_view kNameForbidden = ":*?\"<>|";

bool CanBeInFolderName(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (byte < 0x20 || byte == 0x7F) return false;
  return c != '\\' && c != '/' && c != '.' && c != ' ' &&
         kNameForbidden.find(c) == std::string_view::npos;
}

}  // namespace

bool IsValidCarIDChar(char c) {
  return kValidCarIDChars.find(UpperAscii(c)) != std::string_view::npos;
}

bool IsReservedCarID(std::string_view car_id) {
  const std::string upper = ToUpperAscii(car_id);
  return std::find(kReservedCarIDs.begin(), kReservedCarIDs.end(), upper) != kReservedCarIDs.end();
}

bool IsCarFolderID(std::string_view car_id) {
  if (car_id.size() != kCarIDLength) return false;
  if (!std::all_of(car_id.begin(), car_id.end(), CanBeInFolderName)) return false;
  const std::string upper = ToUpperAscii(car_id);
  return std::find(kDeviceNames.begin(), kDeviceNames.end(), upper) == kDeviceNames.end();
}

std::uint16_t CheckCarID(std::string_view car_id, std::span<const std::string> custom_cars) {
  // Longer IDs are refused too: the car's files and the package header hold
  // exactly three characters.
  if (!IsCarFolderID(car_id) || !std::all_of(car_id.begin(), car_id.end(), IsValidCarIDChar)) {
    return kCarIDInvalid;
  }
  if (IsReservedCarID(car_id)) return kCarIDReserved;
  for (const std::string& custom : custom_cars) {
    if (EqualsNoCase(custom, car_id)) return kCarIDTaken;
  }
  return kCarIDValid;
}

std::string CarIDMessage(std::uint16_t result, Language language) {
  if (result == kCarIDValid) return {};
  std::string text(StringText(result, language));
  if (result == kCarIDInvalid) text += kValidCarIDChars;
  return text;
}

std::string GenerateCarID(const UnitRandom& random) {
  // The last character of the set (the second X) is never drawn.
  const std::size_t choices = kValidCarIDChars.size() - 1;
  std::string id;
  for (std::size_t k = 0; k < kCarIDLength; ++k) {
    double r = random();
    if (!(r >= 0.0)) r = 0.0;  // also NaN
    const auto index = static_cast<std::size_t>(std::floor(std::min(r, 1.0) * choices));
    id += kValidCarIDChars[std::min(index, choices - 1)];
  }
  return id;
}

std::string GenerateCarID() {
  const auto seed =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  std::mt19937_64 engine(seed);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  return GenerateCarID([&] { return unit(engine); });
}

}  // namespace wizard

// Car ID rules and random IDs.
#include "base/car_id.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

#include "base/text_routines.h"

namespace wizard {

std::uint16_t CheckCarID(std::string_view car_id, std::span<const std::string> custom_cars) {
  // Longer IDs are refused too: the car's files and the package header hold
  // exactly three characters.
  if (car_id.size() != kCarIDLength) return kCarIDInvalid;
  const std::string upper = ToUpperAscii(car_id);
  for (char c : upper) {
    if (kValidCarIDChars.find(c) == std::string_view::npos) return kCarIDInvalid;
  }
  for (std::string_view reserved : kReservedCarIDs) {
    if (upper == reserved) return kCarIDReserved;
  }
  for (const std::string& custom : custom_cars) {
    if (EqualsNoCase(custom, car_id)) return kCarIDTaken;
  }
  return kCarIDValid;
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

// Car IDs: the three-character keys of custom cars, their rules and the
// random ID of a new car.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "base/string_table.h"

namespace wizard {

// The characters an ID may hold, compared after upper-casing. The set holds
// X twice and no Z: Z is not a valid character.
inline constexpr std::string_view kValidCarIDChars = "_0123456789ABCDEFGHIJKLMNOPQRSTUVWXYX";

// The length of every car ID.
inline constexpr std::size_t kCarIDLength = 3;

// The IDs of the game's own cars.
inline constexpr std::array<std::string_view, 10> kReservedCarIDs = {
    "BMX", "DRM", "FOC", "FPU", "GLV", "MLE", "MMS", "PGT", "SBI", "STC"};

// What CheckCarID returns: 0, or the id of the message that says why.
inline constexpr std::uint16_t kCarIDValid = 0;
inline constexpr std::uint16_t kCarIDInvalid = kStrInvalidCarID;
inline constexpr std::uint16_t kCarIDReserved = kStrIDReserved;
inline constexpr std::uint16_t kCarIDTaken = kStrIDTaken;

// True when `c`, upper-cased, is one of kValidCarIDChars. The one test of the
// valid-character set.
bool IsValidCarIDChar(char c);

// True when `car_id`, upper-cased, is one of kReservedCarIDs: upper-casing,
// since the folder of "stc" is the game's STC on its case-blind file system.
bool IsReservedCarID(std::string_view car_id);

// True when `car_id` can name a car's folder below "Data\Cars\": exactly three
// characters, none of them a path separator ('\', '/'), a dot, a blank, a
// control character or one the game's file system refuses in names
// (: * ? " < > |), and not a device name (CON, PRN, AUX, NUL in any case).
// The one test of whether an ID may become a folder; such an ID may still be
// invalid, reserved or taken (CheckCarID).
bool IsCarFolderID(std::string_view car_id);

// Checks `car_id` and returns a message id: 0 valid; 10004 when it cannot
// name a car folder (IsCarFolderID) or holds a character outside the valid
// set (IsValidCarIDChar); 10007 when it is a reserved ID (IsReservedCarID);
// 10008 when it is already in `custom_cars`, compared after upper-casing, as
// the car's folder would be the same. So every valid ID names a car folder.
std::uint16_t CheckCarID(std::string_view car_id, std::span<const std::string> custom_cars);

// The message of a CheckCarID result in `language`: the text of its id, for
// 10004 followed directly by kValidCarIDChars; empty for kCarIDValid.
std::string CarIDMessage(std::uint16_t result, Language language);

// A source of uniform random numbers in [0, 1).
using UnitRandom = std::function<double()>;

// Returns a random ID: three draws r from `random`, each picking the
// character at position floor(r * 36) of kValidCarIDChars, so only "_", the
// digits and "A" to "Y" come out. A draw outside [0, 1) is clamped into it.
// The result is not checked against reserved or taken IDs.
std::string GenerateCarID(const UnitRandom& random);

// The same with a generator seeded from the clock.
std::string GenerateCarID();

}  // namespace wizard

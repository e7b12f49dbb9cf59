// The string table: every visible text of Carwright and Quorvex, keyed by a
// 16-bit id, in English and Polish (UTF-8).
#pragma once

#include <cstdint>
#include <string_view>

namespace wizard {

enum class Language { kEnglish, kPolish };

// Ids that code refers to by name: every such id is defined here, once.
// Titles (100-step ids of each page) and the texts of controls (the control
// table) are reached by number.
inline constexpr std::uint16_t kStrCreatingFile = 110;         // "Creating file:"
inline constexpr std::uint16_t kStrSuccess = 111;              // "Successfully completed"
inline constexpr std::uint16_t kStrAreYouSure = 112;           // "Are you sure?"
inline constexpr std::uint16_t kStrRemovingCar = 113;          // "Removing car"
inline constexpr std::uint16_t kStrCreatingPackage = 114;      // "Creating DEVUZA..."
inline constexpr std::uint16_t kStrExtractingPackage = 115;    // "Extracting DEVUZA..."
inline constexpr std::uint16_t kStrRunError = 116;             // "Error!"
inline constexpr std::uint16_t kStrReplaceCar = 117;           // "A car with this ID already ..."
inline constexpr std::uint16_t kStrWarning = 118;              // "Warning"
inline constexpr std::uint16_t kStrPaintingInUse = 119;        // "The car with the ID %1 uses ..."
inline constexpr std::uint16_t kStrSelectGameFolder = 205;     // "Select Gravelmoor directory"
inline constexpr std::uint16_t kStrError = 10000;              // "Error"
inline constexpr std::uint16_t kStrErrorCreatingFile = 10001;  // "Error while creating file"
inline constexpr std::uint16_t kStrNotGameFolder = 10002;      // "The selected directory ..."
inline constexpr std::uint16_t kStrNoWheels = 10003;           // "Please choose at least ..."
inline constexpr std::uint16_t kStrInvalidCarID = 10004;       // "Invalid car's ID. ..."
inline constexpr std::uint16_t kStrErrorCreatingFolder = 10005;  // "Error while creating folder"
inline constexpr std::uint16_t kStrGameNotInstalled = 10006;     // "<Game not installed>"
inline constexpr std::uint16_t kStrIDReserved = 10007;           // "ID reserved."
inline constexpr std::uint16_t kStrIDTaken = 10008;              // "ID reserved." (taken)

// Returns the text of `id` in `language`; empty when the table has no such
// id in that language (id 11000, a separator, exists in Polish only).
std::string_view StringText(std::uint16_t id, Language language);

// True when the table holds `id` in `language`.
bool HasString(std::uint16_t id, Language language);

// Returns the language of a locale name: Polish for "pl" and names beginning
// with "pl_", "pl-", "pl." or "pl@" (any case); English otherwise.
Language LanguageFromLocale(std::string_view locale);

// Returns the user's language from the first set and non-empty of LC_ALL,
// LC_MESSAGES and LANG; English when none is set. Programs call it once at
// start and pass the language on: no library code keeps a language of its own.
Language DetectUserLanguage();

}  // namespace wizard

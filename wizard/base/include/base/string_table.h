// The string table: every visible text of Carwright and Quorvex, keyed by a
// 16-bit id, in English and Polish (UTF-8).
#pragma once

#include <cstdint>
#include <string_view>

namespace wizard {

enum class Language { kEnglish, kPolish };

// Ids that code refers to by name.
inline constexpr std::uint16_t kStrError = 10000;                // "Error"
inline constexpr std::uint16_t kStrErrorCreatingFile = 10001;    // "Error while creating file"
inline constexpr std::uint16_t kStrNotGameFolder = 10002;        // "The selected directory ..."
inline constexpr std::uint16_t kStrNoWheels = 10003;             // "Please choose at least ..."
inline constexpr std::uint16_t kStrInvalidCarID = 10004;         // "Invalid car's ID. ..."
inline constexpr std::uint16_t kStrErrorCreatingFolder = 10005;  // "Error while creating folder"
inline constexpr std::uint16_t kStrGameNotInstalled = 10006;     // "<Game not installed>"
inline constexpr std::uint16_t kStrIDReserved = 10007;           // "ID reserved."
inline constexpr std::uint16_t kStrIDTaken = 10008;              // "ID reserved."

// Returns the text of `id` in `language`; empty when the table has no such
// id in that language (id 11000, a separator, exists in Polish only).
std::string_view StringText(std::uint16_t id, Language language);

// True when the table holds `id` in `language`.
bool HasString(std::uint16_t id, Language language);

// Returns the language of a locale name: Polish for "pl" and names beginning
// with "pl_", "pl-", "pl." or "pl@" (any case); English otherwise.
Language LanguageFromLocale(std::string_view locale);

// Returns the user's language from the first set and non-empty of LC_ALL,
// LC_MESSAGES and LANG; English when none is set.
Language DetectUserLanguage();

// The language of the program's texts: DetectUserLanguage() until
// SetUiLanguage overrides it.
Language UiLanguage();
void SetUiLanguage(Language language);

// Returns the text of `id` in UiLanguage().
std::string_view Text(std::uint16_t id);

}  // namespace wizard

// The string table, English and Polish.
#include "base/string_table.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <optional>

namespace wizard {
namespace {

struct Entry {
  std::uint16_t id;
  const char* english;  // nullptr: not in the English table
  const char* polish;
};

// Sorted by id. Ids 105, 206, 308, 409, 523, 703, 804 and 11000 are dash
// separators that nothing shows.
constexpr Entry kEntries[] = {
    {100, "Help", "Pomoc"},
    {101, "Cancel", "Anuluj"},
    {102, "< Back", "< Cofnij"},
    {103, "Next >", "Dalej >"},
    {104, "Finish", "Zakończ"},
    {105, "-", "-"},
    {110, "Creating file:", "Tworzenie pliku:"},
    {111, "Successfully completed", "Zakończono pomyślnie."},
    {112, "Are you sure?", "Czy jesteś pewien?"},
    {113, "Removing car", "Usuwanie samochodu"},
    {114, "Creating DEVUZA...", "Tworzenie DEVUZA'a..."},
    {115, "Extracting DEVUZA...", "Rozpakowanie DEVUZA'a..."},
    {116, "Error!", "Wystąpiły błędy!"},
    {117, "A car with this ID already exists. Do you want to replace it?",
     "Samochód o tym identyfikatorze już istnieje. Czy chcesz go zastąpić?"},
    {118, "Warning", "Uwaga"},
    {119,
     "The car with the ID %1 uses the painting no %2. Are you sure you want to change the number "
     "of painings?",
     "Samochód o identyfikatorze %1 używa malowania nr %2. Czy na pewno chcesz zmienic ilość "
     "malowań?"},
    {200, "Select game's directory", "Wybór katalogu z grą"},
    {201, "Please select the directory where Gravelmoor is installed.",
     "Wskaż katalog  w którym znajduje się gra Gravelmoor."},
    {202,
     "If the directory is correct please click Next. To change the directory click Change and "
     "choose another.",
     "Jeżeli podany katalog jest prawidłowy kliknij Dalej. Aby zmienić katalog kliknij Zmień i "
     "wybierz inny."},
    {203, "Game's directory", "Katalog gry"},
    {204, "Change...", "Zmień..."},
    {205, "Select Gravelmoor directory", "Wybierz katalog z grą Gravelmoor:"},
    {206, "-", "-"},
    {300, "Choosing operation", "Wybór operacji"},
    {301, "What do you want to do?", "Co chcesz zrobić?"},
    {302, "Choose an operation and click Next.", "Wybierz operację i kliknij Dalej."},
    {303, "Creating car's template", "Tworzenie szablonu samochodu"},
    {304, "Deleting a car", "Usunięcie samochodu"},
    {305, "Editing a car", "Edycja samochodu "},
    {306, "Creating a DEVUZA", "Tworzenie DEVUZA'a"},
    {307, "Extracting a DEVUZA", "Rozpakowanie DEVUZA'a"},
    {308, "-", "-"},
    {400, "Choosing car's parameters", "Wybór parametrów samochodu"},
    {401, "Enter basic car's parameters.", "Podaj podstawowe parametry samochodu."},
    {402, "Enter parameters and click Next", "Podaj parametry i kliknij Dalej"},
    {403, "Car's ID", "Identyfikator samochodu"},
    {404, "Car's name", "Nazwa Samochodu"},
    {405, "Group", "Grupa"},
    {406, "Number of paintjob", "Ilość malowań"},
    {407, "Generate", "Wygeneruj"},
    {408, "Advanced", "Zaawansowane"},
    {409, "-", "-"},
    {500, "Choosing parts", "Wybór części"},
    {501, "What separate parts should the car have?",
     "Jakie osobne części powinien mieć samochód?"},
    {502, "Choose the parts that are supposed to have separate meshes and click Next.",
     "Wybierz części które mają mieć osobną geometrię i kliknij Dalej"},
    {510, "Standard parts", "Części standardowe"},
    {511, "Exhaust pipe", "Rura wydechowa"},
    {512, "Bonnet", "Maska"},
    {513, "Spoiler", "Spoiler"},
    {514, "Bumpers", "Zderzaki"},
    {515, "Doors", "Drzwi"},
    {520, "Animated parts", "Części animowane"},
    {521, "Antenna", "Antena"},
    {522, "Wipers", "Wycieraczki"},
    {523, "-", "-"},
    {600, "Operation in progress", "Wykonywanie operacji"},
    {601, "The chosen operation is in progress", "Wybrana operacja jest wykonywana."},
    {602, "When the operation is finished click Finish.",
     "Gdy operacja zostanie zakończona kliknij Zakończ"},
    {700, "Choosing wheels", "Wybór kół"},
    {701, "What type of wheels should the car have?",
     "Jakie typy kół powinien mieć Twoj samochód?"},
    {702, "Choose the wheels your car is supposed to use and click Next.",
     "Wybierz koła z jakich będzie mógł korzystać samochód i kliknij Dalej."},
    {703, "-", "-"},
    {800, "Ready", "Gotowy"},
    {801, "The Wizard is ready to complete the operation",
     "Kreator jest gotowy do zakończenia wybranej operacji."},
    {802, "Click Next to continue.", "Aby kontynuować kliknij Dalej."},
    {803,
     "WARNING! Before completing the operation you should backup your existing profiles "
     "(Data\\Profiles\\). They may not work correctly. After finishing the operation a new profile "
     "should be created.",
     "UWAGA! Przed zakończeniem operacji należy stworzyć kopie zapasowe istniejących profili "
     "(Data\\Profiles\\). Mogą one nie działać poprawnie. Po zakończeniu operacji należy stworzyć "
     "nowy profil."},
    {804, "-", "-"},
    {900, "Selecting a car", "Wybór samochodu"},
    {901, "Choose a car", "Wybierz samochód"},
    {902, "Choose a car from the below list and click Next",
     "Wybierz samochód z poniższej listy i kliknij Dalej."},
    {903, "Make EXE file (SFX)", "Twórz plik EXE (SFX)"},
    {10000, "Error", "Błąd"},
    {10001, "Error while creating file", "Błąd tworzenia pliku."},
    {10002, "The selected directory does not contain Gravelmoor!",
     "Wskazany katalog nie zawiera gry Gravelmoor!"},
    {10003, "Please choose at least one wheels type!", "Proszę wybrać przynajmniej jeden typ kół!"},
    {10004,
     "Invalid car's ID. The ID should consist of at least 3 characters.\r\nValid characters:  ",
     "Nieprawidłowy identyfikator samochodu. Identyfikator samochodu powinien zawierac minimum 3 "
     "znaki.\r\nDozwolone znaki:  "},
    {10005, "Error while creating folder", "Błąd tworzenia foldera."},
    {10006, "<Game not installed>", "<Gra nie jest zainstalowana>"},
    {10007, "ID reserved.", "Identyfikator zastrzeżony."},
    {10008, "ID reserved.", "Identyfikator zastrzeżony."},
    {11000, nullptr, "-"},
    {11001, "Enable", "Włącz"},
    {11002, "Turbo", "Turbo"},
    {11003, "Height [mm]", "Wysokość [mm]"},
    {11004, "Length [mm]", "Długość [mm]"},
    {11005, "Width [mm]", "Szerokość [mm]"},
    {11006, "Produced in", "Wyprodukowany w"},
    {11007, "Power [bhp]", "Moc [bhp]"},
    {11008, "Torque [Nm]", "Moment obr.[Nm]"},
    {11009, "Torque [rpm]", "Moment obr.[rpm]"},
    {11010, "Drive", "Napęd"},
    {11011, "Engine Type", "Typ Silnika"},
    {11012, "Paintjob", "Nr Malowania"},
    {11013, "Buy price", "Cena"},
    {11014, "Weight [kg]", "Waga [kg]"},
    {11015, "Displacement [ccm]", "Pojemność [ccm]"},
};

const Entry* FindEntry(std::uint16_t id) {
  const auto it = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
                                   [](const Entry& e, std::uint16_t key) { return e.id < key; });
  return (it != std::end(kEntries) && it->id == id) ? &*it : nullptr;
}

const char* TextOf(const Entry& entry, Language language) {
  return language == Language::kPolish ? entry.polish : entry.english;
}

}  // namespace

std::string_view StringText(std::uint16_t id, Language language) {
  const Entry* entry = FindEntry(id);
  if (!entry || !TextOf(*entry, language)) return {};
  return TextOf(*entry, language);
}

bool HasString(std::uint16_t id, Language language) {
  const Entry* entry = FindEntry(id);
  return entry && TextOf(*entry, language);
}

Language LanguageFromLocale(std::string_view locale) {
  if (locale.size() < 2) return Language::kEnglish;
  const bool pl = (locale[0] == 'p' || locale[0] == 'P') && (locale[1] == 'l' || locale[1] == 'L');
  const bool ends_there = locale.size() == 2 || locale[2] == '_' || locale[2] == '.' ||
                          locale[2] == '@' || locale[2] == '-';
  return pl && ends_there ? Language::kPolish : Language::kEnglish;
}

Language DetectUserLanguage() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return LanguageFromLocale(value);
  }
  return Language::kEnglish;
}

}  // namespace wizard

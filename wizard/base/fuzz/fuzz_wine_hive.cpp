// Fuzzes the Wine hive reader and the INI reader/writer with arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/ini_file.h"
#include "base/wine_hive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  wizard::FindWineHiveValue(text, "Software\\Ferrovane\\Gravelmoor", "DestinationDir", 1024);
  wizard::FindINIValue(text, "Cars", "CarsCount");
  wizard::FindINISection(text, "Cars");
  wizard::SetINIValue(text, "Cars", "CarID1", "AB1");
  return 0;
}

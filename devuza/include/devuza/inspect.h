// What `carwright inspect` shows of a package or a self-extracting program:
// the header and the directory, with the reason each refused entry would stop
// an extraction.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/code_page.h"
#include "devuza/package_format.h"

namespace devuza {

struct PackageReport {
  std::filesystem::path path;
  bool self_extracting = false;
  std::uint64_t base = 0;  // offset of the package in the file
  PackageHeader header;
  std::vector<DirectoryEntry> entries;
  std::vector<std::string> problems;  // one per entry, empty when the entry is sound
};

// Reads the header and directory of `path`, first as a package file, then as
// a self-extracting program, with names in `code_page`. Returns true and
// fills `report` when the header and the directory were accepted (entries may
// still carry problems); otherwise false with the package layer's error text
// in `error` ("No DEVUZA File!", "Wrong DEVUZA version", or what is wrong).
bool InspectPackage(const std::filesystem::path& path, PackageReport& report, std::string& error,
                    wizard::CodePage code_page = wizard::CodePage::kWindows1252);

// True when no entry of the report has a problem.
bool ReportIsSound(const PackageReport& report);

// The report as text: one "Field: value" line per header field, then a
// table of the directory (folder, file, size, position) and the problems.
// Names are printed with unprintable bytes shown as \xNN.
std::string FormatInspectReport(const PackageReport& report);

}  // namespace devuza

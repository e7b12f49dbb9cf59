// What `quorvex --list` prints: the car ID and the entries of the package at
// the end of a program file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/code_page.h"

namespace quorvex {

struct ListedEntry {
  std::string folder;  // UTF-8; empty for a file of the car's own folder
  std::string name;    // UTF-8
  std::int32_t size = 0;
};

struct PackageListing {
  std::string car_id;
  std::vector<ListedEntry> entries;
};

// Reads the header (through the trailer) and the directory of the package at
// the end of `program`. Returns false with `error` naming the file and the
// problem when there is no sound package there: a damaged trailer, header or
// directory, or any entry that would not be extracted.
bool ListPackage(const std::filesystem::path& program, wizard::CodePage code_page,
                 PackageListing& listing, std::string& error);

// The listing as text: "Car ID: AB1", "Files: n", then one line per entry,
// "folder\name  size".
std::string FormatListing(const PackageListing& listing);

}  // namespace quorvex

// Installing the package at the end of a program file: the extract operation
// of Carwright's runner, with the package read through the file's trailer.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/string_table.h"
#include "ops/operations.h"

namespace quorvex {

struct InstallRequest {
  std::string game_folder;                          // ends in a separator
  std::string car_id;                               // the ID read from the package's header
  std::filesystem::path program;                    // the self-extracting program file
  std::vector<std::string>* custom_cars = nullptr;  // the registry, updated by the run
  wizard::Language language = wizard::Language::kEnglish;
};

// Extracts the package at the end of `request.program` into the car's folder
// and, when the ID is not yet taken, registers the car and appends its ID,
// exactly as Carwright's install operation does, with its progress, action
// line and messages on `view`. Errors name the program file. Nothing is
// written when the trailer, the header or any entry is damaged.
wizard::RunOutcome InstallFromProgram(const InstallRequest& request, wizard::RunView& view);

}  // namespace quorvex

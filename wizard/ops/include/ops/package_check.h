// The one check of a package offered for install, made by the wizard's
// extract page, `carwright install` and Quorvex: the header (magic and
// version), the car ID it holds as a folder name, and whether that ID is free
// or must be replaced (taken, reserved, or outside the valid set). Each front
// end words the outcome its own way.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "devuza/package.h"

namespace wizard {

enum class PackageForInstall {
  kUnreadable,  // no valid header: the front end stays where it is
  kBadFolder,   // the header's ID cannot name a car folder: refused
  kReplace,     // CheckCarID refuses the ID: installing replaces a car
  kFree,        // CheckCarID accepts the ID: installing adds a car
};

struct PackageCheck {
  PackageForInstall result = PackageForInstall::kUnreadable;
  std::string car_id;  // as the header holds it (when there is one)
  std::string error;   // the package layer's text when kUnreadable
};

// Classifies a header already read: `header_valid` whether it was accepted,
// `car_id` the ID it holds, against the registry's `custom_cars`.
PackageCheck CheckPackageHeader(bool header_valid, std::string_view car_id,
                                std::span<const std::string> custom_cars);

// Reads the header of `path` (a package file, or with kReadSfx the package at
// the end of a self-extracting program) and classifies it.
PackageCheck CheckPackageForInstall(const std::filesystem::path& path, devuza::PackageMode mode,
                                    std::span<const std::string> custom_cars);

}  // namespace wizard

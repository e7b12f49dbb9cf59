// How the wizard reads the header of a DEVUZA package before it offers to
// install it: only whether the package is valid and which car it holds. The
// package layer implements it; tests use a double.
#pragma once

#include <string>
#include <string_view>

namespace wizard {

struct PackageHeaderInfo {
  bool valid = false;  // the header was read and accepted (magic and version)
  std::string car_id;  // the car ID stored in the header, as stored
};

class PackageHeaderSource {
 public:
  virtual ~PackageHeaderSource() = default;

  // Reads the header of the package file at `path` (a package file, not a
  // self-extracting program). Never throws: a missing, short or foreign file
  // gives valid false.
  virtual PackageHeaderInfo ReadPackageHeader(std::string_view path) = 0;
};

}  // namespace wizard

// The check of a package offered for install.
#include "ops/package_check.h"

#include "base/car_id.h"

namespace wizard {

PackageCheck CheckPackageHeader(bool header_valid, std::string_view car_id,
                                std::span<const std::string> custom_cars) {
  PackageCheck check;
  if (!header_valid) return check;
  check.car_id = std::string(car_id);
  // The ID names the folder the package is extracted to.
  if (!IsCarFolderID(car_id)) {
    check.result = PackageForInstall::kBadFolder;
  } else if (CheckCarID(car_id, custom_cars) != kCarIDValid) {
    check.result = PackageForInstall::kReplace;
  } else {
    check.result = PackageForInstall::kFree;
  }
  return check;
}

PackageCheck CheckPackageForInstall(const std::filesystem::path& path, devuza::PackageMode mode,
                                    std::span<const std::string> custom_cars) {
  devuza::Package package;
  if (!devuza::ReadPackageHeader(package, path, mode)) {
    PackageCheck check;
    check.error = devuza::LastPackageError(package);
    return check;
  }
  return CheckPackageHeader(true, devuza::PackageCarID(package), custom_cars);
}

}  // namespace wizard

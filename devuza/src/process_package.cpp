// The one process-wide package that Carwright's operation runner and Quorvex
// work on, and the operations over it.
#include "devuza/package.h"
#include "package_io.h"

namespace devuza {

Package& ProcessPackage() {
  static Package package;
  return package;
}

bool OpenPackage(int mode, const std::filesystem::path& path, std::string_view car_id,
                 std::int16_t flag) {
  if (mode < 0 || mode > 2) {
    detail::SetError(ProcessPackage(), PackageErrorCode::kNotOpen,
                     "Unknown package mode " + std::to_string(mode));
    return false;
  }
  return OpenPackage(ProcessPackage(), static_cast<PackageMode>(mode), path, car_id, flag);
}

bool AddPackageFile(const std::filesystem::path& file_path, std::string_view folder,
                    std::string_view name) {
  return AddPackageFile(ProcessPackage(), file_path, folder, name);
}

bool AddCarFolder(const std::filesystem::path& folder, std::string_view stored_name) {
  return AddCarFolder(ProcessPackage(), folder, stored_name);
}

bool ExtractPackage(const std::filesystem::path& destination) {
  return ExtractPackage(ProcessPackage(), destination);
}

bool ClosePackage() {
  return ClosePackage(ProcessPackage());
}

bool ReadPackageHeader(const std::filesystem::path& path, int mode) {
  if (mode != 1 && mode != 2) {
    detail::SetError(ProcessPackage(), PackageErrorCode::kNotOpen,
                     "Unknown package mode " + std::to_string(mode));
    return false;
  }
  return ReadPackageHeader(ProcessPackage(), path, static_cast<PackageMode>(mode));
}

std::string PackageCarID() {
  return PackageCarID(ProcessPackage());
}

std::string LastPackageError() {
  return LastPackageError(ProcessPackage());
}

}  // namespace devuza

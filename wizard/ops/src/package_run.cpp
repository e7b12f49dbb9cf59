// The package operations: packing a registered car into a DEVUZA package (or
// a self-extracting program) and installing a car from a package.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "base/car_id.h"
#include "base/code_page.h"
#include "base/custom_cars.h"
#include "base/game_paths.h"
#include "base/new_file.h"
#include "devuza/package.h"
#include "devuza/sfx.h"
#include "run_context.h"

namespace wizard::detail {

namespace {

namespace stdfs = std::filesystem;

constexpr double kPackageProgress = kProgressMax / 2;
constexpr double kRegistrationProgress = 10;

// The plain package written beside a self-extracting program, then removed:
// the chosen name + this suffix (+ a number when that name is taken).
constexpr std::string_view kSFXPackageSuffix = ".package-part";

// Creates a new, empty file beside `chosen` for the plain package, opened
// exclusively so that no file of the user's is ever written over; empty when
// none can be made.
stdfs::path CreatePackagePlaceholder(const std::string& chosen) {
  for (int attempt = 0; attempt < 1000; ++attempt) {
    stdfs::path path(chosen + std::string(kSFXPackageSuffix) +
                     (attempt == 0 ? std::string() : std::to_string(attempt)));
    errno = 0;
    if (std::FILE* file = CreateNewFile(path)) {
      std::fclose(file);
      return path;
    }
    if (errno != EEXIST) break;
  }
  return {};
}

constexpr std::string_view kNoExtractor =
    "Self-extracting packages are not available: this build of Carwright does not carry the "
    "extractor program. Write a plain package instead.";

std::string CarFolder(const RunContext& run, std::string_view id) {
  return run.game_folder + std::string(kCarsFolder) + std::string(id);
}

std::string BadIDText(std::string_view id) {
  return "The car ID \"" + std::string(id) + "\" cannot name a car folder";
}

// Packs the car's folder into `package_path`; false with the layer's error.
bool WritePackage(const RunContext& run, std::string_view id, const stdfs::path& package_path,
                  std::string& error) {
  devuza::Package package;
  package.code_page = GameCodePage(run.language);
  bool ok =
      devuza::OpenPackage(package, devuza::PackageMode::kWrite, package_path, std::string(id), 0);
  if (ok) {
    ok = devuza::AddCarFolder(package, ResolveGamePath(CarFolder(run, id)), "");
    // Closing discards a package whose folder could not be packed whole.
    ok = devuza::ClosePackage(package) && ok;
  }
  if (!ok) error = devuza::LastPackageError(package);
  return ok;
}

// Opens the package, refuses it when any entry is unsafe (before anything is
// written), and extracts it into `destination`; false with the layer's error.
bool ExtractInto(const stdfs::path& package_path, devuza::PackageMode mode,
                 const stdfs::path& destination, CodePage code_page, std::string& error) {
  devuza::Package package;
  package.code_page = code_page;
  bool ok = devuza::OpenPackage(package, mode, package_path);
  if (ok && (ok = devuza::ReadDirectory(package))) {
    for (std::size_t i = 0; ok && i < package.entries.size(); ++i) {
      if (std::string problem = devuza::EntryProblem(package, i); !problem.empty()) {
        error = std::move(problem);
        ok = false;
      }
    }
    if (ok) ok = devuza::ExtractPackage(package, destination);
  }
  if (!ok && error.empty()) error = devuza::LastPackageError(package);
  if (package.open) devuza::ClosePackage(package);
  return ok;
}

}  // namespace

}  // namespace wizard::detail

namespace wizard {

namespace {
namespace stdfs = std::filesystem;
}  // namespace

RunOutcome PackCar(const PackCarRequest& request, RunView& view, const RunServices& services) {
  detail::RunContext run(request.setting, view, services);
  run.view.RefreshWindow();
  run.view.SetActionText(run.Text(kStrCreatingPackage));
  run.SetProgress(detail::kPackageProgress);

  const std::string& chosen = request.file_name;
  const std::string& id = request.car_id;
  if (!IsCarFolderID(id)) {
    run.PackageError(chosen, detail::BadIDText(id));
    return run.ErrorEnd();
  }
  // The game's own cars are not packed, whatever the registry says.
  if (IsReservedCarID(id)) {
    run.PackageError(chosen, detail::ReservedIDText(run, id));
    return run.ErrorEnd();
  }
  std::optional<std::span<const unsigned char>> extractor;
  if (request.make_sfx) {
    if (run.services.extractor) extractor = run.services.extractor();
    if (!extractor) {
      run.PackageError(chosen, detail::kNoExtractor);
      return run.ErrorEnd();
    }
  }

  // With a self-extracting program the chosen name is the program's; the plain
  // package goes to a new file of its own beside it first.
  stdfs::path package_path(chosen);
  if (request.make_sfx) {
    package_path = detail::CreatePackagePlaceholder(chosen);
    if (package_path.empty()) {
      run.PackageError(chosen, "Cannot create a temporary package file beside it");
      return run.ErrorEnd();
    }
  }
  std::string error;
  if (!detail::WritePackage(run, id, package_path, error)) {
    std::error_code ec;
    if (request.make_sfx) stdfs::remove(package_path, ec);
    run.PackageError(chosen, error);
    return run.ErrorEnd();
  }
  if (request.make_sfx) {
    const std::span<const std::uint8_t> bytes(extractor->data(), extractor->size());
    if (!devuza::WriteSFXPackage(stdfs::path(chosen), package_path, true, bytes, &error)) {
      std::error_code ec;
      stdfs::remove(package_path, ec);
      run.PackageError(chosen, error);
      return run.ErrorEnd();
    }
  }
  return run.SuccessEnd();
}

RunOutcome InstallPackage(const InstallPackageRequest& request, RunView& view) {
  const RunServices services;
  detail::RunContext run(request.setting, view, services);
  run.view.RefreshWindow();
  run.view.SetActionText(run.Text(kStrExtractingPackage));
  run.SetProgress(detail::kPackageProgress);

  // The ID comes from the package's header: it must name one folder below
  // "Data\Cars\".
  const std::string& id = request.car_id;
  if (!IsCarFolderID(id)) {
    run.PackageError(request.package_file, detail::BadIDText(id));
    return run.ErrorEnd();
  }
  std::string error;
  // Only the two read modes: a request never makes the run write a package.
  if (request.mode != devuza::PackageMode::kReadFile &&
      request.mode != devuza::PackageMode::kReadSfx) {
    run.PackageError(request.package_file, "not a read mode");
    return run.ErrorEnd();
  }
  if (!detail::ExtractInto(stdfs::path(request.package_file), request.mode,
                           ResolveGamePath(detail::CarFolder(run, id)), GameCodePage(run.language),
                           error)) {
    run.PackageError(request.package_file, error);
    return run.ErrorEnd();
  }
  // A car already registered (or reserved) was replaced at the user's wish:
  // its registration stays as it is.
  if (CheckCarID(id, run.custom_cars) != kCarIDValid) return run.SuccessEnd();
  detail::RegisterCar(run, id, detail::kRegistrationProgress);
  run.custom_cars.push_back(id);
  return run.SuccessEnd();
}

}  // namespace wizard

#include "extractor/package_listing.h"

#include <optional>

#include "devuza/package.h"
#include "devuza/stored_names.h"

namespace quorvex {

bool ListPackage(const std::filesystem::path& program, wizard::CodePage code_page,
                 PackageListing& listing, std::string& error) {
  listing = {};
  devuza::Package package;
  package.code_page = code_page;
  const std::string file = "File:" + program.string() + "\n";
  if (!devuza::OpenPackage(package, devuza::PackageMode::kReadSfx, program) ||
      !devuza::ReadDirectory(package)) {
    error = file + devuza::LastPackageError(package);
    return false;
  }
  listing.car_id = devuza::PackageCarID(package);
  for (std::size_t i = 0; i < package.entries.size(); ++i) {
    // Every entry is checked as the install would check it.
    if (std::string problem = devuza::EntryProblem(package, i); !problem.empty()) {
      error = file + problem;
      return false;
    }
    const devuza::DirectoryEntry& entry = package.entries[i];
    const std::optional<std::string> folder =
        devuza::DiskName(devuza::EntryFolder(entry).value_or(""), code_page);
    const std::optional<std::string> name = devuza::DiskName(devuza::EntryName(entry), code_page);
    listing.entries.push_back({folder.value_or(""), name.value_or(""), entry.size});
  }
  devuza::ClosePackage(package);
  return true;
}

std::string FormatListing(const PackageListing& listing) {
  std::string text = "Car ID: " + listing.car_id + "\n";
  text += "Files: " + std::to_string(listing.entries.size()) + "\n";
  for (const ListedEntry& entry : listing.entries) {
    text += entry.folder.empty() ? entry.name : entry.folder + "\\" + entry.name;
    text += "  " + std::to_string(entry.size) + "\n";
  }
  return text;
}

}  // namespace quorvex

// Feeds arbitrary bytes to the package reader as a package file and as a
// self-extracting program, extracts what it accepts into a scratch folder,
// and aborts if anything appears beside that folder.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "devuza/inspect.h"
#include "devuza/package.h"

namespace {

namespace stdfs = std::filesystem;

// A scratch folder for this process, removed at exit.
struct ScratchFolder {
  stdfs::path path = stdfs::temp_directory_path() / ("devuza-fuzz-" + std::to_string(::getpid()));
  ScratchFolder() { stdfs::create_directories(path); }
  ~ScratchFolder() {
    std::error_code ec;
    stdfs::remove_all(path, ec);
  }
};

const stdfs::path& Scratch() {
  static const ScratchFolder folder;
  return folder.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const stdfs::path input = Scratch() / "input";
  const stdfs::path dest = Scratch() / "dest";
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  devuza::PackageReport report;
  std::string error;
  if (devuza::InspectPackage(input, report, error)) (void)devuza::FormatInspectReport(report);

  for (const devuza::PackageMode mode :
       {devuza::PackageMode::kReadFile, devuza::PackageMode::kReadSfx}) {
    devuza::Package package;
    if (devuza::OpenPackage(package, mode, input)) {
      devuza::ExtractPackage(package, dest);
      devuza::ClosePackage(package);
    }
    for (const auto& entry : stdfs::directory_iterator(Scratch())) {
      const std::string name = entry.path().filename().string();
      if (name != "input" && name != "dest") std::abort();
    }
    stdfs::remove_all(dest);
  }
  return 0;
}

// carwright inspect: the header and the directory of a DEVUZA package or of a
// self-extracting program, without extracting anything.
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "base/code_page.h"
#include "commands.h"
#include "devuza/inspect.h"

namespace carwright {

Subcommand AddInspectCommand(CLI::App& program) {
  CLI::App* app = program.add_subcommand(
      "inspect",
      "Print the header (car ID, version, file count, lengths) and the directory (folder, file, "
      "size, position) of a DEVUZA package or of a self-extracting program. Exits with 1 when "
      "FILE is not a valid package or holds entries that would not install.");
  auto file = std::make_shared<std::string>();
  app->add_option("FILE", *file, "The .devuza package or self-extracting program")->required();

  return {app, [file](wizard::Language language) {
            devuza::PackageReport report;
            std::string error;
            if (!devuza::InspectPackage(std::filesystem::path(*file), report, error,
                                        wizard::GameCodePage(language))) {
              std::cerr << "carwright: " << *file << ": " << error << "\n";
              return kExitFailed;
            }
            std::cout << devuza::FormatInspectReport(report);
            std::cout.flush();
            if (!devuza::ReportIsSound(report)) {
              std::cerr << "carwright: " << *file
                        << ": the package holds entries that would not be extracted\n";
              return kExitFailed;
            }
            return std::cout ? kExitOk : kExitFailed;
          }};
}

}  // namespace carwright

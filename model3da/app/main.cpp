// model3da: look inside a .3da file.
//   model3da info FILE        the header, node tree, surfaces, tracks,
//                             materials and collision section
//   model3da check FILE       exit 0 when the file is valid, 1 with the reason
//   model3da dump --json FILE the same data as info, as JSON
// Exit codes: 0 success, 1 the file could not be read or is not valid,
// 2 usage error.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>

#include "model3da/model.h"
#include "report.h"

namespace {

int load_or_report(const std::string& path, std::unique_ptr<model3da::Model>& model) {
  model3da::LoadResult result = model3da::load_model_file(path);
  if (!result.ok()) {
    std::cerr << path << ": " << model3da::load_error_name(result.error) << ": " << result.message
              << "\n";
    return 1;
  }
  model = std::move(result.model);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Look inside a .3da model file.\n"
      "Exit codes: 0 success, 1 the file cannot be read or is not valid, 2 usage error."};
  // A path such as /games/x.scr is a file, not a Windows-style option.
  app.allow_windows_style_options(false);
  app.require_subcommand(1);
  std::string path;
  bool json = false;
  CLI::App* info = app.add_subcommand("info",
                                      "Show the header, nodes, surfaces, tracks, "
                                      "materials and collision section");
  info->add_option("FILE", path, "the .3da file")->required();
  CLI::App* check = app.add_subcommand("check",
                                       "Exit 0 when the file is valid, else 1 with "
                                       "the reason");
  check->add_option("FILE", path, "the .3da file")->required();
  CLI::App* dump = app.add_subcommand("dump", "Write the data that info shows as JSON");
  dump->add_flag("--json", json, "JSON output (the only format)")->required();
  dump->add_option("FILE", path, "the .3da file")->required();
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  std::unique_ptr<model3da::Model> model;
  if (int code = load_or_report(path, model); code != 0) return code;
  if (*check) {
    std::cout << path << ": valid\n";
  } else if (*info) {
    std::cout << model3da::app::model_info(*model);
  } else {
    std::cout << model3da::app::model_json(*model).dump(2, ' ', false,
                                                        nlohmann::json::error_handler_t::replace)
              << "\n";
  }
  return std::cout.good() ? 0 : 1;
}

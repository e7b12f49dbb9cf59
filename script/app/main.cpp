// ctcparse: checks a script of the engine's script language. Prints the
// statement tree, or the error as the crash log words it.
#include <cstdio>
#include <string>

#include <CLI/CLI.hpp>

#include "model3da/crash_log.h"
#include "model3da/file_system_setup.h"
#include "model3da/message_output.h"
#include "model3da/platform.h"
#include "script/ctcparse.h"
#include "script/statement_tree.h"

namespace {

// Warnings and crash log lines reach the terminal through the log hook; the
// line ends the crash log adds are dropped there.
void print_to_terminal(const char* text) {
  std::string line;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p != '\r') line += *p;
  }
  std::fputs(line.c_str(), stderr);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Parses a script of the engine's script language and prints its statements, one per line "
      "with their values, nested blocks indented.\n"
      "Exit codes: 0 the script is valid, 1 it could not be read or has an error, 2 usage error."};
  // A path such as /games/x.scr is a file, not a Windows-style option.
  app.allow_windows_style_options(false);
  std::string file;
  std::string binary;
  app.add_option("FILE", file,
                 "Script to check (found like the engine finds it: relative to the "
                 "current folder, names matched without regard to case)")
      ->required();
  app.add_option("--binary", binary, "Also write the statements in the binary form to this file");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    return 2;
  }

  fs::set_up_file_system();
  fs::set_log_hook(print_to_terminal);
  platform::set_debugger_output_sink([](const char*) {});
  fs::crash_log_start_without_file();

  CTCParse parser(file.c_str());
  if (!parser.has_data()) return 1;
  bool error = false;
  const std::unique_ptr<CTCPARSE_KEYWORD> statements = parser.parse(&error);
  if (error) return 1;

  std::fputs(format_statement_tree(statements.get()).c_str(), stdout);
  if (!binary.empty()) {
    std::FILE* out = std::fopen(binary.c_str(), "wb");
    bool written = out != nullptr;
    if (written) {
      if (statements) {
        written = statements->write_binary(out);
      } else {
        const unsigned char end_of_list[4] = {0xFF, 0xFF, 0xFF, 0xFF};
        written = std::fwrite(end_of_list, 1, 4, out) == 4;
      }
      written = std::fclose(out) == 0 && written;
    }
    if (!written) {
      std::fprintf(stderr, "ctcparse: cannot write '%s'\n", binary.c_str());
      std::remove(binary.c_str());
      return 1;
    }
  }
  return 0;
}

// `carwright inspect`, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>

#include "devuza/inspect.h"
#include "devuza/sfx.h"
#include "package_test_support.h"

namespace devuza {
namespace {

using testing::CraftPackage;
using testing::ReadFile;
using testing::ScratchDir;
using testing::WriteFile;

struct ProgramRun {
  int exit_code = -1;
  std::string out;
  std::string err;
};

ProgramRun Inspect(const ScratchDir& dir, const std::filesystem::path& file) {
  const auto out = dir / "stdout.txt";
  const auto err = dir / "stderr.txt";
  // A run that waits for ever ends after a minute with exit code 124.
  const std::string command = "timeout 60 '" CARWRIGHT_PATH "' inspect '" + file.string() + "' >'" +
                              out.string() + "' 2>'" + err.string() + "'";
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.out = ReadFile(out);
  run.err = ReadFile(err);
  return run;
}

// The library's report of `file`, which the program prints unchanged.
std::string ReportText(const std::filesystem::path& file) {
  PackageReport report;
  std::string error;
  EXPECT_TRUE(InspectPackage(file, report, error)) << error;
  return FormatInspectReport(report);
}

TEST(CarwrightInspect, PrintsHeaderAndDirectoryOfAPackageAndOfASelfExtractingProgram) {
  ScratchDir dir;
  WriteFile(dir / "SKY.devuza",
            CraftPackage("SKY", {{"", "SKY.3da", "mesh"}, {"Parts", "p", "p"}}));
  const ProgramRun plain = Inspect(dir, dir / "SKY.devuza");
  EXPECT_EQ(plain.exit_code, 0) << plain.err;
  EXPECT_NE(plain.out.find("Car ID: SKY\nVersion: 1.0\nFlag: 0\nFile count: 2\n"
                           "Directory position: 31\nPackage length: 206\n"),
            std::string::npos)
      << plain.out;
  EXPECT_EQ(plain.out, ReportText(dir / "SKY.devuza"));

  const std::vector<std::uint8_t> extractor(64, 0x90);
  ASSERT_TRUE(WriteSFXPackage(dir / "SKY.exe", dir / "SKY.devuza", false, extractor));
  const ProgramRun sfx = Inspect(dir, dir / "SKY.exe");
  EXPECT_EQ(sfx.exit_code, 0) << sfx.err;
  EXPECT_NE(sfx.out.find("self-extracting program, package at byte offset 64"), std::string::npos);
  EXPECT_EQ(sfx.out, ReportText(dir / "SKY.exe"));
}

TEST(CarwrightInspect, ExitsWith1AndTheLayerErrorForANonPackage) {
  ScratchDir dir;
  WriteFile(dir / "notes.txt", "plain text, not a package at all");
  const ProgramRun run = Inspect(dir, dir / "notes.txt");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("No DEVUZA File!"), std::string::npos) << run.err;

  WriteFile(dir / "evil.devuza", CraftPackage("SKY", {{"..", "x", "x"}}));
  const ProgramRun evil = Inspect(dir, dir / "evil.devuza");
  EXPECT_EQ(evil.exit_code, 1);
  EXPECT_NE(evil.out.find("Refused entries:"), std::string::npos);
}

TEST(CarwrightInspect, RefusesAFifoOrADeviceWithoutWaiting) {
  ScratchDir dir;
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  const ProgramRun fifo = Inspect(dir, dir / "pipe");
  EXPECT_EQ(fifo.exit_code, 1);
  EXPECT_NE(fifo.err.find("is a FIFO (named pipe), not a regular file"), std::string::npos)
      << fifo.err;
  const ProgramRun device = Inspect(dir, "/dev/zero");
  EXPECT_EQ(device.exit_code, 1);
  EXPECT_NE(device.err.find("is a device, not a regular file"), std::string::npos) << device.err;
}

}  // namespace
}  // namespace devuza

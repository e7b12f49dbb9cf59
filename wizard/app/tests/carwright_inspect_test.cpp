// `carwright inspect`, run as a user runs it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "devuza/inspect.h"
#include "devuza/sfx.h"
#include "package_test_support.h"
#include "test_support/program_run.h"

namespace devuza {
namespace {

using testing::CraftPackage;
using testing::ScratchFolder;
using testing::WriteFile;

using gm_test::ProgramRun;

ProgramRun Inspect(const std::filesystem::path& file) {
  return gm_test::RunProgram(CARWRIGHT_PATH, {"inspect", file.string()});
}

// The library's report of `file`, which the program prints unchanged.
std::string ReportText(const std::filesystem::path& file) {
  PackageReport report;
  std::string error;
  EXPECT_TRUE(InspectPackage(file, report, error)) << error;
  return FormatInspectReport(report);
}

TEST(CarwrightInspect, PrintsHeaderAndDirectoryOfAPackageAndOfASelfExtractingProgram) {
  ScratchFolder dir;
  WriteFile(dir / "SKY.devuza",
            CraftPackage("SKY", {{"", "SKY.3da", "mesh"}, {"Parts", "p", "p"}}));
  const ProgramRun plain = Inspect(dir / "SKY.devuza");
  EXPECT_EQ(plain.exit_code, 0) << plain.err;
  EXPECT_NE(plain.out.find("Car ID: SKY\nVersion: 1.0\nFlag: 0\nFile count: 2\n"
                           "Directory position: 31\nPackage length: 206\n"),
            std::string::npos)
      << plain.out;
  EXPECT_EQ(plain.out, ReportText(dir / "SKY.devuza"));

  const std::vector<std::uint8_t> extractor(64, 0x90);
  ASSERT_TRUE(WriteSFXPackage(dir / "SKY.exe", dir / "SKY.devuza", false, extractor));
  const ProgramRun sfx = Inspect(dir / "SKY.exe");
  EXPECT_EQ(sfx.exit_code, 0) << sfx.err;
  EXPECT_NE(sfx.out.find("self-extracting program, package at byte offset 64"), std::string::npos);
  EXPECT_EQ(sfx.out, ReportText(dir / "SKY.exe"));
}

TEST(CarwrightInspect, ExitsWith1AndTheLayerErrorForANonPackage) {
  ScratchFolder dir;
  WriteFile(dir / "notes.txt", "plain text, not a package at all");
  const ProgramRun run = Inspect(dir / "notes.txt");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("No DEVUZA File!"), std::string::npos) << run.err;

  WriteFile(dir / "evil.devuza", CraftPackage("SKY", {{"..", "x", "x"}}));
  const ProgramRun evil = Inspect(dir / "evil.devuza");
  EXPECT_EQ(evil.exit_code, 1);
  EXPECT_NE(evil.out.find("Refused entries:"), std::string::npos);
}

// FIFOs and /dev are POSIX's.
#if !defined(_WIN32)
TEST(CarwrightInspect, RefusesAFifoOrADeviceWithoutWaiting) {
  ScratchFolder dir;
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  const ProgramRun fifo = Inspect(dir / "pipe");
  EXPECT_EQ(fifo.exit_code, 1);
  EXPECT_NE(fifo.err.find("is a FIFO (named pipe), not a regular file"), std::string::npos)
      << fifo.err;
  const ProgramRun device = Inspect("/dev/zero");
  EXPECT_EQ(device.exit_code, 1);
  EXPECT_NE(device.err.find("is a device, not a regular file"), std::string::npos) << device.err;
}
#endif

}  // namespace
}  // namespace devuza

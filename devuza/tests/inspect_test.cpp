#include <gtest/gtest.h>

#include "devuza/inspect.h"
#include "devuza/sfx.h"
#include "package_test_support.h"

namespace devuza {
namespace {

using testing::CraftPackage;
using testing::ScratchFolder;
using testing::WriteFile;

TEST(InspectReport, ShowsHeaderAndDirectoryOfAPackage) {
  ScratchFolder dir;
  WriteFile(
      dir / "SKY.devuza",
      CraftPackage("SKY", {{"", "a.dds", "AAAAA"}, {"", "b.mat", "BBB"}, {"P", "c.3da", "C"}}));
  PackageReport report;
  std::string error;
  ASSERT_TRUE(InspectPackage(dir / "SKY.devuza", report, error)) << error;
  EXPECT_TRUE(ReportIsSound(report));
  const std::string expected = "File: " + (dir / "SKY.devuza").string() +
                               "\n"
                               "Kind: DEVUZA package\n"
                               "Car ID: SKY\n"
                               "Version: 1.0\n"
                               "Flag: 0\n"
                               "File count: 3\n"
                               "Directory position: 35\n"
                               "Package length: 298\n"
                               "Data length: 9\n"
                               "\n"
                               "Folder          File         Size    Position\n"
                               ".               a.dds           5          26\n"
                               ".               b.mat           3          31\n"
                               "P               c.3da           1          34\n";
  EXPECT_EQ(FormatInspectReport(report), expected);
}

TEST(InspectReport, FindsThePackageInASelfExtractingProgram) {
  ScratchFolder dir;
  WriteFile(dir / "p.devuza", CraftPackage("AB1", {{"", "x", "x"}}));
  const std::vector<std::uint8_t> extractor(500, 0x4D);
  ASSERT_TRUE(WriteSFXPackage(dir / "p.exe", dir / "p.devuza", false, extractor));
  PackageReport report;
  std::string error;
  ASSERT_TRUE(InspectPackage(dir / "p.exe", report, error)) << error;
  EXPECT_TRUE(report.self_extracting);
  const std::string text = FormatInspectReport(report);
  EXPECT_NE(text.find("Kind: self-extracting program, package at byte offset 500\n"),
            std::string::npos);
  EXPECT_NE(text.find("Car ID: AB1\n"), std::string::npos);
}

TEST(InspectReport, GivesTheLayerErrorForAFileThatIsNoPackage) {
  ScratchFolder dir;
  WriteFile(dir / "notes.txt", "just some text that is long enough to have a trailer");
  std::string bytes = CraftPackage("SKY", {{"", "x", "x"}});
  bytes[8] = 0x01;  // version 1.0000001
  WriteFile(dir / "v.devuza", bytes);
  PackageReport report;
  std::string error;
  EXPECT_FALSE(InspectPackage(dir / "notes.txt", report, error));
  EXPECT_EQ(error, "No DEVUZA File!");
  EXPECT_FALSE(InspectPackage(dir / "v.devuza", report, error));
  EXPECT_EQ(error, "Wrong DEVUZA version");
}

TEST(InspectReport, RefusesAFileAndAFolderThatTakeOneNameWithoutRegardToCase) {
  ScratchFolder dir;
  WriteFile(dir / "a.devuza", CraftPackage("SKY", {{"", "Extra", "e"},
                                                   {"", "b.dds", "b"},
                                                   {"EXTRA", "x.dds", "x"},
                                                   {"EXTRA", "y.dds", "y"}}));
  WriteFile(dir / "b.devuza", CraftPackage("SKY", {{"Parts", "p.3da", "p"}, {"", "PARTS", "f"}}));
  PackageReport report;
  std::string error;
  ASSERT_TRUE(InspectPackage(dir / "a.devuza", report, error)) << error;
  EXPECT_FALSE(ReportIsSound(report));
  ASSERT_EQ(report.problems.size(), 4u);
  EXPECT_EQ(report.problems[0], "");
  EXPECT_EQ(report.problems[1], "");
  EXPECT_EQ(report.problems[2],
            "Entry 3 (folder \"EXTRA\", file \"x.dds\"): the folder \"EXTRA\" takes the name of "
            "the file \"Extra\" of entry 1 (names are compared without regard to case, as "
            "Windows does)");
  EXPECT_NE(report.problems[3].find("Entry 4"), std::string::npos);
  EXPECT_NE(FormatInspectReport(report).find("Refused entries:\n  Entry 3"), std::string::npos);

  ASSERT_TRUE(InspectPackage(dir / "b.devuza", report, error)) << error;
  EXPECT_EQ(report.problems[0], "");
  EXPECT_NE(report.problems[1].find("the file \"PARTS\" takes the name of the folder \"Parts\" "
                                    "of entry 1"),
            std::string::npos)
      << report.problems[1];
}

TEST(InspectReport, PrintsHostileNamesEscapedAndListsTheirProblems) {
  ScratchFolder dir;
  WriteFile(dir / "h.devuza",
            CraftPackage("SKY", {{"", "ok.txt", "o"}, {"..", std::string("bad\x1b[2J"), "b"}}));
  PackageReport report;
  std::string error;
  ASSERT_TRUE(InspectPackage(dir / "h.devuza", report, error)) << error;
  EXPECT_FALSE(ReportIsSound(report));
  const std::string text = FormatInspectReport(report);
  EXPECT_EQ(text.find('\x1b'), std::string::npos);
  EXPECT_NE(text.find("bad\\x1B[2J"), std::string::npos);
  EXPECT_NE(text.find("Refused entries:\n  Entry 2"), std::string::npos);
}

}  // namespace
}  // namespace devuza

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>

#include "devuza/package.h"
#include "package_io.h"
#include "package_test_support.h"

namespace devuza {
namespace {

using testing::CraftedFile;
using testing::CraftPackage;
using testing::EntryOffset;
using testing::ListTree;
using testing::PatchInt16;
using testing::PatchInt32;
using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

// A sandbox with the package, an empty "dest" to extract into and a file
// "outside" that nothing may touch.
class HostilePackage : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(sandbox_ / "dest");
    WriteFile(sandbox_ / "outside", "untouched");
  }

  // Makes a symbolic link. False on Windows when the user may not make one
  // (it takes a privilege or developer mode there; Wine has none at all).
  static bool MakeLink(const std::filesystem::path& target, const std::filesystem::path& link,
                       bool folder) {
    std::error_code error;
    if (folder) {
      std::filesystem::create_directory_symlink(target, link, error);
    } else {
      std::filesystem::create_symlink(target, link, error);
    }
#ifndef _WIN32
    if (error) throw std::filesystem::filesystem_error("cannot make a link", target, link, error);
#endif
    return !error;
  }
  static constexpr const char* kNoLinks = "this user cannot make symbolic links here";

  // Writes `bytes` as the package, opens it in `mode` and extracts it into
  // dest. Returns whether the extraction succeeded.
  bool Extract(const std::string& bytes, PackageMode mode = PackageMode::kReadFile) {
    WriteFile(sandbox_ / "pkg", bytes);
    bool extracted = false;
    if (OpenPackage(package_, mode, sandbox_ / "pkg")) {
      extracted = ExtractPackage(package_, sandbox_ / "dest");
      ClosePackage(package_);
    }
    return extracted;
  }

  // Everything in the sandbox lies in dest, apart from the package and
  // "outside", which holds what it held.
  void ExpectNothingOutsideDest() {
    for (const std::string& name : ListTree(sandbox_.path())) {
      EXPECT_TRUE(name == "pkg" || name == "outside" || name == "dest" ||
                  name.starts_with("dest/") || name.starts_with("elsewhere"))
          << name;
    }
    EXPECT_EQ(ReadFile(sandbox_ / "outside"), "untouched");
  }

  ScratchFolder sandbox_;
  Package package_;
};

struct BadName {
  const char* label;
  std::string name;
};

const std::vector<BadName>& BadNames() {
  static const std::vector<BadName> names = {
      {"parent", ".."},
      {"dot", "."},
      {"parent path", "../outside"},
      {"back parent path", "..\\outside"},
      {"slash", "a/b"},
      {"backslash", "a\\b"},
      {"drive", "C:"},
      {"drive relative", "C:outside"},
      {"absolute", "/tmp/outside"},
      {"unc", "\\\\server\\share"},
      {"stream", "x.dds:hidden"},
      {"control", std::string("a\x01z")},
      {"nul byte", std::string("a\0z", 3)},
      {"trailing dot", "x.dds."},
      {"trailing blank in folder", "x "},
      {"device", "CON"},
      {"device lower with extension", "con.txt"},
      {"device mixed", "Lpt9.dat"},
      {"device port", "com1"},
      {"device blank before extension", "AUX .mat"},
      {"device nul", "nul"},
      {"device prn", "PrN.3da"},
  };
  return names;
}

TEST_F(HostilePackage, RefusesUnsafeFileNamesBeforeWritingAnything) {
  for (const BadName& bad : BadNames()) {
    if (bad.name.back() == ' ') continue;  // the name field drops trailing blanks
    SCOPED_TRACE(bad.label);
    EXPECT_FALSE(Extract(CraftPackage("SKY", {{"", "first.txt", "1"}, {"", bad.name, "evil"}})));
    EXPECT_EQ(package_.error_code, PackageErrorCode::kBadEntry);
    EXPECT_NE(LastPackageError(package_).find("Entry 2"), std::string::npos)
        << LastPackageError(package_);
    // The sound first entry is not written either.
    EXPECT_TRUE(ListTree(sandbox_ / "dest").empty());
    ExpectNothingOutsideDest();
  }
}

TEST_F(HostilePackage, RefusesUnsafeFolderNames) {
  for (const BadName& bad : BadNames()) {
    // A NUL ends the folder field, and 16 characters leave no room for it.
    if (bad.name.size() >= 16 || bad.name.find('\0') != std::string::npos) continue;
    SCOPED_TRACE(bad.label);
    EXPECT_FALSE(Extract(CraftPackage("SKY", {{bad.name, "evil.txt", "evil"}})));
    EXPECT_EQ(package_.error_code, PackageErrorCode::kBadEntry);
    EXPECT_NE(LastPackageError(package_).find("folder name"), std::string::npos);
    EXPECT_TRUE(ListTree(sandbox_ / "dest").empty());
    ExpectNothingOutsideDest();
  }
}

TEST_F(HostilePackage, RefusesAnEmptyFileNameAndAFolderFieldWithoutNul) {
  EXPECT_FALSE(Extract(CraftPackage("SKY", {{"", "", "x"}})));
  EXPECT_NE(LastPackageError(package_).find("is empty"), std::string::npos);
  EXPECT_FALSE(Extract(CraftPackage("SKY", {{"ABCDEFGHIJKLMNOP", "x.txt", "x"}})));
  EXPECT_NE(LastPackageError(package_).find("no NUL"), std::string::npos);
  EXPECT_TRUE(ListTree(sandbox_ / "dest").empty());
  ExpectNothingOutsideDest();
}

TEST_F(HostilePackage, RefusesDataOutsideThePackageWithoutOverflow) {
  const std::vector<CraftedFile> files = {{"", "a.txt", "aaaa"}, {"", "b.txt", "bb"}};
  const std::size_t second = EntryOffset(6, 1);
  const std::vector<std::pair<std::int32_t, std::int32_t>> bad = {
      {3, 0x7FFFFFFF},           // position far past the end
      {0x7FFFFFFF, 30},          // size far past the end
      {0x7FFFFFF0, 0x7FFFFFF0},  // their sum overflows 32 bits
      {-1, 30},                  // negative size
      {2, -5},                   // negative position
      {2, 0},                    // position 0
      {2, 10},                   // data inside the header
      {3, 30},                   // runs into the directory
  };
  for (const auto& [size, position] : bad) {
    SCOPED_TRACE(std::to_string(size) + " at " + std::to_string(position));
    std::string bytes = CraftPackage("SKY", files);
    PatchInt32(bytes, second, size);
    PatchInt32(bytes, second + 4, position);
    EXPECT_FALSE(Extract(bytes));
    EXPECT_EQ(package_.error_code, PackageErrorCode::kBadEntry);
    EXPECT_NE(LastPackageError(package_).find("Entry 2"), std::string::npos);
    EXPECT_TRUE(ListTree(sandbox_ / "dest").empty());
    ExpectNothingOutsideDest();
  }
}

TEST_F(HostilePackage, RefusesADirectoryThatDoesNotFitTheFile) {
  const std::vector<CraftedFile> files = {{"", "a.txt", "aaaa"}};
  for (const auto& [count, position] : std::vector<std::pair<std::int16_t, std::int32_t>>{
           {2, 30}, {32767, 30}, {-1, 30}, {1, 0x7FFFFFFF}, {1, -30}, {1, 0}, {1, 5}}) {
    SCOPED_TRACE(std::to_string(count) + " at " + std::to_string(position));
    std::string bytes = CraftPackage("SKY", files);
    PatchInt16(bytes, testing::kCountOffset, count);
    PatchInt32(bytes, testing::kDirectoryOffset, position);
    EXPECT_FALSE(Extract(bytes));
    EXPECT_EQ(package_.error_code, PackageErrorCode::kBadDirectory);
    EXPECT_TRUE(ListTree(sandbox_ / "dest").empty());
  }
}

TEST_F(HostilePackage, RefusesATrailerPointingOutsideTheFileOrIntoItself) {
  const std::string package = CraftPackage("SKY", {{"", "a.txt", "a"}});
  const std::string extractor(100, 'X');
  const auto size = static_cast<std::int32_t>(extractor.size() + package.size() + 4);
  for (const std::int32_t position :
       {0, -1, size + 1, size, size - 3, size - 20, std::numeric_limits<std::int32_t>::min()}) {
    SCOPED_TRACE(position);
    std::string bytes = extractor + package + "TRLR";
    PatchInt32(bytes, bytes.size() - 4, position);
    EXPECT_FALSE(Extract(bytes, PackageMode::kReadSfx));
    EXPECT_EQ(LastPackageError(package_), "No DEVUZA File!");
  }
  std::string good = extractor + package + "TRLR";
  PatchInt32(good, good.size() - 4, 101);
  EXPECT_TRUE(Extract(good, PackageMode::kReadSfx)) << LastPackageError(package_);
  EXPECT_EQ(ReadFile(sandbox_ / "dest" / "a.txt"), "a");
}

TEST_F(HostilePackage, RefusesACarIdThatCannotNameAFolder) {
  for (const char* id : {"../", "a/b", "CON", "nul", "   ", "X:Y", "AB."}) {
    SCOPED_TRACE(id);
    WriteFile(sandbox_ / "pkg", CraftPackage(id, {{"", "a.txt", "a"}}));
    EXPECT_FALSE(ReadPackageHeader(package_, sandbox_ / "pkg", PackageMode::kReadFile));
    EXPECT_EQ(package_.error_code, PackageErrorCode::kBadCarId);
  }
}

TEST_F(HostilePackage, RefusesAFolderLinkLeadingOutsideTheDestination) {
  std::filesystem::create_directories(sandbox_ / "elsewhere");
  if (!MakeLink(sandbox_ / "elsewhere", sandbox_ / "dest" / "parts", true))
    GTEST_SKIP() << kNoLinks;
  EXPECT_FALSE(Extract(CraftPackage("SKY", {{"", "a.txt", "a"}, {"Parts", "x.3da", "evil"}})));
  EXPECT_EQ(package_.error_code, PackageErrorCode::kUnsafeTarget);
  EXPECT_NE(LastPackageError(package_).find("Entry 2"), std::string::npos);
  EXPECT_TRUE(ListTree(sandbox_ / "elsewhere").empty());
  EXPECT_FALSE(std::filesystem::exists(sandbox_ / "dest" / "a.txt"));  // nothing written
  ExpectNothingOutsideDest();
}

TEST_F(HostilePackage, RefusesADanglingFolderLink) {
  if (!MakeLink(sandbox_ / "elsewhere", sandbox_ / "dest" / "Parts", true))
    GTEST_SKIP() << kNoLinks;
  EXPECT_FALSE(Extract(CraftPackage("SKY", {{"Parts", "x.3da", "evil"}})));
  EXPECT_EQ(package_.error_code, PackageErrorCode::kUnsafeTarget);
  EXPECT_FALSE(std::filesystem::exists(sandbox_ / "elsewhere"));
  ExpectNothingOutsideDest();
}

TEST_F(HostilePackage, FollowsAFolderLinkThatStaysInside) {
  std::filesystem::create_directories(sandbox_ / "dest" / "Real");
  if (!MakeLink("Real", sandbox_ / "dest" / "Alias", true)) GTEST_SKIP() << kNoLinks;
  EXPECT_TRUE(Extract(CraftPackage("SKY", {{"Alias", "x.3da", "ok"}})));
  EXPECT_EQ(ReadFile(sandbox_ / "dest" / "Real" / "x.3da"), "ok");
}

TEST_F(HostilePackage, RefusesAFileAndAFolderOfOneNameBeforeWritingAnything) {
  std::vector<CraftedFile> files;
  for (int i = 0; i < 46; ++i) files.push_back({"", "f" + std::to_string(i), "f"});
  files.push_back({"", "Extra", "file"});
  for (int i = 0; i < 15; ++i) files.push_back({"P", "p" + std::to_string(i), "p"});
  files.push_back({"EXTRA", "x.dds", "x"});
  EXPECT_FALSE(Extract(CraftPackage("SKY", files)));
  EXPECT_EQ(package_.error_code, PackageErrorCode::kBadEntry);
  EXPECT_NE(LastPackageError(package_).find("Entry 63"), std::string::npos)
      << LastPackageError(package_);
  EXPECT_TRUE(ListTree(sandbox_ / "dest").empty());

  // Into a folder that does not exist yet: not even the folder is made.
  WriteFile(sandbox_ / "pkg", CraftPackage("SKY", files));
  ASSERT_TRUE(OpenPackage(package_, PackageMode::kReadFile, sandbox_ / "pkg"));
  EXPECT_FALSE(ExtractPackage(package_, sandbox_ / "dest" / "SKY"));
  EXPECT_TRUE(ListTree(sandbox_ / "dest").empty());
}

TEST_F(HostilePackage, RefusesWhatTheDestinationHoldsInTheWayBeforeWritingAnything) {
  // A file where a folder must go, then a folder where a file must go.
  WriteFile(sandbox_ / "dest" / "parts", "a user's file");
  EXPECT_FALSE(Extract(CraftPackage("SKY", {{"", "a.dds", "a"}, {"Parts", "p.3da", "p"}})));
  EXPECT_NE(LastPackageError(package_).find("Entry 2"), std::string::npos);
  EXPECT_NE(LastPackageError(package_).find("a file of that name exists"), std::string::npos);
  EXPECT_EQ(ListTree(sandbox_ / "dest"), std::vector<std::string>{"parts"});
  EXPECT_EQ(ReadFile(sandbox_ / "dest" / "parts"), "a user's file");

  std::filesystem::remove(sandbox_ / "dest" / "parts");
  std::filesystem::create_directories(sandbox_ / "dest" / "W" / "B.DDS");
  EXPECT_FALSE(Extract(CraftPackage("SKY", {{"W", "a.dds", "a"}, {"w", "b.dds", "b"}})));
  EXPECT_NE(LastPackageError(package_).find("Entry 2"), std::string::npos);
  EXPECT_NE(LastPackageError(package_).find("a folder of that name exists"), std::string::npos);
  EXPECT_EQ(ListTree(sandbox_ / "dest"), (std::vector<std::string>{"W/", "W/B.DDS/"}));
  ExpectNothingOutsideDest();
}

TEST_F(HostilePackage, TemporaryFilesNeverTakeThePlaceOfAnEntryOrAUsersFile) {
  // An entry named like an older temporary file, then the entry it belonged to.
  EXPECT_TRUE(Extract(CraftPackage("SKY", {{"", "x.devuza-part", "first"}, {"", "x", "second"}})))
      << LastPackageError(package_);
  EXPECT_EQ(ReadFile(sandbox_ / "dest" / "x.devuza-part"), "first");
  EXPECT_EQ(ReadFile(sandbox_ / "dest" / "x"), "second");

  // A user's own files beside the car's, named like temporary files.
  std::filesystem::create_directories(sandbox_ / "dest" / "P");
  WriteFile(sandbox_ / "dest" / "P" / "a.txt.devuza-part", "mine");
  WriteFile(sandbox_ / "dest" / "P" / "a.txt.part", "mine too");
  EXPECT_TRUE(Extract(CraftPackage("SKY", {{"P", "a.txt", "packed"}})));
  EXPECT_EQ(ReadFile(sandbox_ / "dest" / "P" / "a.txt"), "packed");
  EXPECT_EQ(ReadFile(sandbox_ / "dest" / "P" / "a.txt.devuza-part"), "mine");
  EXPECT_EQ(ReadFile(sandbox_ / "dest" / "P" / "a.txt.part"), "mine too");
  // No temporary file is left behind.
  EXPECT_EQ(ListTree(sandbox_ / "dest"),
            (std::vector<std::string>{"P/", "P/a.txt", "P/a.txt.devuza-part", "P/a.txt.part", "x",
                                      "x.devuza-part"}));
}

TEST_F(HostilePackage, ReplacesAFileLinkInsteadOfWritingThroughIt) {
  if (!MakeLink(sandbox_ / "outside", sandbox_ / "dest" / "a.txt", false)) GTEST_SKIP() << kNoLinks;
  EXPECT_TRUE(Extract(CraftPackage("SKY", {{"", "a.txt", "packed"}})));
  EXPECT_FALSE(std::filesystem::is_symlink(sandbox_ / "dest" / "a.txt"));
  EXPECT_EQ(ReadFile(sandbox_ / "dest" / "a.txt"), "packed");
  ExpectNothingOutsideDest();
}

TEST(PackageFiles, AnExclusiveCreateNeverEmptiesAFileThatExists) {
  ScratchFolder dir;
  WriteFile(dir / "mine.dds", "the user's");
  errno = 0;
  std::FILE* file = detail::OpenFile(dir / "mine.dds", "wbx");
  EXPECT_EQ(file, nullptr);
  EXPECT_EQ(errno, EEXIST);
  if (file != nullptr) std::fclose(file);
  EXPECT_EQ(ReadFile(dir / "mine.dds"), "the user's");

  file = detail::OpenFile(dir / "new.dds", "wbx");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(std::fwrite("new", 1, 3, file), 3u);
  std::fclose(file);
  EXPECT_EQ(ReadFile(dir / "new.dds"), "new");
}

}  // namespace
}  // namespace devuza

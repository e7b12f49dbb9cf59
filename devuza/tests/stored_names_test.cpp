#include "devuza/stored_names.h"

#include <gtest/gtest.h>

#include "devuza/package.h"
#include "package_test_support.h"

namespace devuza {
namespace {

using testing::ListTree;
using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;
using wizard::CodePage;

TEST(StoredNames, ConvertsBetweenUtf8AndTheGamesCodePage) {
  EXPECT_EQ(StoredName("SKY_Body.mat", CodePage::kWindows1252), "SKY_Body.mat");
  EXPECT_EQ(StoredName("\u00e9t\u00e9.dds", CodePage::kWindows1252), "\xE9t\xE9.dds");
  EXPECT_EQ(StoredName("\u0141\u00f3d\u017a.dds", CodePage::kWindows1250),
            "\xA3\xF3"
            "d\x9F.dds");
  EXPECT_EQ(StoredName("\u0141\u00f3d\u017a.dds", CodePage::kWindows1252), std::nullopt);
  EXPECT_EQ(StoredName("bad\xE9.dds", CodePage::kWindows1252), std::nullopt);  // not UTF-8
  EXPECT_EQ(DiskName("\xE9t\xE9.dds", CodePage::kWindows1252), "\u00e9t\u00e9.dds");
  EXPECT_EQ(DiskName("\x81.dds", CodePage::kWindows1252), std::nullopt);
  EXPECT_EQ(DiskName("\x98.dds", CodePage::kWindows1250), std::nullopt);
}

struct NamedFile {
  std::string folder;  // UTF-8, empty for the car's folder
  std::string name;    // UTF-8
  std::string stored_folder;
  std::string stored_name;
};

// Packs a car folder holding `files` with `code_page`, checks the bytes
// stored for each name, then extracts it and compares the trees.
void ExpectRoundTrip(CodePage code_page, const std::vector<NamedFile>& files) {
  ScratchFolder dir;
  const auto car = dir / "car";
  for (const NamedFile& file : files) {
    const auto folder =
        car / std::filesystem::path(std::u8string(file.folder.begin(), file.folder.end()));
    std::filesystem::create_directories(folder);
    WriteFile(folder / std::filesystem::path(std::u8string(file.name.begin(), file.name.end())),
              "data of " + file.name);
  }
  Package package;
  package.code_page = code_page;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "p.devuza", "AB1"));
  ASSERT_TRUE(AddCarFolder(package, car, "")) << LastPackageError(package);
  ASSERT_TRUE(ClosePackage(package));
  ASSERT_EQ(package.entries.size(), files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(EntryFolder(package.entries[i]), files[i].stored_folder);
    EXPECT_EQ(EntryName(package.entries[i]), files[i].stored_name);
  }

  Package reader;
  reader.code_page = code_page;
  ASSERT_TRUE(OpenPackage(reader, PackageMode::kReadFile, dir / "p.devuza"));
  ASSERT_TRUE(ExtractPackage(reader, dir / "out")) << LastPackageError(reader);
  EXPECT_EQ(ListTree(dir / "out"), ListTree(car));
  for (const NamedFile& file : files) {
    const std::string path = (file.folder.empty() ? "" : file.folder + "/") + file.name;
    EXPECT_EQ(
        ReadFile(dir / "out" / std::filesystem::path(std::u8string(path.begin(), path.end()))),
        "data of " + file.name);
  }
}

TEST(StoredNames, WesternNamesRoundTripThroughWindows1252) {
  // Files of the car's folder first, then each folder, names in upper-cased
  // byte order of their UTF-8 spelling.
  ExpectRoundTrip(CodePage::kWindows1252,
                  {{"", "Caf\u00e9_\u00c6r\u00f8.mat", "", "Caf\xE9_\xC6r\xF8.mat"},
                   {"", "\u00d1and\u00fa\u20ac.3da", "",
                    "\xD1"
                    "and\xFA\x80.3da"},
                   {"", "\u00e9t\u00e9.dds", "", "\xE9t\xE9.dds"},
                   {"Pi\u00e8ces", "\u00d6l_\u00df.skn",
                    "Pi\xE8"
                    "ces",
                    "\xD6l_\xDF.skn"}});
}

TEST(StoredNames, PolishNamesRoundTripThroughWindows1250) {
  ExpectRoundTrip(CodePage::kWindows1250,
                  {{"", "\u0141\u00f3d\u017a_\u017c\u00f3\u0142\u0107.dds", "",
                    "\xA3\xF3"
                    "d\x9F_\xBF\xF3\xB3\xE6.dds"},
                   {"Cz\u0119\u015bci", "Zaj\u0105c_\u015a\u0144.3da",
                    "Cz\xEA\x9C"
                    "ci",
                    "Zaj\xB9"
                    "c_\x8C\xF1.3da"}});
}

TEST(StoredNames, RefusesNamesTheCodePageCannotHoldAndCountsItsBytes) {
  ScratchFolder dir;
  WriteFile(dir / "f", "f");
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "p.devuza", "AB1"));
  EXPECT_FALSE(AddPackageFile(package, dir / "f", "", "\u0141\u00f3d\u017a.dds"));
  EXPECT_EQ(package.error_code, PackageErrorCode::kBadEntry);
  EXPECT_NE(
      LastPackageError(package).find("cannot be written in Windows-1252, the game's code page"),
      std::string::npos)
      << LastPackageError(package);
  EXPECT_FALSE(AddPackageFile(package, dir / "f", "\u65e5", "a.dds"));
  EXPECT_NE(LastPackageError(package).find("folder name"), std::string::npos);

  // 64 characters of two UTF-8 bytes each fill the field; 65 do not. The
  // folder field holds 15 characters.
  std::string e64;
  for (int i = 0; i < 64; ++i) e64 += "\u00e9";
  EXPECT_TRUE(AddPackageFile(package, dir / "f", "", e64)) << LastPackageError(package);
  EXPECT_EQ(EntryName(package.entries.back()), std::string(64, '\xE9'));
  EXPECT_FALSE(AddPackageFile(package, dir / "f", "", e64 + "\u00e9"));
  EXPECT_EQ(package.error_code, PackageErrorCode::kNameTooLong);
  EXPECT_TRUE(AddPackageFile(package, dir / "f", e64.substr(0, 30), "b.dds"));
  EXPECT_FALSE(AddPackageFile(package, dir / "f", e64.substr(0, 32), "b.dds"));
  EXPECT_EQ(package.error_code, PackageErrorCode::kNameTooLong);
  EXPECT_TRUE(ClosePackage(package));
}

TEST(StoredNames, ReaderRefusesBytesTheCodePageLeavesUndefined) {
  ScratchFolder dir;
  WriteFile(dir / "p.devuza",
            testing::CraftPackage(
                "AB1", {{"", "ok.dds", "o"}, {"", "bad\x81.dds", "b"}, {"x\x81", "c.dds", "c"}}));
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kReadFile, dir / "p.devuza"));
  ASSERT_TRUE(ReadDirectory(package));
  EXPECT_EQ(EntryProblem(package, 0), "");
  EXPECT_NE(EntryProblem(package, 1)
                .find("the file name holds a byte that Windows-1252, the game's code page, does "
                      "not define"),
            std::string::npos)
      << EntryProblem(package, 1);
  EXPECT_NE(EntryProblem(package, 2).find("the folder name holds a byte"), std::string::npos);
  EXPECT_FALSE(ExtractPackage(package, dir / "out"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

}  // namespace
}  // namespace devuza

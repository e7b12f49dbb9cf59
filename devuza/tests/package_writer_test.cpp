#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "devuza/package.h"
#include "package_test_support.h"

namespace devuza {
namespace {

using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

std::string Padded(std::string text, std::size_t width) {
  text.resize(width, ' ');
  return text;
}

// The names directly in `dir`, sorted (a folder's without its trailing "/").
std::vector<std::string> TopLevelNames(const std::filesystem::path& dir) {
  std::vector<std::string> names;
  for (std::string name : testing::ListTree(dir)) {
    if (!name.empty() && name.back() == '/') name.pop_back();
    if (name.find('/') == std::string::npos) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Packs `folder` into `out` the way the operation runner does.
bool Pack(Package& package, const std::filesystem::path& folder, const std::filesystem::path& out,
          std::string_view car_id = "SKY") {
  return OpenPackage(package, PackageMode::kWrite, out, car_id) &&
         AddCarFolder(package, folder, "") && ClosePackage(package);
}

TEST(PackageWriter, LaysOutFilesThenSubFolderByteForByte) {
  ScratchFolder dir;
  const auto car = dir / "SKY";
  std::filesystem::create_directories(car / "P");
  WriteFile(car / "a.dds", "AAAAA");
  WriteFile(car / "b.mat", "BBB");
  WriteFile(car / "P" / "c.3da", "CCCCCCC");

  Package package;
  ASSERT_TRUE(Pack(package, car, dir / "SKY.devuza")) << LastPackageError(package);

  // Positions 26, 26 + 5, 26 + 5 + 3; directory at 26 + 15; length 25 + 15 + 264.
  std::string expected = "DEVUZA";
  expected += std::string(
      "\x00\x00"
      "\x00\x00\x80\x3F"
      "\x03\x00",
      8);
  expected += std::string(
      "\x29\x00\x00\x00"
      "\x30\x01\x00\x00",
      8);
  expected += "SKY";
  expected += "AAAAABBBCCCCCCC";
  expected += std::string("\x05\x00\x00\x00\x1A\x00\x00\x00", 8) + std::string(1, '\0') +
              std::string(15, ' ') + Padded("a.dds", 64);
  expected += std::string("\x03\x00\x00\x00\x1F\x00\x00\x00", 8) + std::string(1, '\0') +
              std::string(15, ' ') + Padded("b.mat", 64);
  expected += std::string("\x07\x00\x00\x00\x22\x00\x00\x00", 8) + "P" + std::string(1, '\0') +
              std::string(14, ' ') + Padded("c.3da", 64);
  EXPECT_EQ(ReadFile(dir / "SKY.devuza"), expected);
  EXPECT_EQ(TopLevelNames(dir.path()), (std::vector<std::string>{"SKY", "SKY.devuza"}));
}

TEST(PackageWriter, StoresThreeCharacterIdAsIsAndCutsLongerOnes) {
  ScratchFolder dir;
  std::filesystem::create_directories(dir / "car");
  WriteFile(dir / "car" / "x.txt", "x");
  Package package;
  ASSERT_TRUE(Pack(package, dir / "car", dir / "a.devuza", "AB1"));
  EXPECT_EQ(ReadFile(dir / "a.devuza").substr(22, 3), "AB1");

  ASSERT_TRUE(Pack(package, dir / "car", dir / "b.devuza", "QRSTUVW"));
  const std::string bytes = ReadFile(dir / "b.devuza");
  EXPECT_EQ(bytes.substr(22, 3), "QRS");
  EXPECT_EQ(bytes.find("TUVW"), std::string::npos);

  ASSERT_TRUE(Pack(package, dir / "car", dir / "c.devuza", "AB"));
  EXPECT_EQ(ReadFile(dir / "c.devuza").substr(22, 3), "AB ");
}

TEST(PackageWriter, SkipsEmptyFiles) {
  ScratchFolder dir;
  std::filesystem::create_directories(dir / "car");
  WriteFile(dir / "car" / "empty.mat", "");
  WriteFile(dir / "car" / "full.mat", "data");
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "p.devuza", "SKY"));
  EXPECT_FALSE(AddPackageFile(package, dir / "car" / "empty.mat", "", "empty.mat"));
  EXPECT_EQ(LastPackageError(package), "");
  ASSERT_TRUE(AddCarFolder(package, dir / "car", ""));
  ASSERT_TRUE(ClosePackage(package));
  ASSERT_EQ(package.entries.size(), 1u);
  EXPECT_EQ(EntryName(package.entries[0]), "full.mat");
  EXPECT_EQ(ReadFile(dir / "p.devuza").size(), 25u + 4 + 88);
}

TEST(PackageWriter, OrdersEntriesByUpperCasedNameFilesBeforeFolders) {
  ScratchFolder dir;
  const auto car = dir / "car";
  for (const char* sub : {"wheels", "Parts", "SKY1"})
    std::filesystem::create_directories(car / sub);
  for (const char* name : {"_z.txt", "C.txt", "b.txt", "A.txt"}) WriteFile(car / name, name);
  WriteFile(car / "wheels" / "w.3da", "w");
  WriteFile(car / "Parts" / "p.3da", "p");
  WriteFile(car / "SKY1" / "s.dds", "s");
  Package package;
  ASSERT_TRUE(Pack(package, car, dir / "p.devuza"));
  std::vector<std::string> order;
  for (const DirectoryEntry& entry : package.entries) {
    order.push_back(*EntryFolder(entry) + "|" + EntryName(entry));
  }
  EXPECT_EQ(order, (std::vector<std::string>{"|A.txt", "|b.txt", "|C.txt", "|_z.txt", "Parts|p.3da",
                                             "SKY1|s.dds", "wheels|w.3da"}));
}

TEST(PackageWriter, StoresDeeperFilesUnderTheirOwnFolderName) {
  ScratchFolder dir;
  const auto car = dir / "car";
  std::filesystem::create_directories(car / "Parts" / "Extra");
  WriteFile(car / "Parts" / "p.3da", "p");
  WriteFile(car / "Parts" / "Extra" / "e.dds", "e");
  WriteFile(car / "z.txt", "z");
  Package package;
  ASSERT_TRUE(Pack(package, car, dir / "p.devuza"));
  ASSERT_EQ(package.entries.size(), 3u);
  EXPECT_EQ(*EntryFolder(package.entries[1]), "Parts");
  EXPECT_EQ(*EntryFolder(package.entries[2]), "Extra");
}

TEST(PackageWriter, RefusesTwoFilesThatWouldLandOnTheSameTarget) {
  ScratchFolder dir;
  const auto car = dir / "car";
  std::filesystem::create_directories(car / "A" / "Skins");
  std::filesystem::create_directories(car / "B" / "skins");
  WriteFile(car / "A" / "Skins" / "x.dds", "1");
  WriteFile(car / "B" / "skins" / "X.DDS", "2");
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "p.devuza", "SKY"));
  EXPECT_FALSE(AddCarFolder(package, car, ""));
  EXPECT_NE(LastPackageError(package).find("already holds"), std::string::npos);
  EXPECT_FALSE(ClosePackage(package));
  EXPECT_FALSE(std::filesystem::exists(dir / "p.devuza"));
}

TEST(PackageWriter, RefusesAFileAndAFolderThatWouldTakeOneNameWhenInstalled) {
  ScratchFolder dir;
  // A file of the car's folder and a sub-folder, and one two levels down
  // (stored with its own name, so it lands beside the file too). A Windows
  // folder cannot hold "Extra" and "EXTRA" at all.
#ifdef _WIN32
  for (const char* sub : {"Parts/extra"}) {
#else
  for (const char* sub : {"EXTRA", "Parts/extra"}) {
#endif
    SCOPED_TRACE(sub);
    const auto car = dir / "car";
    std::filesystem::remove_all(car);
    std::filesystem::create_directories(car / sub);
    WriteFile(car / "Extra", "file");
    WriteFile(car / sub / "x.dds", "x");
    Package package;
    ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "p.devuza", "SKY"));
    EXPECT_FALSE(AddCarFolder(package, car, ""));
    EXPECT_EQ(package.error_code, PackageErrorCode::kBadEntry);
    EXPECT_NE(LastPackageError(package).find("the file \"Extra\" of the car's folder and the "
                                             "folder \"" +
                                             std::filesystem::path(sub).filename().string() +
                                             "\" would take the same name"),
              std::string::npos)
        << LastPackageError(package);
    EXPECT_FALSE(ClosePackage(package));
    EXPECT_FALSE(std::filesystem::exists(dir / "p.devuza"));
  }
  // The same when the folder's file comes first.
  WriteFile(dir / "f", "f");
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "p.devuza", "SKY"));
  ASSERT_TRUE(AddPackageFile(package, dir / "f", "Wheels", "w.3da"));
  EXPECT_FALSE(AddPackageFile(package, dir / "f", "", "WHEELS"));
  EXPECT_NE(LastPackageError(package).find("folder \"Wheels\""), std::string::npos);
  // Names that only look alike are kept.
  EXPECT_TRUE(AddPackageFile(package, dir / "f", "", "Wheels.txt"));
  EXPECT_TRUE(AddPackageFile(package, dir / "f", "Wheels", "WHEELS"));

  // An empty file is not stored, so it takes no name.
  const auto car = dir / "car";
  std::filesystem::remove_all(car);
#ifdef _WIN32
  const auto folder = car / "Parts" / "extra";  // "EXTRA" cannot sit beside "Extra" there
#else
  const auto folder = car / "EXTRA";
#endif
  std::filesystem::create_directories(folder);
  WriteFile(car / "Extra", "");
  WriteFile(folder / "x.dds", "x");
  EXPECT_TRUE(Pack(package, car, dir / "q.devuza")) << LastPackageError(package);
}

TEST(PackageWriter, RefusesFolderNamesThatLeaveNoRoomForTheNul) {
  ScratchFolder dir;
  const auto car = dir / "car";
  const std::string fifteen = "ABCDEFGHIJKLMNO";
  std::filesystem::create_directories(car / fifteen);
  WriteFile(car / fifteen / "f.txt", "f");
  Package package;
  ASSERT_TRUE(Pack(package, car, dir / "ok.devuza"));
  EXPECT_EQ(std::string(package.entries[0].folder_field.data(), 16), fifteen + '\0');

  std::filesystem::create_directories(car / (fifteen + "P"));
  WriteFile(car / (fifteen + "P") / "g.txt", "g");
  WriteFile(dir / "old.devuza", "earlier package");
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "old.devuza", "SKY"));
  EXPECT_FALSE(AddCarFolder(package, car, ""));
  EXPECT_NE(LastPackageError(package).find("longer than 15"), std::string::npos);
  EXPECT_FALSE(ClosePackage(package));
  EXPECT_EQ(ReadFile(dir / "old.devuza"), "earlier package");
  EXPECT_EQ(TopLevelNames(dir.path()),
            (std::vector<std::string>{"car", "ok.devuza", "old.devuza"}));
}

TEST(PackageWriter, RefusesFileNamesLongerThanTheField) {
  ScratchFolder dir;
  WriteFile(dir / "f", "f");
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "p.devuza", "SKY"));
  EXPECT_TRUE(AddPackageFile(package, dir / "f", "", std::string(64, 'n')));
  EXPECT_FALSE(AddPackageFile(package, dir / "f", "", std::string(65, 'n')));
  EXPECT_EQ(package.error_code, PackageErrorCode::kNameTooLong);
  EXPECT_FALSE(AddPackageFile(package, dir / "f", "", "con.txt"));
  EXPECT_EQ(package.error_code, PackageErrorCode::kBadEntry);
  // A refused single file leaves the package usable.
  ASSERT_TRUE(ClosePackage(package));
  EXPECT_EQ(package.entries.size(), 1u);
}

TEST(PackageWriter, RefusesAFileThatWouldOutgrowTheSigned32BitFields) {
  ScratchFolder dir;
  WriteFile(dir / "small", "s");
  // Sparse: refused before a byte of it is copied.
  WriteFile(dir / "huge", "");
  const std::uint64_t room = std::numeric_limits<std::int32_t>::max() - 25 - 1 - 2 * 88;
  std::filesystem::resize_file(dir / "huge", room + 1);
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "p.devuza", "SKY"));
  ASSERT_TRUE(AddPackageFile(package, dir / "small", "", "small"));
  EXPECT_FALSE(AddPackageFile(package, dir / "huge", "", "huge"));
  EXPECT_EQ(package.error_code, PackageErrorCode::kTooLarge);
  ASSERT_TRUE(ClosePackage(package));
  EXPECT_EQ(std::filesystem::file_size(dir / "p.devuza"), 25u + 1 + 88);
}

TEST(PackageWriter, ClosingAPackageWithoutFilesFails) {
  ScratchFolder dir;
  std::filesystem::create_directories(dir / "car");
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "p.devuza", "SKY"));
  ASSERT_TRUE(AddCarFolder(package, dir / "car", ""));
  EXPECT_FALSE(ClosePackage(package));
  EXPECT_EQ(package.error_code, PackageErrorCode::kNoFiles);
  EXPECT_TRUE(testing::ListTree(dir.path()) == std::vector<std::string>{"car/"});
}

TEST(PackageWriter, NeverWritesOverAFileNamedLikeATemporaryFile) {
  ScratchFolder dir;
  std::filesystem::create_directories(dir / "car");
  std::filesystem::create_directories(dir / "empty");
  WriteFile(dir / "car" / "a.txt", "a");
  WriteFile(dir / "p.devuza.part", "mine");
  Package package;
  ASSERT_TRUE(Pack(package, dir / "car", dir / "p.devuza"));
  EXPECT_FALSE(Pack(package, dir / "empty", dir / "p.devuza"));
  EXPECT_EQ(ReadFile(dir / "p.devuza.part"), "mine");
  EXPECT_EQ(TopLevelNames(dir.path()),
            (std::vector<std::string>{"car", "empty", "p.devuza", "p.devuza.part"}));
}

TEST(PackageWriter, SkipsItsOwnOutputAndTheFileItReplacesInsideThePackedFolder) {
  ScratchFolder dir;
  WriteFile(dir / "a.txt", "a");
  WriteFile(dir / "inside.devuza", "the package that the new one replaces");
  Package package;
  ASSERT_TRUE(Pack(package, dir.path(), dir / "inside.devuza"));
  ASSERT_EQ(package.entries.size(), 1u);
  EXPECT_EQ(EntryName(package.entries[0]), "a.txt");
}

}  // namespace
}  // namespace devuza

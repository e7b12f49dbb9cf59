#include <gtest/gtest.h>

#include "devuza/package.h"
#include "devuza/sfx.h"
#include "package_test_support.h"

namespace devuza {
namespace {

using testing::ListTree;
using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

std::vector<std::uint8_t> FakeExtractor(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

TEST(SelfExtractingPackage, HoldsExtractorPackageAndPositionTrailer) {
  ScratchFolder dir;
  std::filesystem::create_directories(dir / "car" / "Wheels");
  WriteFile(dir / "car" / "SKY.3da", "mesh");
  WriteFile(dir / "car" / "Wheels" / "SKY_Ice.3da", "ice");
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "SKY.devuza", "SKY"));
  ASSERT_TRUE(AddCarFolder(package, dir / "car", ""));
  ASSERT_TRUE(ClosePackage(package));
  const std::string inner = ReadFile(dir / "SKY.devuza");

  const std::vector<std::uint8_t> extractor = FakeExtractor(1234);
  std::string error;
  ASSERT_TRUE(WriteSFXPackage(dir / "SKY.devuza.exe", dir / "SKY.devuza", true, extractor, &error))
      << error;
  EXPECT_FALSE(std::filesystem::exists(dir / "SKY.devuza"));

  const std::string sfx = ReadFile(dir / "SKY.devuza.exe");
  ASSERT_EQ(sfx.size(), 1234 + inner.size() + 4);
  EXPECT_EQ(sfx.substr(0, 1234), std::string(extractor.begin(), extractor.end()));
  EXPECT_EQ(sfx.substr(1234, inner.size()), inner);
  EXPECT_EQ(sfx.substr(sfx.size() - 4), std::string("\xD3\x04\x00\x00", 4));  // 1235
#ifndef _WIN32
  // The result is a program its owner can run.
  const auto perms = std::filesystem::status(dir / "SKY.devuza.exe").permissions();
  EXPECT_NE(perms & std::filesystem::perms::owner_exec, std::filesystem::perms::none);
#endif

  ASSERT_TRUE(OpenPackage(package, PackageMode::kReadSfx, dir / "SKY.devuza.exe"));
  EXPECT_EQ(package.base, 1234u);
  EXPECT_EQ(PackageCarID(package), "SKY");
  ASSERT_TRUE(ExtractPackage(package, dir / "out")) << LastPackageError(package);
  ClosePackage(package);
  EXPECT_EQ(ListTree(dir / "out"), ListTree(dir / "car"));
  EXPECT_EQ(ReadFile(dir / "out" / "Wheels" / "SKY_Ice.3da"), "ice");
}

TEST(SelfExtractingPackage, KeepsTheInputUnlessAskedAndNeverWritesOverIt) {
  ScratchFolder dir;
  WriteFile(dir / "p.devuza", testing::CraftPackage("SKY", {{"", "a", "a"}}));
  const std::vector<std::uint8_t> extractor = FakeExtractor(10);
  ASSERT_TRUE(WriteSFXPackage(dir / "p.exe", dir / "p.devuza", false, extractor));
  EXPECT_TRUE(std::filesystem::exists(dir / "p.devuza"));

  const std::string before = ReadFile(dir / "p.devuza");
  std::string error;
  EXPECT_FALSE(WriteSFXPackage(dir / "p.devuza", dir / "p.devuza", true, extractor, &error));
  EXPECT_NE(error.find("its own package"), std::string::npos);
  EXPECT_EQ(ReadFile(dir / "p.devuza"), before);

  EXPECT_FALSE(WriteSFXPackage(dir / "q.exe", dir / "missing.devuza", true, extractor, &error));
  EXPECT_EQ(ListTree(dir.path()), (std::vector<std::string>{"p.devuza", "p.exe"}));

  // A file named like a temporary file is the user's own.
  WriteFile(dir / "r.exe.part", "mine");
  ASSERT_TRUE(WriteSFXPackage(dir / "r.exe", dir / "p.devuza", false, extractor));
  EXPECT_EQ(ReadFile(dir / "r.exe.part"), "mine");
  EXPECT_EQ(ListTree(dir.path()),
            (std::vector<std::string>{"p.devuza", "p.exe", "r.exe", "r.exe.part"}));
}

TEST(SelfExtractingPackage, APlainPackageHasNoTrailer) {
  ScratchFolder dir;
  WriteFile(dir / "p.devuza", testing::CraftPackage("SKY", {{"", "a", "a"}}));
  Package package;
  EXPECT_FALSE(ReadPackageHeader(package, dir / "p.devuza", PackageMode::kReadSfx));
  EXPECT_EQ(LastPackageError(package), "No DEVUZA File!");
}

}  // namespace
}  // namespace devuza

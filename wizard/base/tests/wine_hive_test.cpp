#include "base/wine_hive.h"

#include <gtest/gtest.h>

#include "base/game_folder.h"
#include "base/game_folder_source.h"
#include "base/windows_registry.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace wizard {
namespace {

namespace stdfs = std::filesystem;
using gm_test::ScratchFolder;
using gm_test::WriteFile;

// A hive as Wine writes it, with the game's key between two others.
const std::string kHive =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Ferrovane] 1700000000\n"
    "#time=1da0c0ffee\n"
    "\"DestinationDir\"=\"D:\\\\Wrong\\\\\"\n"
    "\n"
    "[Software\\\\Ferrovane\\\\Gravelmoor] 1700000001\n"
    "#time=1da0c0ffee\n"
    "@=\"default\"\n"
    "\"DestinationDir\"=\"C:\\\\Games\\\\Gravelmoor\\\\\"\n"
    "\"Quoted\"=\"say \\\"hi\\\"\\tnow\\x00e9\\xd83d\\xde00\"\n"
    "\"Version\"=dword:0000002a\n"
    "\"Max\"=dword:ffffffff\n"
    "\"Binary\"=hex:01,02,\\\n"
    "  03,04\n"
    "\"Expand\"=str(2):\"%ProgramFiles%\\\\Gravelmoor\"\n"
    "\"Nul\"=\"C:\\\\\\0\"\n"
    "\n"
    "[Software\\\\Other] 1700000002\n"
    "\"DestinationDir\"=\"E:\\\\Other\\\\\"\n";

std::optional<WineHiveValue> Find(std::string_view hive, std::string_view name,
                                  std::size_t max_length = 1024) {
  return FindWineHiveValue(hive, "SOFTWARE\\Ferrovane\\Gravelmoor", name, max_length);
}

TEST(WineRegistry, ReadsStringsWithWinesEscapes) {
  auto value = Find(kHive, "DestinationDir");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, kRegSz);
  EXPECT_EQ(value->text, "C:\\Games\\Gravelmoor\\");
  value = Find(kHive, "destinationdir");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->text, "C:\\Games\\Gravelmoor\\");
  value = Find(kHive, "Quoted");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->text, "say \"hi\"\tnow\u00e9\U0001F600");
  EXPECT_EQ(Find(kHive, "")->text, "default");
  EXPECT_EQ(Find(kHive, "Nul")->text, "C:\\");
}

TEST(WineRegistry, ReadsDwordAndOtherTypes) {
  auto value = Find(kHive, "Version");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->type, kRegDword);
  EXPECT_EQ(value->text, "42");
  EXPECT_EQ(Find(kHive, "Max")->text, "4294967295");
  EXPECT_EQ(Find(kHive, "Binary")->type, kRegBinary);
  EXPECT_EQ(Find(kHive, "Expand")->type, kRegExpandSz);
  EXPECT_EQ(Find(kHive, "Missing"), std::nullopt);
  EXPECT_EQ(FindWineHiveValue(kHive, "Software\\Missing", "DestinationDir", 1024), std::nullopt);
}

TEST(WineRegistry, MalformedValuesGiveNothing) {
  const std::string key = "[Software\\\\Ferrovane\\\\Gravelmoor]\n";
  for (const char* line : {
           "\"DestinationDir\"=\"C:\\\\Games",        // truncated string
           "\"DestinationDir\"=\"C:\\qGames\\\\\"",   // unknown escape
           "\"DestinationDir\"=\"C:\\\\Games\\\"",    // escaped closing quote
           "\"DestinationDir\"=\"C:\\x\"",            // \x without digits
           "\"DestinationDir\"=\"C:\\xd83d\"",        // unpaired surrogate
           "\"DestinationDir\"=\"C:\\\\\\0Games\"",   // NUL inside
           "\"DestinationDir\"=\"C:\\\\\" trailing",  // junk after the string
           "\"DestinationDir\"=dword:123456789",      // nine digits
           "\"DestinationDir\"=dword:12xz",           // not hexadecimal
           "\"DestinationDir\"=dword:",               // no digits
           "\"DestinationDir\"=str(zz):\"C:\\\\\"",   // bad type number
           "\"DestinationDir\"=unknown",              // unknown data
           "\"DestinationDir\"=\"C:\\\\",             // truncated at an escape
           "\"DestinationDir\"=\"C:\\",               // a lone backslash at the end
       }) {
    EXPECT_EQ(Find(key + line + "\n", "DestinationDir"), std::nullopt) << line;
  }
  EXPECT_EQ(Find("[Software\\\\Ferrovane\\\\Gravelmoor", "DestinationDir"), std::nullopt);
  EXPECT_EQ(Find(key + "\"DestinationDir", "DestinationDir"), std::nullopt);
}

TEST(WineRegistry, HugeValuesGiveNothing) {
  const std::string key = "[Software\\\\Ferrovane\\\\Gravelmoor]\n";
  const std::string huge = key + "\"DestinationDir\"=\"" + std::string(5000, 'a') + "\"\n";
  EXPECT_EQ(Find(huge, "DestinationDir"), std::nullopt);
  const std::string fits = key + "\"DestinationDir\"=\"" + std::string(1024, 'a') + "\"\n";
  EXPECT_EQ(Find(fits, "DestinationDir")->text.size(), 1024u);
  const std::string huge_key = "[" + std::string(100000, 'k') + "]\n\"DestinationDir\"=\"x\"\n";
  EXPECT_EQ(Find(huge_key, "DestinationDir"), std::nullopt);
}

TEST(WineRegistry, EveryPrefixOfAHiveIsSafe) {
  for (std::size_t size = 0; size <= kHive.size(); ++size) {
    const auto value = Find(std::string_view(kHive).substr(0, size), "DestinationDir");
    if (value) {
      EXPECT_EQ(value->text, "C:\\Games\\Gravelmoor\\") << size;
    }
  }
}

// A Wine prefix whose drive C is its "drive_c" folder, holding the game.
struct WinePrefix {
  ScratchFolder tmp;
  stdfs::path prefix = tmp.path() / "wine";
  stdfs::path game = prefix / "drive_c/Games/Gravelmoor";

  explicit WinePrefix(const std::string& hive) {
    WriteFile(game / "Gravelmoor.exe", "MZ");
    stdfs::create_directories(prefix / "dosdevices");
    stdfs::create_symlink("../drive_c", prefix / "dosdevices/c:");
    WriteFile(prefix / "system.reg", hive);
  }
};

TEST(WineRegistry, RegGetValueReadsTheMachineHive) {
#if defined(_WIN32)
  GTEST_SKIP() << "a Wine prefix's hive stands in for the registry off Windows only";
#endif
  WinePrefix wine(kHive);
  std::string value = "untouched";
  ASSERT_TRUE(
      RegGetValue(RegistryRoot::kLocalMachine, kGameRegistryKey, "Version", value, wine.prefix));
  EXPECT_EQ(value, "42");
  ASSERT_TRUE(
      RegGetValue(RegistryRoot::kLocalMachine, kGameRegistryKey, "Binary", value, wine.prefix));
  EXPECT_EQ(value, "");
  value = "untouched";
  EXPECT_FALSE(RegGetValue(RegistryRoot::kLocalMachine, "\\SOFTWARE\\Ferrovane", "Version", value,
                           wine.prefix));
  EXPECT_FALSE(
      RegGetValue(RegistryRoot::kCurrentUser, kGameRegistryKey, "Version", value, wine.prefix));
  EXPECT_FALSE(RegGetValue(RegistryRoot::kLocalMachine, kGameRegistryKey, "Version", value,
                           wine.tmp.path() / "no-prefix"));
  EXPECT_EQ(value, "untouched");
}

TEST(WineRegistry, KeyNamesWithLeadingTrailingOrDoubledBackslashesAreInvalid) {
  EXPECT_TRUE(IsValidKeyName("SOFTWARE\\Ferrovane\\Gravelmoor"));
  EXPECT_TRUE(IsValidKeyName(""));
  EXPECT_FALSE(IsValidKeyName("\\SOFTWARE"));
  EXPECT_FALSE(IsValidKeyName("SOFTWARE\\"));
  EXPECT_FALSE(IsValidKeyName("SOFTWARE\\\\Ferrovane"));
}

TEST(WineRegistry, MapsTheDriveLetterThroughDosdevices) {
#if defined(_WIN32)
  GTEST_SKIP() << "a Wine prefix's hive stands in for the registry off Windows only";
#endif
  WinePrefix wine(kHive);
  const std::string root = stdfs::canonical(wine.prefix / "drive_c").string();
  EXPECT_EQ(MapWineDrivePath(wine.prefix, "C:\\Games\\Gravelmoor\\"), root + "/Games/Gravelmoor/");
  EXPECT_EQ(MapWineDrivePath(wine.prefix, "c:\\Games"), root + "/Games");
  EXPECT_EQ(MapWineDrivePath(wine.prefix, "C:"), root);
  EXPECT_EQ(MapWineDrivePath(wine.prefix, "D:\\Games\\"), std::nullopt);
  EXPECT_EQ(MapWineDrivePath(wine.prefix, "C:Games"), std::nullopt);
  EXPECT_EQ(MapWineDrivePath(wine.prefix, "\\\\server\\share"), std::nullopt);
  EXPECT_EQ(MapWineDrivePath(wine.prefix, "1:\\"), std::nullopt);
}

TEST(GameFolderSource, TakesOptionThenEnvironmentThenRegistry) {
#if defined(_WIN32)
  GTEST_SKIP() << "a Wine prefix's hive stands in for the registry off Windows only";
#endif
  WinePrefix wine(kHive);
  GameFolderSources sources;
  sources.wine_prefix = wine.prefix;
  GameFolderLookup found = FindGameFolder(sources);
  EXPECT_EQ(found.origin, GameFolderOrigin::kRegistry);
  EXPECT_EQ(found.folder, stdfs::canonical(wine.game).string() + "/");
  EXPECT_TRUE(CheckGameFolder(found.folder));

  sources.environment = "/from/environment";
  found = FindGameFolder(sources);
  EXPECT_EQ(found.origin, GameFolderOrigin::kEnvironment);
  EXPECT_EQ(found.folder, "/from/environment/");

  sources.option = "/from/option/";
  found = FindGameFolder(sources);
  EXPECT_EQ(found.origin, GameFolderOrigin::kOption);
  EXPECT_EQ(found.folder, "/from/option/");
}

TEST(GameFolderSource, StoredFolderWithoutTrailingSeparatorFailsTheCheck) {
#if defined(_WIN32)
  GTEST_SKIP() << "a Wine prefix's hive stands in for the registry off Windows only";
#endif
  WinePrefix wine(
      "[Software\\\\Ferrovane\\\\Gravelmoor]\n\"DestinationDir\"=\"C:\\\\GAMES\\\\gravelmoor\"\n");
  GameFolderSources sources;
  sources.wine_prefix = wine.prefix;
  const GameFolderLookup found = FindGameFolder(sources);
  EXPECT_EQ(found.origin, GameFolderOrigin::kRegistry);
  EXPECT_EQ(found.folder.back(), 'r');
  EXPECT_FALSE(CheckGameFolder(found.folder));
  // With the separator the stored spelling still finds the game's folder.
  EXPECT_TRUE(CheckGameFolder(found.folder + "\\"));
}

TEST(GameFolderSource, MalformedOrMissingHiveGivesNoFolder) {
#if defined(_WIN32)
  GTEST_SKIP() << "a Wine prefix's hive stands in for the registry off Windows only";
#endif
  for (const std::string& hive : {
           std::string(),
           std::string("[Software\\\\Ferrovane\\\\Gravelmoor]\n\"DestinationDir\"=\"C:\\q\"\n"),
           std::string("[Software\\\\Ferrovane\\\\Gravelmoor]\n\"DestinationDir\"=dword:1\n"),
           std::string("[Software\\\\Ferrovane\\\\Gravelmoor]\n\"DestinationDir\"=\"\"\n"),
           std::string("[Software\\\\Ferrovane\\\\Gravelmoor]\n\"DestinationDir\"=\"" +
                       std::string(2000, 'x') + "\"\n"),
           std::string("\0\0\xff[\\", 5),
       }) {
    WinePrefix wine(hive);
    GameFolderSources sources;
    sources.wine_prefix = wine.prefix;
    const GameFolderLookup found = FindGameFolder(sources);
    EXPECT_EQ(found.origin, GameFolderOrigin::kNone);
    EXPECT_EQ(found.folder, "");
  }
  EXPECT_EQ(FindGameFolder(GameFolderSources{}).origin, GameFolderOrigin::kNone);
}

}  // namespace
}  // namespace wizard

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <future>

#include "devuza/inspect.h"
#include "devuza/package.h"
#include "devuza/sfx.h"
#include "package_test_support.h"

namespace devuza {
namespace {

using testing::CraftPackage;
using testing::ListTree;
using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

TEST(PackageReader, RoundTripsACarFolderWithSubFolders) {
  ScratchFolder dir;
  const auto car = dir / "AB1";
  for (const char* sub : {"AB11", "AB12", "Parts", "Wheels", "Modder"}) {
    std::filesystem::create_directories(car / sub);
    WriteFile(car / sub / (std::string(sub) + "_Body.mat"), std::string("body of ") + sub);
  }
  WriteFile(car / "AB1.3da", std::string(3 * kCopyChunk + 17, 'm'));  // several chunks
  WriteFile(car / "Cars.scr", "cars\r\n");
  WriteFile(car / "Wheels" / "AB1_Slick.skn", "skin");

  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "AB1.devuza", "AB1"));
  ASSERT_TRUE(AddCarFolder(package, car, ""));
  ASSERT_TRUE(ClosePackage(package));

  // Data back to back from position 26, the directory right after it, and the
  // header's length is the file's.
  std::int64_t next = kFirstDataPosition;
  for (const DirectoryEntry& entry : package.entries) {
    EXPECT_EQ(entry.position, next);
    next += entry.size;
  }
  EXPECT_EQ(package.header.directory_position, next);
  EXPECT_EQ(static_cast<std::uintmax_t>(package.header.package_length),
            std::filesystem::file_size(dir / "AB1.devuza"));

  ASSERT_TRUE(OpenPackage(package, PackageMode::kReadFile, dir / "AB1.devuza"));
  EXPECT_EQ(PackageCarID(package), "AB1");
  const auto out = dir / "game" / "Data" / "Cars" / "AB1";
  ASSERT_TRUE(ExtractPackage(package, out)) << LastPackageError(package);
  EXPECT_TRUE(ClosePackage(package));
  EXPECT_EQ(LastPackageError(package), "");

  const std::vector<std::string> files = ListTree(car);
  EXPECT_EQ(ListTree(out), files);
  for (const std::string& name : files) {
    if (std::filesystem::is_regular_file(car / name)) {
      EXPECT_EQ(ReadFile(out / name), ReadFile(car / name)) << name;
    }
  }
}

TEST(PackageReader, RefusesOtherVersionsAndFilesWithoutMagic) {
  ScratchFolder dir;
  std::string bytes = CraftPackage("SKY", {{"", "a.txt", "a"}});
  WriteFile(dir / "ok.devuza", bytes);
  bytes.replace(testing::kVersionOffset, 4, std::string("\x00\x00\x00\x40", 4));  // 2.0
  WriteFile(dir / "v2.devuza", bytes);
  WriteFile(dir / "short.devuza", "DEVUZA");
  WriteFile(dir / "other.devuza", "DEVUZX" + std::string(40, '\0'));

  Package package;
  EXPECT_TRUE(ReadPackageHeader(package, dir / "ok.devuza", PackageMode::kReadFile));
  EXPECT_FALSE(ReadPackageHeader(package, dir / "v2.devuza", PackageMode::kReadFile));
  EXPECT_EQ(LastPackageError(package), "Wrong DEVUZA version");
  for (const char* name : {"short.devuza", "other.devuza"}) {
    EXPECT_FALSE(ReadPackageHeader(package, dir / name, PackageMode::kReadFile));
    EXPECT_EQ(LastPackageError(package), "No DEVUZA File!") << name;
  }
  EXPECT_FALSE(ReadPackageHeader(package, dir / "missing.devuza", PackageMode::kReadFile));
  EXPECT_EQ(package.error_code, PackageErrorCode::kFileError);
  EXPECT_FALSE(std::filesystem::exists(dir / "missing.devuza"));
}

TEST(PackageReader, ProcessWidePackageKeepsTheHeaderAfterClosing) {
  ScratchFolder dir;
  WriteFile(dir / "p.devuza", CraftPackage("XY9", {{"", "a.txt", "a"}}));
  ASSERT_TRUE(ReadPackageHeader(dir / "p.devuza", 1));
  EXPECT_EQ(PackageCarID(), "XY9");
  EXPECT_FALSE(ProcessPackage().open);
  EXPECT_FALSE(ReadPackageHeader(dir / "p.devuza", 0));
  EXPECT_FALSE(OpenPackage(7, dir / "p.devuza"));
  EXPECT_NE(LastPackageError(), "");
}

TEST(PackageReader, RunnerSequenceOnANonPackageReportsWhyItCouldNotOpen) {
  ScratchFolder dir;
  WriteFile(dir / "notes.devuza", "not a package, but more than twenty-five bytes long");
  EXPECT_FALSE(OpenPackage(1, dir / "notes.devuza"));
  EXPECT_FALSE(ExtractPackage(dir / "out"));
  EXPECT_TRUE(ClosePackage());
  EXPECT_EQ(LastPackageError(), "No DEVUZA File!");
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));

  EXPECT_FALSE(OpenPackage(0, dir / "missing" / "p.devuza", "SKY"));
  const std::string open_error = LastPackageError();
  EXPECT_NE(open_error.find("Cannot create"), std::string::npos);
  EXPECT_FALSE(AddCarFolder(dir.path(), ""));
  EXPECT_FALSE(ClosePackage());
  EXPECT_EQ(LastPackageError(), open_error);
}

TEST(PackageReader, RefusesAPackageWithoutFilesAsNotUsable) {
  ScratchFolder dir;
  WriteFile(dir / "empty.devuza", CraftPackage("AB1", {}));
  Package package;
  // The header alone is sound; the directory of no entries is not.
  ASSERT_TRUE(OpenPackage(package, PackageMode::kReadFile, dir / "empty.devuza"));
  EXPECT_FALSE(ExtractPackage(package, dir / "out"));
  EXPECT_EQ(package.error_code, PackageErrorCode::kNoFiles);
  EXPECT_NE(LastPackageError(package).find("holds no file: it is not usable"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));

  PackageReport report;
  std::string error;
  EXPECT_FALSE(InspectPackage(dir / "empty.devuza", report, error));
  EXPECT_NE(error.find("not usable"), std::string::npos) << error;
}

TEST(PackageReader, ExtractingOverALongerFileLeavesExactlyThePackedBytes) {
  ScratchFolder dir;
  WriteFile(dir / "p.devuza", CraftPackage("SKY", {{"Parts", "a.dds", "new"}}));
  std::filesystem::create_directories(dir / "out" / "Parts");
  WriteFile(dir / "out" / "Parts" / "a.dds", std::string(1000, 'o'));
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kReadFile, dir / "p.devuza"));
  ASSERT_TRUE(ExtractPackage(package, dir / "out"));
  EXPECT_EQ(ReadFile(dir / "out" / "Parts" / "a.dds"), "new");
  EXPECT_EQ(ListTree(dir / "out"), (std::vector<std::string>{"Parts/", "Parts/a.dds"}));
}

TEST(PackageReader, UsesExistingFoldersAndFilesWhoseNamesDifferOnlyInCase) {
  ScratchFolder dir;
  WriteFile(dir / "p.devuza", CraftPackage("SKY", {{"PARTS", "A.DDS", "new"}}));
  std::filesystem::create_directories(dir / "out" / "parts");
  WriteFile(dir / "out" / "parts" / "a.dds", "old");
  Package package;
  ASSERT_TRUE(OpenPackage(package, PackageMode::kReadFile, dir / "p.devuza"));
  ASSERT_TRUE(ExtractPackage(package, dir / "out"));
  EXPECT_EQ(ListTree(dir / "out"), (std::vector<std::string>{"parts/", "parts/a.dds"}));
  EXPECT_EQ(ReadFile(dir / "out" / "parts" / "a.dds"), "new");
}

// FIFOs are POSIX's; Windows has no named pipes in its file system.
#if !defined(_WIN32)
// Runs `read` on another thread. A read that still waits after a few seconds
// is released by opening `fifo` for writing, and counts as hanging.
bool ReturnsWithoutWaiting(const std::filesystem::path& fifo, std::function<void()> read) {
  std::future<void> done = std::async(std::launch::async, std::move(read));
  if (done.wait_for(std::chrono::seconds(5)) == std::future_status::ready) return true;
  const int fd = ::open(fifo.c_str(), O_WRONLY);
  if (fd >= 0) ::close(fd);
  done.wait();
  return false;
}

TEST(PackageReader, RefusesAFifoADeviceOrAFolderGivenAsThePackage) {
  ScratchFolder dir;
  const auto fifo = dir / "pipe.devuza";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const PackageMode mode : {PackageMode::kReadFile, PackageMode::kReadSfx}) {
    Package package;
    bool accepted = true;
    EXPECT_TRUE(
        ReturnsWithoutWaiting(fifo, [&] { accepted = ReadPackageHeader(package, fifo, mode); }));
    EXPECT_FALSE(accepted);
    EXPECT_EQ(package.error_code, PackageErrorCode::kFileError);
    EXPECT_EQ(LastPackageError(package),
              "The file " + fifo.string() + " is a FIFO (named pipe), not a regular file");
  }
  PackageReport report;
  std::string error;
  bool inspected = true;
  EXPECT_TRUE(
      ReturnsWithoutWaiting(fifo, [&] { inspected = InspectPackage(fifo, report, error); }));
  EXPECT_FALSE(inspected);
  EXPECT_NE(error.find("is a FIFO"), std::string::npos) << error;

  Package package;
  EXPECT_FALSE(ReadPackageHeader(package, "/dev/null", PackageMode::kReadFile));
  EXPECT_EQ(LastPackageError(package), "The file /dev/null is a device, not a regular file");
  EXPECT_FALSE(ReadPackageHeader(package, dir.path(), PackageMode::kReadFile));
  EXPECT_NE(LastPackageError(package).find("is a folder, not a regular file"), std::string::npos);

  // A link to a package is read as the package.
  WriteFile(dir / "p.devuza", CraftPackage("XY9", {{"", "a.txt", "a"}}));
  std::filesystem::create_symlink(dir / "p.devuza", dir / "link.devuza");
  EXPECT_TRUE(ReadPackageHeader(package, dir / "link.devuza", PackageMode::kReadFile));

  // The writer does not wait on a FIFO given as a file to pack either.
  ASSERT_TRUE(OpenPackage(package, PackageMode::kWrite, dir / "out.devuza", "XY9"));
  bool added = true;
  EXPECT_TRUE(
      ReturnsWithoutWaiting(fifo, [&] { added = AddPackageFile(package, fifo, "", "pipe"); }));
  EXPECT_FALSE(added);
  EXPECT_NE(LastPackageError(package).find("is a FIFO"), std::string::npos);
}
#endif

TEST(PackageReader, ListsEachFolderOnceHoweverManyFilesGoIntoIt) {
  ScratchFolder dir;
  std::vector<testing::CraftedFile> files;
  for (int i = 0; i < 300; ++i) {
    files.push_back({"", "f" + std::to_string(i) + ".dds", std::to_string(i)});
    files.push_back({"PARTS", "P" + std::to_string(i) + ".3da", "p" + std::to_string(i)});
  }
  WriteFile(dir / "p.devuza", CraftPackage("SKY", files));
  std::filesystem::create_directories(dir / "out" / "parts");
  WriteFile(dir / "out" / "parts" / "p7.3DA", "old");
  WriteFile(dir / "out" / "mine.txt", "mine");

  // Once into the existing folders, once more over the files just written.
  for (int run = 0; run < 2; ++run) {
    Package package;
    ASSERT_TRUE(OpenPackage(package, PackageMode::kReadFile, dir / "p.devuza"));
    ASSERT_TRUE(ExtractPackage(package, dir / "out")) << LastPackageError(package);
    EXPECT_EQ(package.folder_listings, 2u);  // the car's folder and "parts"
  }
  EXPECT_EQ(ListTree(dir / "out").size(), 1u + 1 + 300 + 300);
  EXPECT_EQ(ReadFile(dir / "out" / "parts" / "p7.3DA"), "p7");
  EXPECT_EQ(ReadFile(dir / "out" / "f299.dds"), "299");
  EXPECT_EQ(ReadFile(dir / "out" / "mine.txt"), "mine");
}

TEST(PackageReader, ExtractNeedsAPackageOpenForReading) {
  ScratchFolder dir;
  Package package;
  EXPECT_FALSE(ExtractPackage(package, dir / "out"));
  EXPECT_EQ(package.error_code, PackageErrorCode::kNotOpen);
  EXPECT_FALSE(std::filesystem::exists(dir / "out"));
}

// Every prefix of a valid package and of a self-extracting program is read
// without a crash, and nothing lands outside the destination.
TEST(PackageReader, ReadsEveryTruncatedPrefixSafely) {
  ScratchFolder dir;
  const std::string package_bytes =
      CraftPackage("SKY", {{"", "a.dds", "AAAA"}, {"P", "b.mat", "BB"}, {"Q", "c.3da", "C"}});
  const std::string extractor(40, 'X');
  WriteFile(dir / "full.devuza", package_bytes);
  ASSERT_TRUE(WriteSFXPackage(
      dir / "full.exe", dir / "full.devuza", false,
      std::span(reinterpret_cast<const std::uint8_t*>(extractor.data()), extractor.size())));
  const std::string sfx_bytes = ReadFile(dir / "full.exe");

  for (const auto& [mode, whole] : {std::pair{PackageMode::kReadFile, package_bytes},
                                    std::pair{PackageMode::kReadSfx, sfx_bytes}}) {
    for (std::size_t length = 0; length <= whole.size(); ++length) {
      ScratchFolder sandbox;
      WriteFile(sandbox / "cut", whole.substr(0, length));
      Package package;
      bool extracted = false;
      if (OpenPackage(package, mode, sandbox / "cut")) {
        extracted = ExtractPackage(package, sandbox / "dest");
        ClosePackage(package);
      }
      EXPECT_EQ(extracted, length == whole.size()) << "length " << length;
      for (const std::string& name : ListTree(sandbox.path())) {
        EXPECT_TRUE(name == "cut" || name.starts_with("dest")) << name << " at length " << length;
      }
    }
  }
}

}  // namespace
}  // namespace devuza

#include "base/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#if !defined(_WIN32)
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <functional>

#include "base/custom_cars.h"
#include "base/file_routines.h"
#include "base/ini_file.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace wizard {
namespace {

namespace stdfs = std::filesystem;
using gm_test::ListFolder;
using gm_test::ReadFile;
using gm_test::ScratchFolder;
using gm_test::WriteFile;

// Permission bits, symbolic links and users are POSIX's: these cases have no
// counterpart on Windows.
#if !defined(_WIN32)
constexpr int kCannotDropPrivileges = 99;

// Runs `body` where folder permissions apply: in a child that runs as the
// user "nobody" when the tests run as root (root may write anywhere), else
// in this process. Returns the body's result, or kCannotDropPrivileges.
int RunUnprivileged(const std::function<int()>& body) {
  if (::geteuid() != 0) return body();
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(kCannotDropPrivileges);
    ::_exit(body());
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST(AtomicFile, ReplacesTheFileAndKeepsItsPermissions) {
  ScratchFolder tmp;
  const stdfs::path file = tmp.path() / "Cars.scr";
  WriteFile(file, "old");
  stdfs::permissions(file, stdfs::perms(0640));
  std::string error;
  ASSERT_TRUE(ReplaceFileAtomically(file, "new bytes", &error)) << error;
  EXPECT_EQ(ReadFile(file), "new bytes");
  EXPECT_EQ(stdfs::status(file).permissions() & stdfs::perms::all, stdfs::perms(0640));
  EXPECT_EQ(ListFolder(tmp.path()), "Cars.scr");
}

TEST(AtomicFile, ReplacesTheFileALinkPointsTo) {
  ScratchFolder tmp;
  WriteFile(tmp.path() / "real.scr", "old");
  stdfs::create_symlink("real.scr", tmp.path() / "link.scr");
  ASSERT_TRUE(ReplaceFileAtomically(tmp.path() / "link.scr", "new"));
  EXPECT_TRUE(stdfs::is_symlink(tmp.path() / "link.scr"));
  EXPECT_EQ(ReadFile(tmp.path() / "real.scr"), "new");
}

#endif

TEST(AtomicFile, AFailureAtAnyStepLeavesTheOriginalAndNoTemporaryFile) {
  for (AtomicWriteStep step : {AtomicWriteStep::kCreate, AtomicWriteStep::kWrite,
                               AtomicWriteStep::kFlush, AtomicWriteStep::kRename}) {
    SCOPED_TRACE(static_cast<int>(step));
    ScratchFolder tmp;
    const stdfs::path file = tmp.path() / "Carwright.ini";
    WriteFile(file, "[Cars]\r\nCarsCount=1\r\nCarID1=AB1\r\n");
    FailNextAtomicWriteAt(step);
    std::string error;
    EXPECT_FALSE(ReplaceFileAtomically(file, "[Cars]\r\nCarsCount=0\r\n", &error));
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
    EXPECT_EQ(ReadFile(file), "[Cars]\r\nCarsCount=1\r\nCarID1=AB1\r\n");
    EXPECT_EQ(ListFolder(tmp.path()), "Carwright.ini");
    // The failure was used up: the next replacement goes through.
    EXPECT_TRUE(ReplaceFileAtomically(file, "x"));
  }
}

TEST(AtomicFile, RefusesToReplaceAFolder) {
  ScratchFolder tmp;
  stdfs::create_directories(tmp.path() / "Cars.scr");
  EXPECT_FALSE(ReplaceFileAtomically(tmp.path() / "Cars.scr", "x"));
  EXPECT_TRUE(stdfs::is_directory(tmp.path() / "Cars.scr"));
}

#if !defined(_WIN32)
TEST(AtomicFile, ReadOnlyFolderKeepsTheOriginalByteForByte) {
  ScratchFolder tmp;
  const stdfs::path game = tmp.path() / "game";
  const std::string ini = "[Cars]\r\nCarsCount=1\r\nCarID1=AB1\r\n";
  const std::string script = "// cars\r\n!include(\"AB1\\\\Cars.scr\")\r\n";
  WriteFile(game / "Carwright.ini", ini);
  WriteFile(game / "Data/Cars/cars.scr", script);
  stdfs::permissions(tmp.path(), stdfs::perms(0755));
  stdfs::permissions(game / "Carwright.ini", stdfs::perms(0644));
  stdfs::permissions(game / "Data/Cars/cars.scr", stdfs::perms(0644));
  stdfs::permissions(game / "Data/Cars", stdfs::perms(0555));
  stdfs::permissions(game, stdfs::perms(0555));

  const std::string folder = game.string() + "/";
  const int result = RunUnprivileged([&] {
    // Reading must work, so that a failure can only come from the folder.
    if (ReadTextFile(folder + "Carwright.ini") != ini) return 3;
    if (WriteINIValue("Cars", "CarsCount", "0", folder + "Carwright.ini")) return 4;
    if (WriteINI(folder, {})) return 5;
    if (ReplaceInFile(folder + "Data\\Cars\\Cars.scr", "!include(\"AB1\\\\Cars.scr\")", "")) {
      return 6;
    }
    if (WriteTextFile(folder + "Data\\Cars\\Cars.scr", "")) return 7;
    return 0;
  });
  if (result == kCannotDropPrivileges) GTEST_SKIP() << "cannot run as an unprivileged user";
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ReadFile(game / "Carwright.ini"), ini);
  EXPECT_EQ(ReadFile(game / "Data/Cars/cars.scr"), script);
  EXPECT_EQ(ListFolder(game), "Carwright.ini|Data");
  EXPECT_EQ(ListFolder(game / "Data/Cars"), "cars.scr");
}
#endif

}  // namespace
}  // namespace wizard

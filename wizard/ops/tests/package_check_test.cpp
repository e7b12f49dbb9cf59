// The check of a package offered for install.
#include "ops/package_check.h"

#include <gtest/gtest.h>

#include "run_test_support.h"

namespace wizard {
namespace {

using wizard_test::CraftPackage;
using wizard_test::ScratchFolder;
using wizard_test::WriteFile;

TEST(PackageCheck, ClassifiesTheHeadersID) {
  const std::vector<std::string> cars = {"AB1", "xy7"};
  EXPECT_EQ(CheckPackageHeader(false, "QW3", cars).result, PackageForInstall::kUnreadable);
  const PackageCheck free = CheckPackageHeader(true, "QW3", cars);
  EXPECT_EQ(free.result, PackageForInstall::kFree);
  EXPECT_EQ(free.car_id, "QW3");
  // Taken (in any case), reserved, or outside the valid set: a replace.
  EXPECT_EQ(CheckPackageHeader(true, "AB1", cars).result, PackageForInstall::kReplace);
  EXPECT_EQ(CheckPackageHeader(true, "XY7", cars).result, PackageForInstall::kReplace);
  EXPECT_EQ(CheckPackageHeader(true, "stc", cars).result, PackageForInstall::kReplace);
  EXPECT_EQ(CheckPackageHeader(true, "AZ1", cars).result, PackageForInstall::kReplace);
  EXPECT_EQ(CheckPackageHeader(true, "ab2", cars).result, PackageForInstall::kFree);
  // Not a folder name below Data\Cars\: refused.
  for (const std::string_view id :
       std::initializer_list<std::string_view>{"A/B", "A\\B", "..", "...", "AB", "ABCD", "A B",
                                               "A:B", "CON", "nul", std::string_view("A\0B", 3)}) {
    EXPECT_EQ(CheckPackageHeader(true, id, cars).result, PackageForInstall::kBadFolder) << id;
  }
}

TEST(PackageCheck, ReadsTheHeaderOfAPackageFile) {
  ScratchFolder tmp;
  const std::vector<std::string> cars = {"XY7"};
  const auto package = tmp.path() / "car.devuza";
  WriteFile(package, CraftPackage("QW3", {{"", "QW3.3da", "mesh"}}));
  PackageCheck check = CheckPackageForInstall(package, devuza::PackageMode::kReadFile, cars);
  EXPECT_EQ(check.result, PackageForInstall::kFree);
  EXPECT_EQ(check.car_id, "QW3");

  WriteFile(package, CraftPackage("XY7", {{"", "XY7.3da", "mesh"}}));
  EXPECT_EQ(CheckPackageForInstall(package, devuza::PackageMode::kReadFile, cars).result,
            PackageForInstall::kReplace);

  WriteFile(package, std::string(40, 'x'));
  check = CheckPackageForInstall(package, devuza::PackageMode::kReadFile, cars);
  EXPECT_EQ(check.result, PackageForInstall::kUnreadable);
  EXPECT_FALSE(check.error.empty());
  check = CheckPackageForInstall(tmp.path() / "none.devuza", devuza::PackageMode::kReadFile, cars);
  EXPECT_EQ(check.result, PackageForInstall::kUnreadable);
  EXPECT_FALSE(check.error.empty());
}

}  // namespace
}  // namespace wizard

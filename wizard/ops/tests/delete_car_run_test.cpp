// The delete operation on a game folder with three custom cars.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "base/custom_cars.h"
#include "ops/operations.h"
#include "run_test_support.h"

namespace {

namespace stdfs = std::filesystem;
using namespace wizard_test;

// Creates the cars `ids` one after the other, as three wizard runs would.
std::vector<std::string> CreateCars(const std::string& game, const std::vector<std::string>& ids) {
  std::vector<std::string> registry;
  for (const std::string& id : ids) {
    AssetLog assets;
    RecordingRunView view;
    wizard::WizardState state = CreateState(game, id);
    state.CustomCars = registry;
    const wizard::RunOutcome outcome = RunInEnglish(state, view, TestServices(assets));
    EXPECT_TRUE(outcome.completed && outcome.failures == 0);
    registry = state.CustomCars;
  }
  return registry;
}

TEST(DeleteCarRun, RemovesTheSecondOfThreeCars) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const std::vector<std::string> cars = CreateCars(game, {"AB1", "CD2", "EF3"});
  ASSERT_EQ(cars, (std::vector<std::string>{"AB1", "CD2", "EF3"}));

  RecordingRunView view;
  wizard::WizardState state;
  state.Task = wizard::kTaskDeleteCar;
  state.GameFolder = game;
  state.CustomCars = cars;
  state.SelectedCar = 1;
  state.DEVUZA_CarID = "AB1";  // left from another page; not what is deleted
  const wizard::RunOutcome outcome = RunInEnglish(state, view);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.failures, 0);
  EXPECT_EQ(view.actions.front(), "Removing car");
  EXPECT_EQ(view.actions.back(), "Successfully completed");

  EXPECT_EQ(state.CustomCars, (std::vector<std::string>{"AB1", "EF3"}));
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(game, registry));
  EXPECT_EQ(registry, (std::vector<std::string>{"AB1", "EF3"}));

  const stdfs::path cars_folder = stdfs::path(game) / "Data/Cars";
  EXPECT_FALSE(stdfs::exists(cars_folder / "CD2"));
  EXPECT_TRUE(stdfs::exists(cars_folder / "AB1" / "AB1.3da"));
  EXPECT_TRUE(stdfs::exists(cars_folder / "EF3" / "EF3.3da"));
  const std::string master = ReadFile(cars_folder / "cars.scr");
  EXPECT_EQ(master.find("CD2"), std::string::npos);
  EXPECT_NE(master.find("!include(\"AB1\\\\Cars.scr\")"), std::string::npos);
  EXPECT_NE(master.find("!include(\"EF3\\\\Cars.scr\")"), std::string::npos);
}

TEST(DeleteCarRun, NoSelectionEndsWithErrorAndKeepsTheRegistry) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  ASSERT_TRUE(wizard::WriteINI(game, {"AB1"}));
  const std::string ini = ReadFile(stdfs::path(game) / "Carwright.ini");
  RecordingRunView view;
  wizard::WizardState state;
  state.Task = wizard::kTaskDeleteCar;
  state.GameFolder = game;
  state.CustomCars = {"AB1"};
  state.SelectedCar = 3;
  const wizard::RunOutcome outcome = RunInEnglish(state, view);
  EXPECT_FALSE(outcome.completed);
  EXPECT_EQ(state.CustomCars, std::vector<std::string>{"AB1"});
  EXPECT_EQ(ReadFile(stdfs::path(game) / "Carwright.ini"), ini);
}

wizard::WizardState DeleteState(const std::string& game, const std::vector<std::string>& cars,
                                int selected) {
  wizard::WizardState state;
  state.Task = wizard::kTaskDeleteCar;
  state.GameFolder = game;
  state.CustomCars = cars;
  state.SelectedCar = selected;
  return state;
}

// A registration line that cannot be removed keeps the car whole, so that the
// delete can be tried again: its folder, its registry entry and the registry
// file. Once the master script can be written, the same delete goes through.
TEST(DeleteCarRun, AMasterScriptThatCannotBeRewrittenKeepsTheCarForARetry) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const std::vector<std::string> cars = CreateCars(game, {"AB1", "CD2"});
  const stdfs::path cars_folder = stdfs::path(game) / "Data/Cars";
  const stdfs::path master = cars_folder / "cars.scr";
  const stdfs::path ini = stdfs::path(game) / "Carwright.ini";
  const std::string line = "!include(\"AB1\\\\Cars.scr\")";

  // Read-only, and a replacement whose final rename the system refuses.
  const std::vector<std::function<void()>> make_unwritable = {
      [&] {
        stdfs::permissions(
            master,
            stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
            stdfs::perm_options::remove);
      },
      [] { wizard::FailNextAtomicWriteAt(wizard::AtomicWriteStep::kRename); },
  };
  for (std::size_t way = 0; way < make_unwritable.size(); ++way) {
    SCOPED_TRACE(way);
    const std::string ini_before = ReadFile(ini);
    make_unwritable[way]();
    RecordingRunView view;
    wizard::WizardState state = DeleteState(game, cars, 0);
    const wizard::RunOutcome outcome = RunInEnglish(state, view);
    wizard::FailNextAtomicWriteAt(wizard::AtomicWriteStep::kNone);
    stdfs::permissions(master, stdfs::perms::owner_write, stdfs::perm_options::add);

    EXPECT_FALSE(outcome.completed);
    EXPECT_EQ(view.actions.back(), "Error!");
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_NE(gm_test::ComparablePathText(view.errors[0])
                  .find(gm_test::ComparablePathText(master.string())),
              std::string::npos)
        << view.errors[0];
    EXPECT_EQ(state.CustomCars, cars);
    EXPECT_EQ(ReadFile(ini), ini_before);
    EXPECT_TRUE(stdfs::exists(cars_folder / "AB1" / "AB1.3da"));
    EXPECT_NE(ReadFile(master).find(line), std::string::npos);
  }

  RecordingRunView view;
  wizard::WizardState state = DeleteState(game, cars, 0);
  const wizard::RunOutcome outcome = RunInEnglish(state, view);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.failures, 0);
  EXPECT_EQ(state.CustomCars, std::vector<std::string>{"CD2"});
  EXPECT_FALSE(stdfs::exists(cars_folder / "AB1"));
  EXPECT_EQ(ReadFile(master).find(line), std::string::npos);
  for (const char* script : {"Parts.scr", "Texts.scr", "Icons.scr"}) {
    EXPECT_EQ(ReadFile(cars_folder / script).find("AB1"), std::string::npos) << script;
  }
}

// The registry file is the user's to edit: an entry naming one of the game's
// own cars is refused, in any case, and nothing of that car is touched.
TEST(DeleteCarRun, AReservedIDIsRefusedWhateverTheRegistrySays) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const stdfs::path cars_folder = stdfs::path(game) / "Data/Cars";
  WriteFile(cars_folder / "STC" / "Cars.scr", "the game's own car");
  const std::string master = ReadFile(cars_folder / "cars.scr");
  for (const char* id : {"STC", "stc"}) {
    SCOPED_TRACE(id);
    RecordingRunView view;
    wizard::WizardState state = DeleteState(game, {id}, 0);
    const wizard::RunOutcome outcome = RunInEnglish(state, view);
    EXPECT_FALSE(outcome.completed);
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_NE(view.errors[0].find("ID reserved."), std::string::npos) << view.errors[0];
    EXPECT_EQ(state.CustomCars, std::vector<std::string>{id});
    EXPECT_EQ(ReadFile(cars_folder / "STC" / "Cars.scr"), "the game's own car");
    EXPECT_EQ(ReadFile(cars_folder / "cars.scr"), master);
  }
}

}  // namespace

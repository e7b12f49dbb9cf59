// The delete operation on a game folder with three custom cars.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    const wizard::RunOutcome outcome = wizard::PerformOperation(
        state, wizard::CarVariants{}, view, wizard::Language::kEnglish, TestServices(assets));
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
  const wizard::RunOutcome outcome =
      wizard::PerformOperation(state, wizard::CarVariants{}, view, wizard::Language::kEnglish, {});
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
  const wizard::RunOutcome outcome =
      wizard::PerformOperation(state, wizard::CarVariants{}, view, wizard::Language::kEnglish, {});
  EXPECT_FALSE(outcome.completed);
  EXPECT_EQ(state.CustomCars, std::vector<std::string>{"AB1"});
  EXPECT_EQ(ReadFile(stdfs::path(game) / "Carwright.ini"), ini);
}

}  // namespace

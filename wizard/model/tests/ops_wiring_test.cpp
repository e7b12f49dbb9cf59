// The wizard model wired to the operations and to the package layer.
#include <gtest/gtest.h>

#include "base/custom_cars.h"
#include "fake_wizard_view.h"
#include "model/ops_wiring.h"
#include "run_test_support.h"

namespace {

namespace stdfs = std::filesystem;
using namespace wizard_test;

TEST(OpsOperationLauncher, RunsTheModelsOperationAndEnablesFinish) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AssetLog assets;
  wizard::testing::FakeWizardView view;
  wizard::OpsOperationLauncher launcher(TestServices(assets));
  wizard::DevuzaHeaderSource headers;
  wizard::WizardOptions options;
  options.language = wizard::Language::kEnglish;
  options.find_game_folder = [game] {
    return wizard::GameFolderLookup{game, wizard::GameFolderOrigin::kOption};
  };
  options.random = [] { return 0.5; };
  wizard::WizardModel model(view, launcher, headers, options);
  model.Start();

  model.State() = CreateState(game, "AB1");
  model.State().Step = wizard::kPageProgress;
  model.RunOperation();
  EXPECT_TRUE(model.IsNavEnabled(wizard::NavButton::kFinish));
  EXPECT_TRUE(launcher.LastOutcome().completed);
  EXPECT_TRUE(view.errors.empty());
  EXPECT_EQ(model.State().CustomCars, std::vector<std::string>{"AB1"});
  EXPECT_TRUE(stdfs::exists(stdfs::path(game) / "Data/Cars/AB1/Wheels/AB1_Evo3.3da"));

  // A failure shows an error box titled "Error".
  model.State().Task = wizard::kTaskExtractPackage;
  model.State().DEVUZA_FileName = (tmp.path() / "missing.devuza").string();
  model.State().CarID = "XY7";
  model.RunOperation();
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0].title, "Error");
  EXPECT_EQ(view.errors[0].text.rfind("File:", 0), 0u);
  EXPECT_FALSE(launcher.LastOutcome().completed);
}

// Every text of the progress page comes in the model's language: the status
// of each written file included.
TEST(OpsOperationLauncher, AModelStartedInPolishRunsInPolishOnly) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AssetLog assets;
  wizard::testing::FakeWizardView view;
  wizard::OpsOperationLauncher launcher(TestServices(assets));
  wizard::DevuzaHeaderSource headers;
  wizard::WizardOptions options;
  options.language = wizard::Language::kPolish;
  options.find_game_folder = [game] {
    return wizard::GameFolderLookup{game, wizard::GameFolderOrigin::kOption};
  };
  options.random = [] { return 0.5; };
  wizard::WizardModel model(view, launcher, headers, options);
  model.Start();
  model.State() = CreateState(game, "AB1");
  model.State().Step = wizard::kPageProgress;
  model.RunOperation();
  ASSERT_TRUE(launcher.LastOutcome().completed);
  ASSERT_GT(view.actions.size(), 10u);
  for (std::size_t i = 0; i + 1 < view.actions.size(); ++i) {
    EXPECT_EQ(view.actions[i].rfind("Tworzenie pliku:", 0), 0u) << view.actions[i];
  }
  EXPECT_EQ(view.actions.back(), "Zakończono pomyślnie.");

  // A failure is titled in Polish too.
  model.State().Task = wizard::kTaskExtractPackage;
  model.State().DEVUZA_FileName = (tmp.path() / "missing.devuza").string();
  model.State().CarID = "XY7";
  view.actions.clear();
  model.RunOperation();
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(view.errors[0].title, "Błąd");
  EXPECT_EQ(view.actions,
            (std::vector<std::string>{"Rozpakowanie DEVUZA'a...", "Wystąpiły błędy!"}));
}

TEST(DevuzaHeaderSource, ReadsTheCarIDOfAPackageAndRefusesOtherFiles) {
  ScratchFolder tmp;
  const stdfs::path package = tmp.path() / "XY7.devuza";
  WriteFile(package, CraftPackage("XY7", {{"", "XY7.3da", "mesh"}}));
  const stdfs::path other = tmp.path() / "other.devuza";
  WriteFile(other, std::string(40, 'x'));

  wizard::DevuzaHeaderSource headers;
  const wizard::PackageHeaderInfo info = headers.ReadPackageHeader(package.string());
  EXPECT_TRUE(info.valid);
  EXPECT_EQ(info.car_id, "XY7");
  EXPECT_FALSE(headers.ReadPackageHeader(other.string()).valid);
  EXPECT_FALSE(headers.ReadPackageHeader((tmp.path() / "none").string()).valid);
}

}  // namespace

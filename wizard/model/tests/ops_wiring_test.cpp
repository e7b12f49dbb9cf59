// The wizard model wired to the operations and to the package layer.
#include <gtest/gtest.h>

#include <memory>

#include "base/custom_cars.h"
#include "fake_wizard_view.h"
#include "model/ops_wiring.h"
#include "run_test_support.h"

namespace {

namespace stdfs = std::filesystem;
using namespace wizard_test;

// The model over a copy of the demo game, with the real launcher and package
// headers, driven through its handlers as the window drives it.
class OpsOperationLauncher : public ::testing::Test {
 protected:
  wizard::WizardModel& Start(wizard::Language language) {
    wizard::WizardOptions options;
    options.language = language;
    options.find_game_folder = [game = game_] {
      return wizard::GameFolderLookup{game, wizard::GameFolderOrigin::kOption};
    };
    options.random = [] { return 0.5; };
    model_ = std::make_unique<wizard::WizardModel>(view_, launcher_, headers_, options);
    model_->Start();
    return *model_;
  }

  // Creates AB1 with two paintings and the bonnet: pages 0, 1, 2, 3, 5, 6 and
  // the run on page 4.
  void CreateAB1() {
    model_->OnCarIDChange("AB1");
    model_->OnPaintingsChange(2);
    model_->OnPartClick(1, true);  // the bonnet
    for (int page = 0; page < 6; ++page) model_->OnNextClick();
    ASSERT_EQ(model_->State().Step, wizard::kPageProgress);
  }

  // Installs the package XY7, which is removed after page 1 accepted it, so
  // that the run fails.
  void InstallVanishedPackage() {
    const stdfs::path package = tmp_.path() / "XY7.devuza";
    WriteFile(package, CraftPackage("XY7", {{"", "XY7.3da", "mesh"}}));
    model_->OnNextClick();
    model_->OnTaskOptionSelect(wizard::kTaskExtractPackage);
    view_.file_picks = {package.string()};
    model_->OnNextClick();
    ASSERT_EQ(model_->State().Step, wizard::kPageReady);
    stdfs::remove(package);
    model_->OnNextClick();
    ASSERT_EQ(model_->State().Step, wizard::kPageProgress);
  }

  ScratchFolder tmp_;
  const std::string game_ = CopyDemoGame(tmp_);
  AssetLog assets_;
  wizard::testing::FakeWizardView view_;
  wizard::OpsOperationLauncher launcher_{TestServices(assets_)};
  wizard::DevuzaHeaderSource headers_;
  std::unique_ptr<wizard::WizardModel> model_;
};

TEST_F(OpsOperationLauncher, RunsTheModelsOperationAndEnablesFinish) {
  wizard::WizardModel& model = Start(wizard::Language::kEnglish);
  CreateAB1();
  EXPECT_TRUE(model.IsNavEnabled(wizard::NavButton::kFinish));
  EXPECT_TRUE(launcher_.LastOutcome().completed);
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_EQ(model.State().CustomCars, std::vector<std::string>{"AB1"});
  EXPECT_TRUE(stdfs::exists(stdfs::path(game_) / "Data/Cars/AB1/Wheels/AB1_Evo3.3da"));

  // A failure shows an error box titled "Error".
  Start(wizard::Language::kEnglish);
  InstallVanishedPackage();
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].title, "Error");
  EXPECT_EQ(view_.errors[0].text.rfind("File:", 0), 0u);
  EXPECT_FALSE(launcher_.LastOutcome().completed);
}

// Every text of the progress page comes in the model's language: the status
// of each written file included.
TEST_F(OpsOperationLauncher, AModelStartedInPolishRunsInPolishOnly) {
  Start(wizard::Language::kPolish);
  CreateAB1();
  ASSERT_TRUE(launcher_.LastOutcome().completed);
  ASSERT_GT(view_.actions.size(), 10u);
  for (std::size_t i = 0; i + 1 < view_.actions.size(); ++i) {
    EXPECT_EQ(view_.actions[i].rfind("Tworzenie pliku:", 0), 0u) << view_.actions[i];
  }
  EXPECT_EQ(view_.actions.back(), "Zakończono pomyślnie.");

  // A failure is titled in Polish too.
  Start(wizard::Language::kPolish);
  view_.actions.clear();
  InstallVanishedPackage();
  ASSERT_EQ(view_.errors.size(), 1u);
  EXPECT_EQ(view_.errors[0].title, "Błąd");
  EXPECT_EQ(view_.actions,
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

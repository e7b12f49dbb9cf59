// The create operation end to end on a copy of the demo game folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/custom_cars.h"
#include "ops/operations.h"
#include "run_test_support.h"

namespace {

namespace stdfs = std::filesystem;
using namespace wizard_test;

TEST(CreateCarRun, AB1WithTwoPaintingsBonnetAndDefaultWheels) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  AssetLog assets;
  RecordingRunView view;
  wizard::WizardState state = CreateState(game, "AB1");
  const wizard::CarVariants variants = [] {
    wizard::CarVariants v{};
    wizard::ResetCarVariants(v);
    return v;
  }();

  const wizard::RunOutcome outcome = wizard::PerformOperation(
      state, variants, view, wizard::Language::kEnglish, TestServices(assets));
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.failures, 0);
  EXPECT_TRUE(view.errors.empty()) << view.errors.front();

  const stdfs::path car = stdfs::path(game) / "Data/Cars/AB1";
  std::vector<std::string> expected = {"AB11/", "AB12/", "Parts/", "Wheels/"};
  for (const char* name :
       {"AB1.3da", "AB1.skn", "Cars.scr", "Parts.scr", "Model.scr", "Texts.scr", "Icons.scr"}) {
    expected.push_back(name);
  }
  for (const char* suffix : {"_Blob.dds",
                             "_BodyDirtMask.dds",
                             "_BodyDirtMaskGF2.dds",
                             "_Glass.dds",
                             "_Glass_Inside.dds",
                             "_GlassBroken_Inside.dds",
                             "_GlassBrokenMask.dds",
                             "_GlassBrokenNormals_Inside.dds",
                             "_GlassDirtMask.dds",
                             "_GlassDirtMask_Inside.dds",
                             "_GlassDirtMaskGF2.dds",
                             "_Light.dds",
                             "_LightBrokenMask.dds",
                             "_LightDirtMask.dds",
                             "_LightDirtMaskGF2.dds",
                             "_LightMask.dds",
                             "_Blob.mat",
                             "_Glass_GHOST.mat",
                             "_GlassReflection.mat",
                             "_GlassReflection_1.mat",
                             "_GlassReflection_2.mat",
                             "_GlassReflection_Inside.mat",
                             "_GlassReflection_MENU.mat",
                             "_GlassReflectionBroken.mat",
                             "_GlassReflectionBroken_1.mat",
                             "_GlassReflectionBroken_2.mat",
                             "_GlassReflectionBroken_Inside.mat",
                             "_GlassReflectionBroken_MENU.mat",
                             "_Light.mat",
                             "_Light_1.mat",
                             "_Light_2.mat",
                             "_Light_GHOST.mat",
                             "_Light_MENU.mat",
                             "_LightBroken.mat",
                             "_LightBroken_1.mat",
                             "_LightBroken_2.mat",
                             "_LightBroken_MENU.mat"}) {
    expected.push_back(std::string("AB1") + suffix);
  }
  for (const char* painting : {"AB11", "AB12"}) {
    for (const char* suffix :
         {"_Body.mat", "_Body_1.mat", "_Body_2.mat", "_Body_GHOST.mat", "_Body_MENU.mat",
          "_BodyOpacity.mat", "_BodyOpacity_1.mat", "_BodyOpacity_2.mat", "_BodyOpacity_MENU.mat",
          "_BodyReflection.mat", "_BodyReflection_1.mat", "_BodyReflection_2.mat",
          "_BodyReflection_MENU.mat", "_Body.dds", "_Vis.dds", "_Icon.dds"}) {
      expected.push_back(std::string(painting) + "/" + painting + suffix);
    }
  }
  for (const char* part : {"ExhaustDummy", "Bonnet"}) {
    expected.push_back(std::string("Parts/AB1_") + part + ".3da");
    expected.push_back(std::string("Parts/AB1_") + part + ".skn");
  }
  for (const char* wheel : {"Gravel", "Slick", "Snow", "Evo3"}) {
    expected.push_back(std::string("Wheels/AB1_") + wheel + ".3da");
    expected.push_back(std::string("Wheels/AB1_") + wheel + ".skn");
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ListTree(car), expected);

  // The body mesh comes from resource 102 (100 + the bonnet's bit).
  EXPECT_EQ(ReadFile(car / "AB1.3da"), "mesh 102 0");
  EXPECT_EQ(ReadFile(car / "AB12" / "AB12_Body.mat"), "material BODY 2");
  EXPECT_EQ(ReadFile(car / "Wheels" / "AB1_Evo3.skn"), "skin WHEEL 0");
  EXPECT_NE(ReadFile(car / "Cars.scr").find("AB1"), std::string::npos);

  // Registered in the game and in the registry.
  EXPECT_EQ(state.CustomCars, std::vector<std::string>{"AB1"});
  std::vector<std::string> registry;
  ASSERT_TRUE(wizard::LoadINI(game, registry));
  EXPECT_EQ(registry, std::vector<std::string>{"AB1"});
  for (const char* master : {"cars.scr", "Parts.scr", "Texts.scr", "Icons.scr"}) {
    const std::string script = ReadFile(stdfs::path(game) / "Data/Cars" / master);
    const std::string name = master == std::string("cars.scr") ? "Cars.scr" : master;
    EXPECT_NE(script.find("!include(\"AB1\\\\" + name + "\")"), std::string::npos) << master;
  }

  // One progress step per file written (asset files, scripts and the four
  // master scripts), then the success end.
  const std::size_t files = expected.size() - 4;
  ASSERT_GE(view.progress.size(), files + 4);
  EXPECT_DOUBLE_EQ(view.progress[view.progress.size() - 2], static_cast<double>(files + 4));
  EXPECT_DOUBLE_EQ(view.progress.back(), 200.0);
  EXPECT_EQ(view.actions.back(), "Successfully completed");
  EXPECT_EQ(view.actions.front(), "Creating file:AB1.3da");
}

TEST(CreateCarRun, WithoutAssetWritersNothingIsWritten) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const std::vector<std::string> before = ListTree(game);
  RecordingRunView view;
  wizard::WizardState state = CreateState(game, "AB1");
  wizard::RunServices services;
  services.write_asset = nullptr;
  const wizard::RunOutcome outcome = RunInEnglish(state, view, services);
  EXPECT_FALSE(outcome.completed);
  ASSERT_EQ(view.errors.size(), 1u);
  EXPECT_NE(view.errors[0].find("not part of this build"), std::string::npos);
  EXPECT_EQ(view.actions.back(), "Error!");
  EXPECT_EQ(ListTree(game), before);
  EXPECT_TRUE(state.CustomCars.empty());
}

TEST(CreateCarRun, AnIDThatNamesNoFolderIsRefused) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const std::vector<std::string> before = ListTree(game);
  RecordingRunView view;
  const wizard::RunOutcome outcome = CreateCar(game, "..", view);
  EXPECT_FALSE(outcome.completed);
  EXPECT_EQ(view.errors.size(), 1u);
  EXPECT_EQ(ListTree(game), before);
}

TEST(CreateCarRun, AFileInPlaceOfTheCarFolderGivesOneMessagePerFailureAndGoesOn) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const stdfs::path cars = stdfs::path(game) / "Data/Cars";
  WriteFile(cars / "AB1", "a file where the car's folder should be");
  RecordingRunView view;
  const wizard::RunOutcome outcome = CreateCar(game, "AB1", view);

  // The run goes on to the success end; every folder (5) and file (44 + 16 +
  // 16 + 4 + 8) is reported once, naming it.
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.failures, 5 + 88);
  EXPECT_EQ(view.errors.size(), static_cast<std::size_t>(outcome.failures));
  const auto folder_errors = std::count_if(
      view.errors.begin(), view.errors.end(),
      [](const std::string& e) { return e.rfind("Error while creating folder\n", 0) == 0; });
  EXPECT_EQ(folder_errors, 5);
  const std::string bonnet = gm_test::ComparablePathText(
      "Error while creating file\n" + (cars / "AB1" / "Parts" / "AB1_Bonnet.skn").string());
  EXPECT_TRUE(std::any_of(view.errors.begin(), view.errors.end(), [&](const std::string& e) {
    return gm_test::ComparablePathText(e) == bonnet;
  }));
  EXPECT_EQ(ReadFile(cars / "AB1"), "a file where the car's folder should be");
}

// A registration that fails names the game file that is missing or cannot be
// written, not the master script the routine is named after.
TEST(CreateCarRun, FailedRegistrationsNameTheFileThatFailed) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const stdfs::path data = stdfs::path(game) / "Data";
  stdfs::remove(data / "Cars/cars.scr");
  stdfs::remove(data / "Cars/Parts.scr");
  stdfs::create_directories(data / "Cars/Parts.scr");
  stdfs::remove(data / "Texts.scr");
  stdfs::remove(data / "Menu/uidef/Textures.def");
  RecordingRunView view;
  const wizard::RunOutcome outcome = CreateCar(game, "AB1", view);
  EXPECT_TRUE(outcome.completed);
  const std::string failed = "Error while creating file\n";
  std::vector<std::string> shown;
  for (const std::string& error : view.errors) shown.push_back(gm_test::ComparablePathText(error));
  EXPECT_EQ(shown,
            (std::vector<std::string>{
                gm_test::ComparablePathText(failed + (data / "Cars/cars.scr").string()),
                gm_test::ComparablePathText(failed + (data / "Cars/Parts.scr").string()),
                gm_test::ComparablePathText(failed + (data / "Texts.scr").string()),
                gm_test::ComparablePathText(failed + (data / "Menu/uidef/Textures.def").string()),
            }));
}

TEST(CreateCarRun, UnwritableMasterScriptsAreReportedAndLeftWhole) {
#if defined(_WIN32)
  GTEST_SKIP() << "folders have no write permission bits on Windows";
#else
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
#endif
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  const stdfs::path cars = stdfs::path(game) / "Data/Cars";
  const std::string master_before = ReadFile(cars / "cars.scr");
  stdfs::permissions(
      cars, stdfs::perms::owner_write | stdfs::perms::group_write | stdfs::perms::others_write,
      stdfs::perm_options::remove);
  RecordingRunView view;
  const wizard::RunOutcome outcome = CreateCar(game, "AB1", view);
  stdfs::permissions(cars, stdfs::perms::owner_all, stdfs::perm_options::add);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.failures, 5 + 88 + 4);
  EXPECT_EQ(ReadFile(cars / "cars.scr"), master_before);
}

}  // namespace

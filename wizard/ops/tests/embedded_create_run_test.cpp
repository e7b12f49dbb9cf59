// The create operation with the generic car embedded in the program.
#include <gtest/gtest.h>

#include <string>

#include "base/custom_cars.h"
#include "base/resource_store.h"
#include "ops/car_assets.h"
#include "ops/operations.h"
#include "run_test_support.h"

namespace {

namespace stdfs = std::filesystem;
using namespace wizard_test;

TEST(EmbeddedCreateRun, WritesTheGenericCarNamedAfterTheCar) {
  ASSERT_TRUE(wizard::EmbeddedAssetWriter()) << "the program carries the generic car";
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  RecordingRunView view;
  wizard::WizardState state = CreateState(game, "AB1");
  wizard::CarVariants variants{};
  wizard::ResetCarVariants(variants);
  const wizard::RunOutcome outcome =
      wizard::PerformOperation(state, variants, view, wizard::Language::kEnglish);
  EXPECT_TRUE(outcome.completed);
  EXPECT_EQ(outcome.failures, 0) << (view.errors.empty() ? "" : view.errors.front());

  const stdfs::path car = stdfs::path(game) / "Data/Cars/AB1";
  // The body mesh is resource 102 (the bonnet cut away) with the car's ID.
  const std::optional<std::string> body = wizard::MakeGRMesh(102u, "AB1");
  ASSERT_TRUE(body);
  EXPECT_EQ(ReadFile(car / "AB1.3da"), *body);
  EXPECT_EQ(ReadFile(car / "AB1.3da").substr(0, 4), "3DA_");
  EXPECT_NE(*body, *wizard::MakeGRMesh(100u, "AB1"));
  // A painting's material carries its painting number; textures are copied.
  EXPECT_EQ(ReadFile(car / "AB12" / "AB12_Body.mat"), *wizard::MakeGRMaterial("BODY", "AB1", 2));
  const auto texture = wizard::FindEmbeddedResource("TEXTURES", "EMPTY");
  ASSERT_TRUE(texture);
  EXPECT_EQ(ReadFile(car / "AB1_GlassDirtMask_Inside.dds"),
            std::string(texture->begin(), texture->end()));
  EXPECT_EQ(ReadFile(car / "Wheels" / "AB1_Evo3.skn"), *wizard::MakeGRSkin("WHEEL", "AB1", 2));
  EXPECT_EQ(ReadFile(car / "Parts" / "AB1_Bonnet.skn"), *wizard::MakeGRSkin("CAR", "AB1", 2));
}

TEST(EmbeddedCreateRun, FullGrip356WheelsAreWrittenWithALowerCaseG) {
  ScratchFolder tmp;
  const std::string game = CopyDemoGame(tmp);
  RecordingRunView view;
  wizard::WizardState state = CreateState(game, "AB1");
  state.CarPaintingsCount = 1;
  state.CarWheels = static_cast<std::int16_t>((1 << 1) | (1 << 12));
  wizard::CarVariants variants{};
  wizard::ResetCarVariants(variants);
  ASSERT_TRUE(
      wizard::PerformOperation(state, variants, view, wizard::Language::kEnglish).completed);
  EXPECT_EQ(view.errors.size(), 0u);
  EXPECT_EQ(ListTree(stdfs::path(game) / "Data/Cars/AB1/Wheels"),
            (std::vector<std::string>{"AB1_Evo3.3da", "AB1_Evo3.skn", "AB1_Fullgrip356.3da",
                                      "AB1_Fullgrip356.skn"}));
  EXPECT_EQ(ReadFile(stdfs::path(game) / "Data/Cars/AB1/Wheels/AB1_Fullgrip356.3da"),
            *wizard::MakeGRMesh("WHEEL_FULLGRIP356", "AB1"));
}

TEST(EmbeddedCreateRun, PartsZeroAndThirtyOne) {
  ScratchFolder tmp;
  wizard::CarVariants variants{};
  wizard::ResetCarVariants(variants);
  for (const std::int16_t parts : {std::int16_t{0}, std::int16_t{31}}) {
    const std::string game = CopyDemoGame(tmp, "game" + std::to_string(parts));
    RecordingRunView view;
    wizard::WizardState state = CreateState(game, "AB1");
    state.CarParts = parts;
    ASSERT_TRUE(
        wizard::PerformOperation(state, variants, view, wizard::Language::kEnglish).completed);
    EXPECT_EQ(view.errors.size(), 0u);
    const stdfs::path car = stdfs::path(game) / "Data/Cars/AB1";
    EXPECT_EQ(ReadFile(car / "AB1.3da"), *wizard::MakeGRMesh(100u + parts, "AB1"));
    const std::vector<std::string> files = ListTree(car / "Parts");
    if (parts == 0) {
      EXPECT_EQ(files, (std::vector<std::string>{"AB1_ExhaustDummy.3da", "AB1_ExhaustDummy.skn"}));
    } else {
      EXPECT_EQ(files, (std::vector<std::string>{
                           "AB1_Bonnet.3da", "AB1_Bonnet.skn", "AB1_BumperF.3da", "AB1_BumperF.skn",
                           "AB1_BumperR.3da", "AB1_BumperR.skn", "AB1_DoorL.3da", "AB1_DoorL.skn",
                           "AB1_DoorR.3da", "AB1_DoorR.skn", "AB1_Exhaust.3da", "AB1_Exhaust.skn",
                           "AB1_Spoiler.3da", "AB1_Spoiler.skn"}));
    }
  }
}

}  // namespace

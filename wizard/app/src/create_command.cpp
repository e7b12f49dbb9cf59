// carwright create: the file template of a new custom car, written into the
// game folder and registered in the game.
#include <array>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/variants_file.h"
#include "base/car_id.h"
#include "base/code_page.h"
#include "base/file_routines.h"
#include "base/text_routines.h"
#include "command_support.h"
#include "commands.h"
#include "ops/wheel_types.h"

namespace carwright {

namespace {

constexpr std::array<std::string_view, 5> kPartNames = {"exhaust", "bonnet", "spoiler", "bumpers",
                                                        "doors"};
constexpr std::array<std::string_view, 2> kAnimPartNames = {"antenna", "wipers"};
constexpr auto kWheelOptionNames = [] {
  std::array<std::string_view, wizard::kWheelTypes.size()> names{};
  for (std::size_t i = 0; i < names.size(); ++i) names[i] = wizard::kWheelTypes[i].option;
  return names;
}();

struct CreateOptions {
  std::optional<std::string> game_folder;
  std::string id;
  std::optional<std::string> name;
  std::optional<std::string> group;
  int paintings = 1;
  std::vector<std::string> parts;
  std::vector<std::string> anim_parts;
  std::vector<std::string> wheels{"gravel", "slick", "snow"};
  std::optional<std::string> variants_file;
};

template <std::size_t N>
std::int16_t Bits(const std::array<std::string_view, N>& names,
                  const std::vector<std::string>& chosen) {
  int bits = 0;
  for (const std::string& name : chosen) {
    for (std::size_t i = 0; i < N; ++i) {
      if (names[i] == name) bits |= 1 << i;
    }
  }
  return static_cast<std::int16_t>(bits);
}

template <std::size_t N>
std::vector<std::string> Names(const std::array<std::string_view, N>& names) {
  return {names.begin(), names.end()};
}

// The wizard's check of the ID page; prints its message.
bool CheckID(const std::string& id, const std::vector<std::string>& cars,
             wizard::Language language) {
  const std::uint16_t result = wizard::CheckCarID(id, cars);
  if (result == wizard::kCarIDValid) return true;
  PrintError(id + ": " + wizard::CarIDMessage(result, language));
  return false;
}

int RunCreate(const CreateOptions& options, wizard::Language language) {
  const std::optional<GameSetting> game = OpenGame(options.game_folder, language);
  if (!game) return kExitFailed;

  wizard::CreateCarRequest request{SettingOf(*game, language), {}};
  wizard::CarScriptSetup& car = request.car;
  // The ID box upper-cases what is typed.
  car.CarID = wizard::ToUpperAscii(options.id);
  if (!CheckID(car.CarID, game->custom_cars, language)) return kExitFailed;

  car.CarPaintingsCount = static_cast<std::int16_t>(options.paintings);
  car.CarParts = static_cast<std::uint16_t>(Bits(kPartNames, options.parts));
  car.CarAnimParts = static_cast<std::uint16_t>(Bits(kAnimPartNames, options.anim_parts));
  car.CarWheels = static_cast<std::uint16_t>(Bits(kWheelOptionNames, options.wheels) |
                                             (1 << wizard::kEvo3Wheel));
  car.CarDefaultWheels = static_cast<std::uint16_t>(wizard::kDefaultWheels);
  if (car.CarWheels == 0) {
    PrintError(wizard::StringText(wizard::kStrNoWheels, language));
    return kExitFailed;
  }

  wizard::CarVariants& variants = car.Variants;
  wizard::ResetCarVariants(variants);
  if (options.group) {
    for (std::size_t g = 0; g < wizard::kCarGroups.size(); ++g) {
      if (wizard::kCarGroups[g] == *options.group) {
        wizard::InitCarParams(variants[0], static_cast<std::int32_t>(g));
      }
    }
  }
  if (options.name) {
    wizard::VariantText name = wizard::CheckVariantText(*options.name, wizard::kMaxCarNameLength,
                                                        wizard::GameCodePage(language));
    if (name.problem != wizard::VariantTextProblem::kNone) {
      PrintError(
          "--name: at most 20 characters of the game's code page, none of \" ! @ # $ % ^ & * \\");
      return kExitUsage;
    }
    variants[0].Name = std::move(name.bytes);
  }
  if (options.variants_file) {
    const wizard::ReadResult file = wizard::ReadFileChecked(*options.variants_file);
    if (file.status != wizard::ReadStatus::kOk) {
      PrintError(*options.variants_file + ": cannot read the variants file");
      return kExitFailed;
    }
    std::string error;
    if (!wizard::ApplyVariantsText(file.text, options.paintings, language, variants, error)) {
      PrintError(*options.variants_file + ": " + error);
      return kExitUsage;
    }
  }
  return RunAndReport(
      [&request](wizard::RunView& view) { return wizard::CreateCar(request, view); }, language);
}

}  // namespace

Subcommand AddCreateCommand(CLI::App& program) {
  CLI::App* app = program.add_subcommand(
      "create",
      "Create the file template of a new custom car in the game folder: its folders, meshes, "
      "textures, materials, skins and five scripts, registered in the game's master scripts "
      "and in Carwright.ini. Exit code 1 when the ID is invalid, reserved or taken, or when "
      "any file could not be written (each failure is reported once).");
  auto options = std::make_shared<CreateOptions>();
  app->add_option("--game-folder", options->game_folder, "The game's installation folder");
  app->add_option("--id", options->id, "The car's ID: three of _ 0-9 A-Y")->required();
  app->add_option("--name", options->name, "The name of variant 1 (default \"Custom Car 1\")");
  app->add_option("--group", options->group, "The car group of variant 1, with its defaults")
      ->check(CLI::IsMember(
          std::vector<std::string>(wizard::kCarGroups.begin(), wizard::kCarGroups.end())));
  app->add_option("--paintings", options->paintings, "Number of paintings, 1 to 5 (default 1)")
      ->check(CLI::Range(wizard::kMinPaintings, wizard::kMaxPaintings));
  app->add_option("--parts", options->parts, "Separate parts, comma-separated")
      ->delimiter(',')
      ->check(CLI::IsMember(Names(kPartNames)));
  app->add_option("--anim-parts", options->anim_parts, "Animated parts, comma-separated")
      ->delimiter(',')
      ->check(CLI::IsMember(Names(kAnimPartNames)));
  app->add_option("--wheels", options->wheels,
                  "Wheel types, comma-separated (default gravel,slick,snow; evo3 is always added)")
      ->delimiter(',')
      ->check(CLI::IsMember(Names(kWheelOptionNames)));
  app->add_option("--variants", options->variants_file,
                  "INI-style file with the parameters of the five variants (see below)");
  app->footer(std::string(wizard::kVariantsFileHelp));
  return {app, [options](wizard::Language language) { return RunCreate(*options, language); }};
}

}  // namespace carwright

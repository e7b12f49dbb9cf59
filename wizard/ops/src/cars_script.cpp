// Cars.scr: the header comment, then one car block per enabled variant.
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "ops/car_scripts.h"
#include "ops/template_text.h"
#include "script_output.h"

namespace wizard {

namespace {

// What the drive value writes into the power-balance script name and the
// wheel-drive parameter.
struct DriveTexts {
  std::string_view power_balance;
  std::string_view wheel_drive;
};

constexpr std::array<DriveTexts, 3> kDrives = {{
    {"PowerBalance_FWD.scr", "&FrontDrive&"},
    {"PowerBalance_Default.scr", "&AWD&"},
    {"PowerBalance_RWD.scr", "&RearDrive&"},
}};

// The passes of one car block, in their order. An unknown drive or
// displacement class leaves its tokens in the text.
std::vector<Substitution> CarBlockPasses(const CarScriptSetup& car, std::size_t index) {
  const CarVariant& variant = car.Variants[index];
  std::vector<Substitution> passes;
  passes.push_back({"#CARID#", car.CarID + std::to_string(index + 1)});
  passes.push_back({"TMP1", car.CarID + std::to_string(variant.Painting)});
  passes.push_back({"TMP", car.CarID});
  passes.push_back({"#GROUP#", std::string(CarGroupText(variant.Group))});
  passes.push_back({"#BUYPRICE#", std::to_string(variant.BuyPrice)});
  passes.push_back({"#SELLPRICE#", std::to_string(SellPrice(variant.BuyPrice))});
  passes.push_back({"#POWER#", std::to_string(variant.Power)});
  if (variant.WheelDrive >= 0 && variant.WheelDrive < static_cast<int>(kDrives.size())) {
    const DriveTexts& drive = kDrives[static_cast<std::size_t>(variant.WheelDrive)];
    passes.push_back({"#POWERBALANCE#", std::string(drive.power_balance)});
    passes.push_back({"#WHEELDRIVE#", std::string(drive.wheel_drive)});
  }
  passes.push_back({"#WEIGHT#", std::to_string(variant.Weight)});
  if (variant.Displacement >= 0 &&
      variant.Displacement < static_cast<int>(kDisplacementCcm.size())) {
    passes.push_back(
        {"#DISPLACEMENT#",
         std::to_string(kDisplacementCcm[static_cast<std::size_t>(variant.Displacement)])});
  }
  passes.push_back({"#ENGINETYPE#", variant.EngineType});
  passes.push_back({"#TORQUE#", std::to_string(variant.Torque)});
  passes.push_back({"#TORQUERPM#", std::to_string(variant.TorqueRPM)});
  passes.push_back({"#HEIGHT#", std::to_string(variant.Height)});
  passes.push_back({"#LENGTH#", std::to_string(variant.Length)});
  passes.push_back({"#WIDTH#", std::to_string(variant.Width)});
  passes.push_back({"#PRODUCTION#", variant.Production});
  passes.push_back({"#PAINTING#", std::to_string(variant.Painting)});
  return passes;
}

}  // namespace

std::int64_t SellPrice(std::int32_t buy_price) {
  // Nearest whole number to 3 * price / 5; the remainder is never 2.5.
  const std::int64_t tripled = 3 * static_cast<std::int64_t>(buy_price);
  if (tripled >= 0) return (tripled + 2) / 5;
  return -((-tripled + 2) / 5);
}

std::optional<std::string> MakeCarsScript(const CarScriptSetup& car) {
  const auto common = LoadTemplate("CAR.SCR", "COMMON");
  const auto block = LoadTemplate("CAR.SCR", "CAR");
  if (!common || !block) return std::nullopt;
  std::string text = *common;
  for (std::size_t i = 0; i < car.Variants.size(); ++i) {
    if (car.Variants[i].Enabled) text += ApplySubstitutions(*block, CarBlockPasses(car, i));
  }
  return OneStatementScript(std::move(text));
}

bool WriteGRCarsScript(const CarScriptSetup& car, std::string_view folder,
                       std::string_view file_name, const ProgressStep& progress) {
  return WriteMadeScript(MakeCarsScript(car), folder, file_name, progress);
}

}  // namespace wizard

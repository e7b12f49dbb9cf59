// Car variants and the defaults of the car groups.
#include "ops/car_variants.h"

#include "base/text_routines.h"

namespace wizard {
namespace {

// The defaults that depend on the car group.
struct GroupDefaults {
  std::string_view engine_type;
  std::int16_t power;
  std::int16_t torque;
  std::int16_t torque_rpm;
  std::int32_t wheel_drive;
  std::int16_t weight;
  std::int32_t displacement;
  std::int32_t buy_price;
};

constexpr std::array<GroupDefaults, kCarGroups.size()> kGroupDefaults = {{
    {"DOHC/4", 70, 115, 3300, 0, 900, 0, 13000},    // P1
    {"SOHC/2", 110, 160, 4500, 0, 1150, 1, 28000},  // P2
    {"DOHC/4", 180, 230, 5550, 1, 1350, 2, 25000},  // P3
    {"SOHC/2", 200, 230, 5550, 0, 1070, 1, 30000},  // O1
    {"DOHC/4", 235, 230, 6300, 0, 950, 1, 39000},   // O2
    {"DOHC/4", 260, 270, 4200, 1, 1000, 1, 51000},  // O3,R1
    {"SOHC/2", 300, 480, 4200, 1, 1220, 2, 50000},  // W1,R2
    {"SOHC/2", 330, 550, 5500, 1, 1250, 3, 57000},  // B1
}};

}  // namespace

std::string_view CarGroupText(std::int32_t group) {
  if (group < 0 || group >= static_cast<std::int32_t>(kCarGroups.size())) return {};
  return kCarGroups[static_cast<std::size_t>(group)];
}

void InitCarParams(CarVariant& record, std::int32_t group) {
  record.Group = group;
  record.Height = 1400;
  record.Length = 3800;
  record.Width = 1800;
  record.Production = "Custom";
  record.Painting = 1;
  record.Turbo = false;
  if (group < 0 || group >= static_cast<std::int32_t>(kGroupDefaults.size())) return;
  const GroupDefaults& d = kGroupDefaults[static_cast<std::size_t>(group)];
  record.EngineType = std::string(d.engine_type);
  record.Power = d.power;
  record.Torque = d.torque;
  record.TorqueRPM = d.torque_rpm;
  record.WheelDrive = d.wheel_drive;
  record.Weight = d.weight;
  record.Displacement = d.displacement;
  record.BuyPrice = d.buy_price;
}

void ResetCarVariants(CarVariants& variants) {
  for (std::size_t i = 0; i < variants.size(); ++i) {
    InitCarParams(variants[i], 0);
    variants[i].Enabled = false;
    variants[i].Name = "Custom Car " + std::to_string(i + 1);
  }
  variants[0].Enabled = true;
}

VariantText CheckVariantText(std::string_view utf8, std::size_t max_length, CodePage code_page) {
  VariantText result;
  std::optional<std::string> bytes = Utf8ToCodePage(utf8, code_page);
  if (!bytes) {
    result.problem = VariantTextProblem::kCodePage;
  } else if (bytes->size() > max_length) {
    result.problem = VariantTextProblem::kTooLong;
  } else if (ContainsAnyOf(kForbiddenTextChars, *bytes)) {
    result.problem = VariantTextProblem::kForbidden;
  } else {
    result.bytes = std::move(*bytes);
  }
  return result;
}

}  // namespace wizard

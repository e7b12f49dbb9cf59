// Model.scr: the model, lights and cameras from the template, then the part
// slots, the default parts and the default tyres of the car.
#include <string>
#include <vector>

#include "ops/car_scripts.h"
#include "ops/template_text.h"
#include "ops/wheel_types.h"
#include "script_output.h"

namespace wizard {

namespace {

std::vector<std::string_view> PartSlots(const CarScriptSetup& car) {
  std::vector<std::string_view> slots = {"Exhaust"};
  if (car.CarParts & kPartBonnet) slots.push_back("Bonnet");
  if (car.CarParts & kPartSpoiler) slots.push_back("Spoiler");
  if (car.CarParts & kPartBumpers) slots.insert(slots.end(), {"BumperFront", "BumperRear"});
  if (car.CarParts & kPartDoors) slots.insert(slots.end(), {"DoorLeft", "DoorRight"});
  if (car.CarAnimParts & kAnimPartAntenna) slots.push_back("AntennaF");
  if (car.CarAnimParts & kAnimPartWipers) slots.insert(slots.end(), {"WiperLeft", "WiperRight"});
  return slots;
}

std::vector<std::string_view> DefaultParts(const CarScriptSetup& car) {
  std::vector<std::string_view> parts = {"_Engine",  "_Body",     "_Electrics", "_Exhaust",
                                         "_Filter",  "_Dampers",  "_Springs",   "_BrakeSystem",
                                         "_Gearbox", "_FlyWheel", "_Clutch",    "_Cooler"};
  if (car.CarParts & kPartBonnet) parts.push_back("_Bonnet");
  if (car.CarParts & kPartSpoiler) parts.push_back("_Spoiler");
  if (car.CarParts & kPartBumpers) parts.insert(parts.end(), {"_BumperFront", "_BumperRear"});
  if (car.CarParts & kPartDoors) parts.insert(parts.end(), {"_DoorL", "_DoorR"});
  if (car.CarAnimParts & kAnimPartAntenna) parts.push_back("_AntennaF");
  if (car.CarAnimParts & kAnimPartWipers) parts.insert(parts.end(), {"_WiperL", "_WiperR"});
  return parts;
}

}  // namespace

std::optional<std::string> MakeModelScript(const CarScriptSetup& car) {
  const auto common = LoadTemplate("MODEL.SCR", "COMMON");
  if (!common) return std::nullopt;
  const Substitution car_id[] = {{"TMP", car.CarID}};
  std::string text = ApplySubstitutions(*common, car_id);
  ReplaceNuls(text);

  std::string script;
  AppendStatement(script, text);
  for (std::string_view slot : PartSlots(car)) {
    AppendStatement(script, "AddPartSlot(\"" + std::string(slot) + "\")");
  }
  AppendStatement(script, "");
  for (std::string_view part : DefaultParts(car)) {
    AppendStatement(script, "AddDefaultPart(\"" + car.CarID + std::string(part) + "\")");
  }
  AppendStatement(script, "");
  for (std::size_t i = 0; i < kWheelTypes.size(); ++i) {
    if (car.CarDefaultWheels == (1u << i)) {
      AppendStatement(
          script, "DefaultTyres(\"" + car.CarID + std::string(kWheelTypes[i].default_tyre) + "\")");
    }
  }
  AppendStatement(script, "");
  return script;
}

bool WriteGRModelScript(const CarScriptSetup& car, std::string_view folder,
                        std::string_view file_name, const ProgressStep& progress) {
  return WriteMadeScript(MakeModelScript(car), folder, file_name, progress);
}

}  // namespace wizard

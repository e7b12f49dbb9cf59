// Parts.scr: the common header, the separate and animated parts, the part set
// of the car group, the logic parts, one painting part per painting and the
// chosen tyres.
#include <string>
#include <utility>
#include <vector>

#include "ops/car_scripts.h"
#include "ops/template_text.h"
#include "ops/wheel_types.h"
#include "script_output.h"

namespace wizard {

namespace {

constexpr std::string_view kPartsType = "PARTS.SCR";

// The pieces in their order, each with the passes applied to it alone.
struct Piece {
  std::string name;
  std::vector<Substitution> passes;
};

std::vector<Piece> PartsPieces(const CarScriptSetup& car) {
  std::vector<Piece> pieces;
  auto add = [&](std::string name) { pieces.push_back({std::move(name), {}}); };
  add("COMMON");
  add((car.CarParts & kPartExhaust) ? "EXHAUST" : "EXHAUSTDUMMY");
  if (car.CarParts & kPartBonnet) add("BONNET");
  if (car.CarParts & kPartSpoiler) add("SPOILER");
  if (car.CarParts & kPartBumpers) {
    add("BUMPERF");
    add("BUMPERR");
  }
  if (car.CarParts & kPartDoors) {
    add("DOORL");
    add("DOORR");
  }
  if (car.CarAnimParts & kAnimPartAntenna) add("ANTENNAF");
  if (car.CarAnimParts & kAnimPartWipers) {
    add("WIPERL");
    add("WIPERR");
  }
  // The group set follows the first variant, enabled or not.
  const std::int64_t group = car.Variants[0].Group;
  for (int slot = 1; slot <= 7; ++slot) add(std::to_string((group + 1) * 10 + slot));
  for (const char* logic : {"BODY", "BRAKESYSTEM", "ELECTRICS", "ENGINE", "EXHAUSTLOGIC"}) {
    add(logic);
  }
  for (int p = 1; p <= car.CarPaintingsCount; ++p) {
    pieces.push_back(
        {"PAINTING1",
         {{"Painting1", "Painting" + std::to_string(p)}, {"TMP1", "TMP" + std::to_string(p)}}});
  }
  for (std::size_t i = 0; i < kWheelTypes.size(); ++i) {
    if (car.CarWheels & (1u << i)) add(std::string(kWheelTypes[i].resource));
  }
  return pieces;
}

}  // namespace

std::optional<std::string> MakePartsScript(const CarScriptSetup& car) {
  std::string text;
  for (const Piece& piece : PartsPieces(car)) {
    const auto piece_text = LoadTemplate(kPartsType, piece.name);
    if (!piece_text) return std::nullopt;
    text += ApplySubstitutions(*piece_text, piece.passes);
  }
  const Substitution car_id[] = {{"TMP", car.CarID}};
  text = ApplySubstitutions(text, car_id);
  return OneStatementScript(std::move(text));
}

bool WriteGRPartsScript(const CarScriptSetup& car, std::string_view folder,
                        std::string_view file_name, const ProgressStep& progress) {
  return WriteMadeScript(MakePartsScript(car), folder, file_name, progress);
}

}  // namespace wizard

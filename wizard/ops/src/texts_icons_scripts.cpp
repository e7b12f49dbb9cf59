// Texts.scr (the variants' display names and the car's common strings) and
// Icons.scr (the icon textures of each painting), both under the banner.
#include <string>

#include "ops/car_scripts.h"
#include "ops/template_text.h"
#include "script_output.h"

namespace wizard {

std::optional<std::string> MakeTextsScript(const CarScriptSetup& car) {
  const auto common = LoadTemplate("TEXTS.SCR", "COMMON");
  if (!common) return std::nullopt;
  std::string script;
  AppendStatement(script, kScriptBanner);
  AppendStatement(script, "");
  for (std::size_t i = 0; i < car.Variants.size(); ++i) {
    const CarVariant& variant = car.Variants[i];
    if (!variant.Enabled) continue;
    AppendStatement(script, "String( \"" + car.CarID + std::to_string(i + 1) + "_NAME\",\"" +
                                variant.Name + "\")");
  }
  AppendStatement(script, "");
  const Substitution car_id[] = {{"TMP", car.CarID}};
  std::string text = ApplySubstitutions(*common, car_id);
  ReplaceNuls(text);
  AppendStatement(script, text);
  return script;
}

std::optional<std::string> MakeIconsScript(const CarScriptSetup& car) {
  const auto block = LoadTemplate("ICONS.SCR", "ICONS");
  if (!block) return std::nullopt;
  std::string script;
  AppendStatement(script, kScriptBanner);
  AppendStatement(script, "");
  for (int p = 1; p <= car.CarPaintingsCount; ++p) {
    const std::string painting_id = car.CarID + std::to_string(p);
    const Substitution passes[] = {{"#2#", painting_id}, {"#1#", painting_id}};
    std::string text = ApplySubstitutions(*block, passes);
    ReplaceNuls(text);
    AppendStatement(script, text);
  }
  return script;
}

bool WriteGRTextsScript(const CarScriptSetup& car, std::string_view folder,
                        std::string_view file_name, const ProgressStep& progress) {
  return WriteMadeScript(MakeTextsScript(car), folder, file_name, progress);
}

bool WriteGRIconsScript(const CarScriptSetup& car, std::string_view folder,
                        std::string_view file_name, const ProgressStep& progress) {
  return WriteMadeScript(MakeIconsScript(car), folder, file_name, progress);
}

}  // namespace wizard

// The thirteen wheel types in bit order (bit i of CarWheels = type i): how the
// wizard and the command line name them, the resource that defines each, and
// the suffixes of its files and of its tyre part.
#pragma once

#include <array>
#include <string_view>

namespace wizard {

struct WheelType {
  std::string_view name;          // the wizard's check box: "FullGrip356"
  std::string_view option;        // carwright create --wheels: "fullgrip356"
  std::string_view resource;      // the PARTS.SCR piece and the wheel mesh
  std::string_view file_suffix;   // of the wheel's mesh and skin files
  std::string_view default_tyre;  // the part suffix DefaultTyres names
};

inline constexpr int kWheelTypeCount = 13;
inline constexpr int kEvo3Wheel = 12;  // always chosen

// FullGrip356's files are spelled with a lower-case g, as the parts script
// names them.
inline constexpr std::array<WheelType, kWheelTypeCount> kWheelTypes = {{
    {"ContactSport", "contactsport", "WHEEL_CONTACTSPORT", "_ContactSport", "_ContactSport"},
    {"FullGrip356", "fullgrip356", "WHEEL_FULLGRIP356", "_Fullgrip356", "_Fullgrip356"},
    {"Gravel", "gravel", "WHEEL_GRAVEL", "_Gravel", "_Sport_Gravel"},
    {"HyperGrip200", "hypergrip200", "WHEEL_HYPERGRIP200", "_HyperGrip200", "_Hypergrip200"},
    {"Ice", "ice", "WHEEL_ICE", "_Ice", "_Sport_Ice"},
    {"Intermediate", "intermediate", "WHEEL_INTERMEDIATE", "_Intermediate", "_Sport_Intermediate"},
    {"Mud", "mud", "WHEEL_MUD", "_Mud", "_Sport_Mud"},
    {"Prosport400s", "prosport400s", "WHEEL_PROSPORT400S", "_ProSport400s", "_ProSport400s"},
    {"ProSportWinter", "prosportwinter", "WHEEL_PROSPORTWINTER", "_ProSportWinter",
     "_ProSportWinter"},
    {"Slick", "slick", "WHEEL_SLICK", "_Slick", "_Sport_Slick"},
    {"Snow", "snow", "WHEEL_SNOW", "_Snow", "_Sport_Snow"},
    {"Wet", "wet", "WHEEL_WET", "_Wet", "_Sport_Wet"},
    {"Evo3", "evo3", "WHEEL_WINTEREVO3", "_Evo3", "_WinterEvo3"},
}};

}  // namespace wizard

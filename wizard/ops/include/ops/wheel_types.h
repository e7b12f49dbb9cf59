// The thirteen wheel types in bit order (bit i of CarWheels = type i), with
// the names the scripts use for them.
#pragma once

#include <array>
#include <string_view>

namespace wizard {

struct WheelType {
  std::string_view resource;      // the PARTS.SCR piece defining its tyres
  std::string_view default_tyre;  // the part suffix DefaultTyres names
};

inline constexpr std::array<WheelType, 13> kWheelTypes = {{
    {"WHEEL_CONTACTSPORT", "_ContactSport"},
    {"WHEEL_FULLGRIP356", "_Fullgrip356"},
    {"WHEEL_GRAVEL", "_Sport_Gravel"},
    {"WHEEL_HYPERGRIP200", "_Hypergrip200"},
    {"WHEEL_ICE", "_Sport_Ice"},
    {"WHEEL_INTERMEDIATE", "_Sport_Intermediate"},
    {"WHEEL_MUD", "_Sport_Mud"},
    {"WHEEL_PROSPORT400S", "_ProSport400s"},
    {"WHEEL_PROSPORTWINTER", "_ProSportWinter"},
    {"WHEEL_SLICK", "_Sport_Slick"},
    {"WHEEL_SNOW", "_Sport_Snow"},
    {"WHEEL_WET", "_Sport_Wet"},
    {"WHEEL_WINTEREVO3", "_WinterEvo3"},
}};

}  // namespace wizard

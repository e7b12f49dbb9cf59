// The material scripts and skin scripts of the generic car, as the texts
// stored in the MATERIALS and SKINS resources (CR LF line ends; the tokens
// "TMP", "TMP1" and "TMP2" are filled in when a car is created).
#pragma once

#include <string>
#include <vector>

namespace assetgen {

struct TextAsset {
  std::string name;  // the resource name
  std::string text;
};

// The 34 material scripts in resource order. Each binds its textures with
// $TEXTUREn macros, sets a few options and includes one shader file from
// "..\\..\\..\\Shaders\\". Only the BODY family names "TMP1".
std::vector<TextAsset> MakeMaterials();

// The skin scripts CAR1, CAR2, WHEEL1, WHEEL2.
std::vector<TextAsset> MakeSkins();

// Checks the token rules the writers rely on: "TMP1" occurs in every BODY
// material and in no other, every skin names its painting's token ("TMP1"
// in CAR1 and WHEEL1, "TMP2" in CAR2 and WHEEL2), and "TMP2" occurs nowhere
// else. Returns an empty text, or what is wrong.
std::string CheckTextTokens(const std::vector<TextAsset>& materials,
                            const std::vector<TextAsset>& skins);

}  // namespace assetgen

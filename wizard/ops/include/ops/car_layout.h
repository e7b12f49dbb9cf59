// The files of a new custom car: every folder the create operation makes and
// every file it writes, in the order it makes and writes them, with the
// embedded resource each file comes from.
//
// The car's folder is "Data\Cars\" + ID below the game folder; it holds the
// body mesh, the car-wide textures and materials, the body skin and the five
// scripts, one folder ID + n per painting n, "Parts" for the separate and
// animated parts and "Wheels" for the chosen wheel types.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ops/car_scripts.h"

namespace wizard {

enum class CarFileKind {
  kFolder,    // CreateFolder on `folder`
  kMesh,      // WriteGRMesh: MESHES resource `resource`
  kTexture,   // WriteGRTexture: TEXTURES resource
  kMaterial,  // WriteGRMaterial: MATERIALS resource, painting number `painting`
  kSkin,      // WriteGRSkin: "CAR" or "WHEEL"
  kCarsScript,
  kPartsScript,
  kModelScript,
  kTextsScript,
  kIconsScript,
};

// One step of the create operation.
struct CarFileStep {
  CarFileKind kind = CarFileKind::kFolder;
  // The folder, relative to the game folder and ending in a backslash:
  // "Data\Cars\AB1\Parts\". The folder to create, or the one the file goes to.
  std::string folder;
  std::string resource;   // the resource name ("BLOB", "CAR"), or a number ("102")
  std::string file_name;  // "AB1_Blob.dds"; empty for a folder
  int painting = 0;       // painting number of a painting's material, else 0

  bool operator==(const CarFileStep&) const = default;
};

// Returns the steps of creating `car` in order: the car folder; the body mesh
// (resource 100 + CarParts), 16 textures, 21 materials and the body skin; for
// each painting its folder, 13 materials and 3 textures; the "Parts" folder
// with each chosen part's mesh followed by its "CAR" skin (the exhaust or its
// dummy always); the "Wheels" folder with each chosen wheel type's mesh and
// "WHEEL" skin in bit order; the five scripts. Bits above the known parts
// and wheel types are ignored; CarParts is taken modulo 32 for the body mesh.
std::vector<CarFileStep> CreateCarPlan(const CarScriptSetup& car);

}  // namespace wizard

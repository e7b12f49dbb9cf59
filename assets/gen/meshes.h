// The MESHES resources of the generic car as .3da files: the 32 body meshes
// 100 to 131 (the body with each combination of separate parts cut away),
// the eleven separate-part meshes and the thirteen wheel meshes.
//
// Node names carry the level-of-detail postfix ("Bonnet_0", "Bonnet_1",
// "Bonnet_2"); the body holds the mounting dummies ("DBonnet_0" ...), the
// lamp reflectors and glasses the model script names, and a collision hull.
// Materials are named by the car's tokens ("TMP1_Body.mat",
// "TMP_GlassReflection.mat", ...), which are filled in when a car is made.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

struct BinaryAsset {
  std::string name;  // the resource name ("100", "BONNET", "WHEEL_ICE")
  std::string bytes;
};

// All 56 meshes, or false with `error` set when one cannot be made (a node
// refused by the .3da writer, or "TMP" occurring anywhere but in a material
// or texture name, where filling in the car ID would corrupt the file).
bool MakeMeshes(std::vector<BinaryAsset>& meshes, std::string& error);

// The offsets of every "TMP" in `bytes` that does not lie inside a material
// or texture name of the file's material table; empty for a sound mesh.
std::vector<std::size_t> StrayTokenOffsets(const std::string& bytes);

}  // namespace assetgen

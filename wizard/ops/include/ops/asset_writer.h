// The seam between the create operation and the writers of the embedded car
// assets (meshes, textures, materials, skins): the runner hands each asset
// file of its plan to one function, so the writers can be swapped in tests
// and a build without the assets says so instead of writing anything.
#pragma once

#include <functional>
#include <string_view>

#include "ops/car_layout.h"
#include "ops/car_scripts.h"

namespace wizard {

// Writes the asset file of `step` (kind kMesh, kTexture, kMaterial or kSkin)
// as `folder` + step.file_name, where `folder` is the game folder followed
// by step.folder, then reports it through `progress`. True when the file was
// written; false, without a report, on any failure.
using AssetWriter = std::function<bool(const CarScriptSetup& car, std::string_view folder,
                                       const CarFileStep& step, const ProgressStep& progress)>;

// The writers of the assets embedded in this program; an empty function when
// the program carries no assets (the create operation then refuses to run).
AssetWriter EmbeddedAssetWriter();

}  // namespace wizard

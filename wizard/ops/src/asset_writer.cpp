// The asset writers of this build: the writers of the generic car embedded in
// the program's MESHES, TEXTURES, MATERIALS and SKINS resources.
#include "ops/asset_writer.h"

#include <charconv>

#include "base/resource_store.h"
#include "ops/car_assets.h"

namespace wizard {

namespace {

// The body meshes are numbered resources; every other resource has a name.
std::optional<unsigned> ResourceNumber(std::string_view resource) {
  unsigned number = 0;
  const char* end = resource.data() + resource.size();
  const auto [ptr, ec] = std::from_chars(resource.data(), end, number);
  if (resource.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return number;
}

bool WriteAsset(const CarScriptSetup& car, std::string_view folder, const CarFileStep& step,
                const ProgressStep& progress) {
  switch (step.kind) {
    case CarFileKind::kMesh:
      if (const std::optional<unsigned> number = ResourceNumber(step.resource)) {
        return WriteGRMesh(folder, step.file_name, *number, car.CarID, progress);
      }
      return WriteGRMesh(folder, step.file_name, step.resource, car.CarID, progress);
    case CarFileKind::kTexture:
      return WriteGRTexture(folder, step.file_name, step.resource, progress);
    case CarFileKind::kMaterial:
      return WriteGRMaterial(folder, step.file_name, step.resource, car.CarID, step.painting,
                             progress);
    case CarFileKind::kSkin:
      return WriteGRSkin(folder, step.file_name, step.resource, car.CarID, car.CarPaintingsCount,
                         progress);
    default:
      return false;
  }
}

}  // namespace

AssetWriter EmbeddedAssetWriter() {
  // A program that does not carry the generic car (its resource table lacks
  // the assets) has no writers: nothing would be written.
  if (!FindEmbeddedResource("MESHES", 100u)) return {};
  return WriteAsset;
}

}  // namespace wizard

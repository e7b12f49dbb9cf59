// The create operation's folders and files, in the order they are made.
#include "ops/car_layout.h"

#include <array>
#include <cstdint>
#include <string>

#include "base/custom_cars.h"
#include "ops/wheel_types.h"

namespace wizard {

namespace {

struct ResourceFile {
  std::string_view resource;
  std::string_view suffix;
};

// The car-wide textures and materials, in the order they are written.
constexpr std::array<ResourceFile, 16> kCarTextures = {{
    {"BLOB", "_Blob.dds"},
    {"BODYDIRTMASK", "_BodyDirtMask.dds"},
    {"BODYDIRTMASKGF2", "_BodyDirtMaskGF2.dds"},
    {"GLASS", "_Glass.dds"},
    {"EMPTY", "_Glass_Inside.dds"},
    {"EMPTY", "_GlassBroken_Inside.dds"},
    {"GLASSBROKENMASK", "_GlassBrokenMask.dds"},
    {"EMPTYNORMALS", "_GlassBrokenNormals_Inside.dds"},
    {"GLASSDIRTMASK", "_GlassDirtMask.dds"},
    {"EMPTY", "_GlassDirtMask_Inside.dds"},
    {"GLASSDIRTMASKGF2", "_GlassDirtMaskGF2.dds"},
    {"LIGHT", "_Light.dds"},
    {"LIGHTBROKENMASK", "_LightBrokenMask.dds"},
    {"LIGHTDIRTMASK", "_LightDirtMask.dds"},
    {"LIGHTDIRTMASKGF2", "_LightDirtMaskGF2.dds"},
    {"LIGHTMASK", "_LightMask.dds"},
}};

constexpr std::array<ResourceFile, 21> kCarMaterials = {{
    {"BLOB", "_Blob.mat"},
    {"GLASS_GHOST", "_Glass_GHOST.mat"},
    {"GLASSREFLECTION", "_GlassReflection.mat"},
    {"GLASSREFLECTION_1", "_GlassReflection_1.mat"},
    {"GLASSREFLECTION_2", "_GlassReflection_2.mat"},
    {"GLASSREFLECTION_INSIDE", "_GlassReflection_Inside.mat"},
    {"GLASSREFLECTION_MENU", "_GlassReflection_MENU.mat"},
    {"GLASSREFLECTIONBROKEN", "_GlassReflectionBroken.mat"},
    {"GLASSREFLECTIONBROKEN_1", "_GlassReflectionBroken_1.mat"},
    {"GLASSREFLECTIONBROKEN_2", "_GlassReflectionBroken_2.mat"},
    {"GLASSREFLECTIONBROKEN_INSIDE", "_GlassReflectionBroken_Inside.mat"},
    {"GLASSREFLECTIONBROKEN_MENU", "_GlassReflectionBroken_MENU.mat"},
    {"LIGHT", "_Light.mat"},
    {"LIGHT_1", "_Light_1.mat"},
    {"LIGHT_2", "_Light_2.mat"},
    {"LIGHT_GHOST", "_Light_GHOST.mat"},
    {"LIGHT_MENU", "_Light_MENU.mat"},
    {"LIGHTBROKEN", "_LightBroken.mat"},
    {"LIGHTBROKEN_1", "_LightBroken_1.mat"},
    {"LIGHTBROKEN_2", "_LightBroken_2.mat"},
    {"LIGHTBROKEN_MENU", "_LightBroken_MENU.mat"},
}};

// The files of each painting, named ID + n + suffix.
constexpr std::array<ResourceFile, 13> kPaintingMaterials = {{
    {"BODY", "_Body.mat"},
    {"BODY_1", "_Body_1.mat"},
    {"BODY_2", "_Body_2.mat"},
    {"BODY_GHOST", "_Body_GHOST.mat"},
    {"BODY_MENU", "_Body_MENU.mat"},
    {"BODYOPACITY", "_BodyOpacity.mat"},
    {"BODYOPACITY_1", "_BodyOpacity_1.mat"},
    {"BODYOPACITY_2", "_BodyOpacity_2.mat"},
    {"BODYOPACITY_MENU", "_BodyOpacity_MENU.mat"},
    {"BODYREFLECTION", "_BodyReflection.mat"},
    {"BODYREFLECTION_1", "_BodyReflection_1.mat"},
    {"BODYREFLECTION_2", "_BodyReflection_2.mat"},
    {"BODYREFLECTION_MENU", "_BodyReflection_MENU.mat"},
}};

constexpr std::array<ResourceFile, 3> kPaintingTextures = {{
    {"BODY", "_Body.dds"},
    {"VIS", "_Vis.dds"},
    {"ICON", "_Icon.dds"},
}};

// The separate and animated parts: the bit that brings them and their meshes
// (each mesh file is followed by its skin of the same name with ".skn").
struct PartFiles {
  bool animated;
  std::uint32_t bit;
  std::array<std::string_view, 2> resources;  // the second may be empty
  std::array<std::string_view, 2> suffixes;
};

constexpr std::array<PartFiles, 6> kPartFiles = {{
    {false, kPartBonnet, {"BONNET", ""}, {"_Bonnet", ""}},
    {false, kPartSpoiler, {"SPOILER", ""}, {"_Spoiler", ""}},
    {false, kPartBumpers, {"BUMPERF", "BUMPERR"}, {"_BumperF", "_BumperR"}},
    {false, kPartDoors, {"DOORL", "DOORR"}, {"_DoorL", "_DoorR"}},
    {true, kAnimPartAntenna, {"ANTENNAF", ""}, {"_AntennaF", ""}},
    {true, kAnimPartWipers, {"WIPERL", "WIPERR"}, {"_WiperL", "_WiperR"}},
}};

constexpr int kBodyMeshBase = 100;
constexpr std::uint32_t kBodyMeshVariants = 32;

class PlanBuilder {
 public:
  explicit PlanBuilder(std::vector<CarFileStep>& steps) : steps_(steps) {}

  void Folder(const std::string& folder) {
    steps_.push_back({CarFileKind::kFolder, folder, "", "", 0});
  }
  void File(CarFileKind kind, const std::string& folder, std::string_view resource,
            std::string file_name, int painting = 0) {
    steps_.push_back({kind, folder, std::string(resource), std::move(file_name), painting});
  }
  // A part's mesh and, right after it, its skin.
  void MeshAndSkin(const std::string& folder, const std::string& prefix, std::string_view resource,
                   std::string_view suffix, std::string_view skin) {
    const std::string base = prefix + std::string(suffix);
    File(CarFileKind::kMesh, folder, resource, base + ".3da");
    File(CarFileKind::kSkin, folder, skin, base + ".skn");
  }

 private:
  std::vector<CarFileStep>& steps_;
};

}  // namespace

std::vector<CarFileStep> CreateCarPlan(const CarScriptSetup& car) {
  std::vector<CarFileStep> steps;
  PlanBuilder plan(steps);
  const std::string& id = car.CarID;
  const std::string car_folder = std::string(kCarsFolder) + id + "\\";

  plan.Folder(car_folder);
  const int body_mesh = kBodyMeshBase + static_cast<int>(car.CarParts % kBodyMeshVariants);
  plan.File(CarFileKind::kMesh, car_folder, std::to_string(body_mesh), id + ".3da");
  for (const ResourceFile& texture : kCarTextures) {
    plan.File(CarFileKind::kTexture, car_folder, texture.resource,
              id + std::string(texture.suffix));
  }
  for (const ResourceFile& material : kCarMaterials) {
    plan.File(CarFileKind::kMaterial, car_folder, material.resource,
              id + std::string(material.suffix));
  }
  plan.File(CarFileKind::kSkin, car_folder, "CAR", id + ".skn");

  for (int n = 1; n <= car.CarPaintingsCount; ++n) {
    const std::string painting = id + std::to_string(n);
    const std::string folder = car_folder + painting + "\\";
    plan.Folder(folder);
    for (const ResourceFile& material : kPaintingMaterials) {
      plan.File(CarFileKind::kMaterial, folder, material.resource,
                painting + std::string(material.suffix), n);
    }
    for (const ResourceFile& texture : kPaintingTextures) {
      plan.File(CarFileKind::kTexture, folder, texture.resource,
                painting + std::string(texture.suffix));
    }
  }

  const std::string parts = car_folder + "Parts\\";
  plan.Folder(parts);
  if (car.CarParts & kPartExhaust) {
    plan.MeshAndSkin(parts, id, "EXHAUST", "_Exhaust", "CAR");
  } else {
    plan.MeshAndSkin(parts, id, "EXHAUSTDUMMY", "_ExhaustDummy", "CAR");
  }
  for (const PartFiles& part : kPartFiles) {
    const std::uint32_t bits = part.animated ? car.CarAnimParts : car.CarParts;
    if (!(bits & part.bit)) continue;
    for (std::size_t i = 0; i < part.resources.size(); ++i) {
      if (part.resources[i].empty()) continue;
      plan.MeshAndSkin(parts, id, part.resources[i], part.suffixes[i], "CAR");
    }
  }

  const std::string wheels = car_folder + "Wheels\\";
  plan.Folder(wheels);
  for (std::size_t bit = 0; bit < kWheelTypes.size(); ++bit) {
    if (!(car.CarWheels & (std::uint32_t{1} << bit))) continue;
    plan.MeshAndSkin(wheels, id, kWheelTypes[bit].resource, kWheelTypes[bit].file_suffix, "WHEEL");
  }

  plan.File(CarFileKind::kCarsScript, car_folder, "", "Cars.scr");
  plan.File(CarFileKind::kPartsScript, car_folder, "", "Parts.scr");
  plan.File(CarFileKind::kModelScript, car_folder, "", "Model.scr");
  plan.File(CarFileKind::kTextsScript, car_folder, "", "Texts.scr");
  plan.File(CarFileKind::kIconsScript, car_folder, "", "Icons.scr");
  return steps;
}

}  // namespace wizard

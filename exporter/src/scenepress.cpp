// The exporter's SceneExport operations, its messages and the material
// table.
#include "scenepress/scenepress.h"

#include <cstdarg>

#include "pending_geometry.h"
#include "scenepress/material_file_name.h"
#include "scenepress/material_record.h"
#include "scenepress/resources.h"

namespace scenepress {
namespace {

constexpr size_t kMessageBufferSize = 512;

INT_PTR about_proc(HWND dialog, UINT message, WPARAM w, LPARAM) {
  if (message == WM_COMMAND && LOWORD(w) == IDC_ABOUT_OK) {
    EndDialog(dialog, 1);
    return 1;
  }
  return message == WM_INITDIALOG ? 1 : 0;
}

}  // namespace

Scenepress::Scenepress() {
  materials.reserve(kMaxMaterials);
  parallelGeometry = geometry_threads() > 1;
}

Scenepress::~Scenepress() = default;

const char* Scenepress::Ext(int n) {
  return n == 0 ? GetString(IDS_EXTENSION) : "";
}

const char* Scenepress::LongDesc() {
  return GetString(IDS_LONG_DESC);
}

const char* Scenepress::ShortDesc() {
  return GetString(IDS_SHORT_DESC);
}

const char* Scenepress::AuthorName() {
  return GetString(IDS_AUTHOR);
}

const char* Scenepress::CopyrightMessage() {
  return GetString(IDS_COPYRIGHT);
}

void Scenepress::ShowAbout(HWND parent) {
  DialogBoxParam(module_handle(), about_dialog(), parent, about_proc, 0);
}

bool Scenepress::SupportsOptions(int, uint32_t options) {
  return options == SCENE_EXPORT_SELECTED;
}

void Scenepress::ShowMessage(const char* format, ...) {
  char text[kMessageBufferSize];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof(text), format, args);
  va_end(args);
  Output([this, message = std::string(text)] {
    errorFlag = 1;
    MessageBox(ip != nullptr ? ip->GetMAXHWnd() : nullptr, message.c_str(), "Error...",
               MB_OK | MB_ICONERROR);
  });
}

int Scenepress::AddMaterial(const model3da::MaterialRecord& record) {
  for (size_t i = 0; i < materials.size(); ++i) {
    if (model3da::material_records_equal(materials[i], record)) return int(i);
  }
  if (materials.size() >= kMaxMaterials) return -1;
  materials.push_back(record);
  return int(materials.size() - 1);
}

int Scenepress::MaterialIndex(Mtl* material, int face_material_id, std::string_view node_name) {
  const FaceMaterial face = face_material(material, face_material_id);
  if (face.empty_multi != nullptr) {
    ShowMessage("Material [%s] has no diffuse texture assigned!",
                face.empty_multi->GetName().c_str());
    return int(model3da::kNoMaterial);
  }
  if (face.material == nullptr) return int(model3da::kNoMaterial);
  const MaterialBuild build = build_material_record(face.material, face.diffuse);
  for (const std::string& warning : build.warnings) ShowMessage("%s", warning.c_str());
  if (!build.error.empty()) {
    ShowMessage("%s", build.error.c_str());
    return -1;
  }
  if (build.record.textureCount == 0) return int(model3da::kNoMaterial);
  // The record's name becomes a file in the output folder.
  if (!writeMaterialScripts) {
    const std::string name = face.material->GetName();
    if (const std::string fault = material_file_name_fault(name); !fault.empty()) {
      ShowMessage(
          "Material [%s] of node [%.*s] cannot name its .mat script: %s; rename the material",
          name.c_str(), int(node_name.size()), node_name.data(), fault.c_str());
      return -1;
    }
  }
  const int index = AddMaterial(build.record);
  if (index < 0) {
    ShowMessage("Too many materials: material [%s] does not fit the table of %d entries",
                face.material->GetName().c_str(), int(kMaxMaterials));
  }
  return index;
}

}  // namespace scenepress

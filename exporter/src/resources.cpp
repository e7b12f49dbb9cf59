// The string table and the dialog templates.
#include "scenepress/resources.h"

#include <atomic>

namespace scenepress {
namespace {

std::atomic<HINSTANCE> loaded_module{nullptr};

struct StringEntry {
  int id;
  const char* text;
};

constexpr StringEntry kStrings[] = {
    {IDS_CLASS_NAME, "Scenepress SceneExport"},
    {IDS_PARAMS, "Parameters"},
    {IDS_SPIN, "Simple Parameter"},
    {IDS_LIBDESCRIPTION, "blah blah"},
    {IDS_EXTENSION, "3da"},
    {IDS_SHORT_DESC, "Scenepress format"},
    {IDS_LONG_DESC, "Scenepress Format, Version 1.0 for use with 3D Studio MAX R3"},
    {IDS_AUTHOR, "blah blah"},
    {IDS_COPYRIGHT, "Scenepress, part of the Gravelmoor modding tool set"},
};

DialogControl control(int id, ControlKind kind, const char* text, bool group = false,
                      bool disabled = false) {
  return DialogControl{id, kind, text, group, disabled};
}

}  // namespace

const char* GetString(int id) {
  if (loaded_module.load() == nullptr) return nullptr;
  for (const StringEntry& entry : kStrings) {
    if (entry.id == id) return entry.text;
  }
  return nullptr;
}

const DialogTemplate& about_dialog() {
  static const DialogTemplate dialog{
      IDD_ABOUT,
      "About",
      186,
      68,
      "MS Sans Serif",
      8,
      {control(IDC_ABOUT_OK, ControlKind::kDefPushButton, "OK"),
       control(-1, ControlKind::kStatic,
               "Scenepress: .3da models, .mat shader scripts and an export log "
               "for the Gravelmoor modding tool set")}};
  return dialog;
}

const DialogTemplate& config_dialog() {
  using K = ControlKind;
  static const DialogTemplate dialog{
      IDD_CONFIG,
      "Config",
      186,
      270,
      "MS Sans Serif",
      8,
      {control(-1, K::kGroupBox, "Lighting type"),
       control(IDC_NO_LIGHTING, K::kAutoRadioButton, "No lighting", true),
       control(IDC_PER_VERTEX, K::kAutoRadioButton, "Pervertex dynamic lighting"),
       control(IDC_PER_PIXEL, K::kAutoRadioButton, "Perpixel dynamic lighting", false, true),
       control(-1, K::kGroupBox, "Export type"),
       control(IDC_NORMAL, K::kAutoRadioButton, "Normal", true),
       control(IDC_NO_ANIMATION, K::kAutoRadioButton, "No animation"),
       control(IDC_NO_GEOMETRY, K::kAutoRadioButton, "No geometry"),
       control(-1, K::kGroupBox, "Morph Source"),
       control(IDC_MORPH_TARGET, K::kAutoCheckBox, "Export morph target data", true),
       control(IDC_MORPH_SOURCE, K::kAutoCheckBox, "Export moprh source data"),
       control(IDC_TCOORD0, K::kAutoCheckBox, "Export tcoord 0"),
       control(IDC_TCOORD1, K::kAutoCheckBox, "Export tcoord 1"),
       control(IDC_TCOORD2, K::kAutoCheckBox, "Export tcoord 2"),
       control(IDC_TCOORD3, K::kAutoCheckBox, "Export tcoord 3"),
       control(IDC_MATERIAL_SCRIPT, K::kAutoCheckBox, "Export material script"),
       control(IDOK, K::kDefPushButton, "OK", true)}};
  return dialog;
}

HINSTANCE module_handle() {
  return loaded_module.load();
}

void set_module_handle(HINSTANCE instance) {
  loaded_module.store(instance);
}

}  // namespace scenepress

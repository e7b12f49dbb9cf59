// The export options: the options script "scenepress.ini", or the options
// dialog (103).
#include <memory>

#include "scenepress/resources.h"
#include "scenepress/scene_order.h"
#include "scenepress/scenepress.h"
#include "script/ctcparse.h"

namespace scenepress {
namespace {

// The first parameter of a statement when it is a string, else null.
const std::string* first_string(const CTCPARSE_KEYWORD& keyword) {
  const CTCPARSE_PARAM* p = keyword.parameters.get();
  if (p == nullptr || p->type != CTCPARSE_PARAM::kString) return nullptr;
  return &static_cast<const CTCPARSE_STRING*>(p)->value;
}

bool is_value(const std::string* value, const char* text) {
  return value != nullptr && compare_no_case(*value, text) == 0;
}

}  // namespace

int Scenepress::ReadOptions() {
  lightingType = 0;
  noGeometry = 0;
  noAnimation = 0;
  morphSource = 0;
  morphTarget = 0;
  const std::string path = ip->GetDir(APP_PLUGCFG_DIR) + "\\" + "scenepress.ini";
  CTCParse parser(path.c_str());
  if (!parser.has_data()) return 0;
  bool error = false;
  std::unique_ptr<CTCPARSE_KEYWORD> statements = parser.parse(&error);
  if (error || !statements) return 0;
  for (const CTCPARSE_KEYWORD* k = statements.get(); k != nullptr; k = k->next.get()) {
    const std::string* value = first_string(*k);
    if (k->is("LightingType")) {
      if (is_value(value, "no lighting")) lightingType = 0;
      if (is_value(value, "per vertex")) lightingType = 1;
      if (is_value(value, "per pixel")) lightingType = 2;
    } else if (k->is("NoGeometry")) {
      noGeometry = 1;
    } else if (k->is("NoAnimation")) {
      noAnimation = 1;
    } else if (k->is("Morphing")) {
      if (is_value(value, "src")) {
        morphSource = 1;
        morphTarget = 0;
      } else if (is_value(value, "dst")) {
        morphSource = 0;
        morphTarget = 1;
      }
    }
  }
  return 1;
}

// The options dialog's procedure; the exporter rides in the window's user
// data from the opening message on.
INT_PTR config_dialog_proc(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  auto* exporter = reinterpret_cast<Scenepress*>(GetWindowLongPtr(dialog, GWLP_USERDATA));
  if (message == WM_INITDIALOG) {
    exporter = reinterpret_cast<Scenepress*>(l);
    SetWindowLongPtr(dialog, GWLP_USERDATA, l);
    CheckDlgButton(dialog, IDC_NO_LIGHTING, BST_CHECKED);
    CheckDlgButton(dialog, IDC_NORMAL, BST_CHECKED);
    CheckDlgButton(dialog, IDC_MATERIAL_SCRIPT, BST_UNCHECKED);
    const int tcoords[4] = {IDC_TCOORD0, IDC_TCOORD1, IDC_TCOORD2, IDC_TCOORD3};
    for (int i = 0; i < 4; ++i) {
      CheckDlgButton(dialog, tcoords[i], exporter->exportTexCoord[size_t(i)] ? BST_CHECKED : 0);
    }
    CheckDlgButton(dialog, IDC_MORPH_SOURCE, exporter->morphSource ? BST_CHECKED : 0);
    CheckDlgButton(dialog, IDC_MORPH_TARGET, exporter->morphTarget ? BST_CHECKED : 0);
    return 1;
  }
  if (exporter == nullptr) return 0;
  if (message == WM_DESTROY) {
    SetWindowLongPtr(dialog, GWLP_USERDATA, 0);
    return 0;
  }
  if (message != WM_COMMAND) return 0;
  const auto checked = [&](int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; };
  switch (LOWORD(w)) {
    case IDC_MORPH_SOURCE:
      EnableWindow(GetDlgItem(dialog, IDC_MORPH_TARGET), !checked(IDC_MORPH_SOURCE));
      return 1;
    case IDC_MORPH_TARGET:
      EnableWindow(GetDlgItem(dialog, IDC_MORPH_SOURCE), !checked(IDC_MORPH_TARGET));
      return 1;
    case IDOK:
      exporter->lightingType = checked(IDC_PER_VERTEX) ? 1 : (checked(IDC_PER_PIXEL) ? 2 : 0);
      exporter->noAnimation = checked(IDC_NO_ANIMATION);
      exporter->noGeometry = checked(IDC_NO_GEOMETRY);
      exporter->writeMaterialScripts = checked(IDC_MATERIAL_SCRIPT) ? 0 : 1;
      exporter->exportTexCoord = {checked(IDC_TCOORD0), checked(IDC_TCOORD1), checked(IDC_TCOORD2),
                                  checked(IDC_TCOORD3)};
      exporter->morphSource = checked(IDC_MORPH_SOURCE);
      exporter->morphTarget = checked(IDC_MORPH_TARGET);
      EndDialog(dialog, 1);
      return 1;
    case IDCANCEL:
      EndDialog(dialog, 0);
      return 1;
    default:
      return 0;
  }
}

}  // namespace scenepress

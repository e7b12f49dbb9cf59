// The plug-in's resources: its string table, the About box (102) and the
// options dialog (103) with their control ids, and the module handle the
// host loaded it under.
#pragma once

#include "host/ui.h"

namespace scenepress {

inline constexpr int IDS_CLASS_NAME = 1;
inline constexpr int IDS_PARAMS = 2;
inline constexpr int IDS_SPIN = 3;
inline constexpr int IDS_LIBDESCRIPTION = 4;
inline constexpr int IDS_EXTENSION = 5;
inline constexpr int IDS_SHORT_DESC = 6;
inline constexpr int IDS_LONG_DESC = 7;
inline constexpr int IDS_AUTHOR = 8;
inline constexpr int IDS_COPYRIGHT = 9;

inline constexpr int IDD_ABOUT = 102;
inline constexpr int IDD_CONFIG = 103;

inline constexpr int IDC_ABOUT_OK = 1001;
inline constexpr int IDC_NO_LIGHTING = 1005;
inline constexpr int IDC_PER_VERTEX = 1006;
inline constexpr int IDC_PER_PIXEL = 1007;
inline constexpr int IDC_NORMAL = 1011;
inline constexpr int IDC_NO_ANIMATION = 1012;
inline constexpr int IDC_NO_GEOMETRY = 1013;
inline constexpr int IDC_MATERIAL_SCRIPT = 1014;
inline constexpr int IDC_TCOORD0 = 1020;
inline constexpr int IDC_TCOORD1 = 1021;
inline constexpr int IDC_TCOORD3 = 1022;
inline constexpr int IDC_TCOORD2 = 1023;
inline constexpr int IDC_MORPH_SOURCE = 1025;
inline constexpr int IDC_MORPH_TARGET = 1027;

// The text of string `id`, or null when the module handle is not known yet
// or the table has no such string. The text stays valid for the whole run.
const char* GetString(int id);

const DialogTemplate& about_dialog();
const DialogTemplate& config_dialog();

// The handle the plug-in was loaded under (set by the library's attach
// code; null before).
HINSTANCE module_handle();
void set_module_handle(HINSTANCE instance);

}  // namespace scenepress

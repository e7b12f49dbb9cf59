// The super class ids and class ids that the host and its plug-ins share.
#pragma once

#include "host/types.h"

// Super class ids.
inline constexpr SClass_ID GEN_DERIVOB_CLASS_ID = 0x0002;
inline constexpr SClass_ID GEOMOBJECT_CLASS_ID = 0x0010;
inline constexpr SClass_ID CAMERA_CLASS_ID = 0x0020;
inline constexpr SClass_ID LIGHT_CLASS_ID = 0x0030;
inline constexpr SClass_ID SHAPE_CLASS_ID = 0x0040;
inline constexpr SClass_ID HELPER_CLASS_ID = 0x0050;
inline constexpr SClass_ID OSM_CLASS_ID = 0x0810;  // modifiers
inline constexpr SClass_ID MATERIAL_CLASS_ID = 0x0C00;
inline constexpr SClass_ID TEXMAP_CLASS_ID = 0x0C10;
inline constexpr SClass_ID SCENE_EXPORT_CLASS_ID = 0x0A20;
inline constexpr SClass_ID CTRL_FLOAT_CLASS_ID = 0x9003;
inline constexpr SClass_ID CTRL_POSITION_CLASS_ID = 0x900B;
inline constexpr SClass_ID CTRL_ROTATION_CLASS_ID = 0x900C;
inline constexpr SClass_ID CTRL_SCALE_CLASS_ID = 0x900D;
inline constexpr SClass_ID CTRL_MATRIX3_CLASS_ID = 0x9008;

// Objects.
inline constexpr Class_ID TRIOBJ_CLASS_ID{0x0009, 0};
inline constexpr Class_ID DUMMY_CLASS_ID{0x876234, 0};
inline constexpr Class_ID POINTHELP_CLASS_ID{0x2013, 0};
inline constexpr Class_ID DERIVOB_CLASS_ID{0x0001, 0};

// Transform controllers.
inline constexpr Class_ID PRS_CONTROL_CLASS_ID{0x2005, 0};
inline constexpr Class_ID BIPSLAVE_CONTROL_CLASS_ID{0x9154, 0};
inline constexpr Class_ID BIPBODY_CONTROL_CLASS_ID{0x9156, 0};
inline constexpr Class_ID FOOTPRINT_CLASS_ID{0x3011, 0};

// Position, rotation, scale and float controllers.
inline constexpr Class_ID TCBINTERP_POSITION_CLASS_ID{0x442312, 0};
inline constexpr Class_ID LININTERP_POSITION_CLASS_ID{0x2002, 0};
inline constexpr Class_ID HYBRIDINTERP_POSITION_CLASS_ID{0x2008, 0};  // Bezier
inline constexpr Class_ID TCBINTERP_ROTATION_CLASS_ID{0x442313, 0};
inline constexpr Class_ID LININTERP_ROTATION_CLASS_ID{0x2003, 0};
inline constexpr Class_ID HYBRIDINTERP_ROTATION_CLASS_ID{0x2009, 0};
inline constexpr Class_ID EULER_CONTROL_CLASS_ID{0x2012, 0};
inline constexpr Class_ID TCBINTERP_SCALE_CLASS_ID{0x442315, 0};
inline constexpr Class_ID LININTERP_SCALE_CLASS_ID{0x2004, 0};
inline constexpr Class_ID HYBRIDINTERP_SCALE_CLASS_ID{0x2010, 0};
inline constexpr Class_ID TCBINTERP_FLOAT_CLASS_ID{0x442311, 0};
inline constexpr Class_ID LININTERP_FLOAT_CLASS_ID{0x2001, 0};
inline constexpr Class_ID HYBRIDINTERP_FLOAT_CLASS_ID{0x2007, 0};

// Materials and maps.
inline constexpr Class_ID DMTL_CLASS_ID{0x0002, 0};  // standard material
inline constexpr Class_ID MULTI_CLASS_ID{0x0200, 0};
inline constexpr Class_ID BMTEX_CLASS_ID{0x0240, 0};
inline constexpr Class_ID COMPOSITE_CLASS_ID{0x0280, 0};
inline constexpr Class_ID RGBMULT_CLASS_ID{0x0290, 0};
inline constexpr Class_ID CHECKER_CLASS_ID{0x0261, 0};
inline constexpr Class_ID NOISE_CLASS_ID{0x0234, 0};

// Modifiers and their interfaces.
inline constexpr Class_ID PHYSIQUE_CLASS_ID{0x0100, 0};
inline constexpr uint32_t I_PHYINTERFACE = 0x100100;

// Sub-texmap slot of the diffuse map of a standard material.
inline constexpr int ID_DI = 1;

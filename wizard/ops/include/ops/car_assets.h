// The generic car's assets written into a new car's folders: meshes,
// textures, material scripts and skin scripts, taken from the program's
// MESHES, TEXTURES, MATERIALS and SKINS resources and named after the car.
//
// In the stored assets "TMP" stands for the car ID, "TMP1" (materials) for
// the car ID followed by a painting number and "TMP2" (skins) for the
// paintings after the first. Each writer writes `folder` + `file_name` (a
// game path; the folder must exist), replacing any older file completely,
// and then reports `file_name` through `progress`. It
// returns true when the file was written; false, without a report, when the
// resource is missing, the car ID is not three characters or the file cannot
// be written. Files are replaced atomically, so a failure leaves an older
// file as it was and never a partial one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ops/car_scripts.h"

namespace wizard {

// The mesh as written for `car_id`: the resource's bytes with every "TMP"
// overwritten by the three-character ID, so every offset inside the .3da file
// stays valid and the length is the resource's. Nothing when the resource is
// missing or the ID is not three characters long.
std::optional<std::string> MakeGRMesh(std::string_view resource, std::string_view car_id);
std::optional<std::string> MakeGRMesh(unsigned resource_number, std::string_view car_id);

// The material script as written: "TMP1" becomes the ID followed by
// `painting` (0 when the caller has none), then "TMP" the ID, then every NUL
// a blank. Nothing is appended, so painting numbers 0 to 9 keep the
// resource's length.
std::optional<std::string> MakeGRMaterial(std::string_view resource, std::string_view car_id,
                                          int painting = 0);

// The skin script as written for a car with `paintings_count` paintings
// (`kind` "CAR" or "WHEEL"): the first template (kind + "1"), then for each
// painting p from 2 on a copy of the second (kind + "2") with "TMP2" turned
// into "TMP" followed by p; then "TMP" becomes the ID, NULs blanks, and the
// text ends with one CR LF more than the templates.
std::optional<std::string> MakeGRSkin(std::string_view kind, std::string_view car_id,
                                      int paintings_count);

// Write the asset as `folder` + `file_name` (see the top of this file).
bool WriteGRMesh(std::string_view folder, std::string_view file_name, std::string_view resource,
                 std::string_view car_id, const ProgressStep& progress = {});
bool WriteGRMesh(std::string_view folder, std::string_view file_name, unsigned resource_number,
                 std::string_view car_id, const ProgressStep& progress = {});
// Textures carry no tokens: the file is the resource byte for byte.
bool WriteGRTexture(std::string_view folder, std::string_view file_name, std::string_view resource,
                    const ProgressStep& progress = {});
bool WriteGRMaterial(std::string_view folder, std::string_view file_name, std::string_view resource,
                     std::string_view car_id, int painting = 0, const ProgressStep& progress = {});
bool WriteGRSkin(std::string_view folder, std::string_view file_name, std::string_view kind,
                 std::string_view car_id, int paintings_count, const ProgressStep& progress = {});

}  // namespace wizard

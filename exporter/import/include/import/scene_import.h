// Scene import: a scene file of a common interchange format (glTF, FBX,
// COLLADA, OBJ, 3DS and the others Assimp reads) turned into the host
// layer's in-memory scene, as a modeller would have built it in the host.
//
// Axes. Interchange files are Y-up; the host is Z-up. A source point
// (x, y, z) becomes the host point (x, -z, y), and rotations, transforms and
// scales follow the same change of axes. The exporter turns host (x, y, z)
// into file (x, z, -y), so an exported .3da has the source file's own axes.
//
// What the host scene holds:
// - one node per source node, with its name and local transform as the
//   node's position/rotation/scale controller; a stretch the controller
//   cannot carry (scale along rotated axes) goes to the object offset;
// - a triangle mesh for a node with meshes: one material id per source mesh,
//   texture coordinate sets 0 to 3 in map channels 1 to 4, vertex colours
//   in channel 0 and their alpha in the alpha channel, smoothing groups from
//   the source normals; a dummy with a box for a node without meshes;
//   cameras and lights as objects the exporter does not write;
// - standard materials (a multi/sub-object material for a node with several)
//   with a bitmap diffuse map;
// - the chosen animation clip as linear keys, in ticks (4800 per second);
// - a Physique modifier with rigid-blended vertices for a skinned mesh.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/scene.h"

namespace scene_import {

// Host time: ticks per second, whatever the frame rate.
inline constexpr int kTicksPerSecond = 4800;

struct ImportOptions {
  // The animation clip, by name or by index; empty: the first clip.
  std::string animation;
  // Gives a mesh without texture coordinates a box-projected map channel 1.
  bool uvw_map_box = false;
  // Shortens node and material names that the exporter cannot store.
  bool shorten_names = false;
  // Asked once the file is read (Assimp cannot be stopped while it reads);
  // true ends the import.
  std::function<bool()> cancelled;
};

// An image embedded in the scene file, to be written beside the export under
// `file_name` (a plain file name that the bitmap map names).
struct EmbeddedImage {
  std::string file_name;
  std::vector<uint8_t> bytes;
};

struct Rename {
  std::string kind;  // "node" or "material"
  std::string from, to;
};

struct ImportResult {
  // "<file>: <reason>" when the import failed; empty on success.
  std::string error;
  std::unique_ptr<host::Scene> scene;
  // The clip taken ("" when the file has none) and its frame rate.
  std::string animation;
  int frame_rate = 30;
  std::vector<EmbeddedImage> images;
  // Nodes whose mesh got a box-projected map (--uvw-map box).
  std::vector<std::string> box_mapped;
  std::vector<Rename> renamed;
  // What the host scene does not keep of the source (one sentence each).
  std::vector<std::string> notes;

  bool ok() const { return error.empty(); }
  // Ticks per frame of the clip's frame rate.
  int ticks_per_frame() const { return kTicksPerSecond / frame_rate; }
};

// Reads the scene file at `path` and builds the host scene. A file Assimp
// cannot read, an animation that the file does not have, or a cancel give
// an error naming the file.
ImportResult import_scene(const std::filesystem::path& path, const ImportOptions& options);

// Writes the embedded images into `folder`, replacing files of the same
// names. Returns "" or an error naming the file that could not be written.
std::string write_embedded_images(const std::vector<EmbeddedImage>& images,
                                  const std::filesystem::path& folder);

// The host scene as text, one node a line with its object, mesh, material,
// skin and controllers indented below it.
std::string scene_tree(host::Scene& scene);

}  // namespace scene_import

// Mesh: a triangle mesh with vertices, faces (smoothing groups and material
// ids), and map channels of map vertices and map faces.
//
// Channel 0 holds vertex colours, channels 1 and up texture coordinates;
// the hidden channel MAP_ALPHA (-2) holds vertex alpha. A channel is
// supported when it has map faces, one per face.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "host/host_api.h"
#include "host/point3.h"

inline constexpr int MAP_SHADING = -1;
inline constexpr int MAP_ALPHA = -2;
inline constexpr int NUM_HIDDENMAPS = 2;

class HOSTAPI Face {
 public:
  uint32_t v[3] = {0, 0, 0};
  uint32_t smGroup = 0;
  uint16_t matID = 0;

  uint16_t getMatID() const { return matID; }
  void setMatID(uint16_t id) { matID = id; }
  uint32_t getSmGroup() const { return smGroup; }
};

class HOSTAPI TVFace {
 public:
  uint32_t t[3] = {0, 0, 0};
};

struct HOSTAPI MeshMap {
  std::vector<UVVert> tv;
  std::vector<TVFace> tf;
};

class HOSTAPI Mesh {
 public:
  std::vector<Point3> verts;
  std::vector<Face> faces;

  int getNumVerts() const { return int(verts.size()); }
  int getNumFaces() const { return int(faces.size()); }
  const Point3& getVert(int i) const { return verts[size_t(i)]; }

  // Channels 0 .. getNumMaps() - 1, plus MAP_SHADING and MAP_ALPHA.
  int getNumMaps() const { return int(maps_.size()); }
  void setNumMaps(int count);
  // True when channel mp exists and has one map face per face.
  bool mapSupport(int mp) const;
  int getNumMapVerts(int mp) const;
  // The map vertices and faces of channel mp, or null when it has none.
  const UVVert* mapVerts(int mp) const;
  const TVFace* mapFaces(int mp) const;
  // The channel itself (null for a channel outside the mesh's maps).
  MeshMap* Map(int mp);
  const MeshMap* Map(int mp) const;

  // Channel 1 under its older names.
  int getNumTVerts() const { return getNumMapVerts(1); }

  // The face's normal, (v1 - v0) × (v2 - v0), normalised when asked.
  Point3 FaceNormal(int f, bool normalize = false) const;

  // Removes faces that use one vertex twice; map faces go with them.
  void RemoveDegenerateFaces();
  // Removes faces naming a vertex outside the mesh, and faces whose map face
  // names a map vertex outside its channel.
  void RemoveIllegalFaces();
  // Removes map vertices that no map face uses, renumbering the map faces.
  void DeleteIsoMapVerts();

 private:
  void remove_faces(const std::vector<uint8_t>& remove);  // 1 = remove

  std::vector<MeshMap> maps_;
  std::array<MeshMap, NUM_HIDDENMAPS> hidden_;
};

// Mesh channels and the clean-up operations.
#include "host/mesh.h"

#include <algorithm>

void Mesh::setNumMaps(int count) {
  maps_.resize(size_t(std::max(count, 0)));
}

MeshMap* Mesh::Map(int mp) {
  if (mp < 0) return mp >= -NUM_HIDDENMAPS ? &hidden_[size_t(-mp - 1)] : nullptr;
  return mp < int(maps_.size()) ? &maps_[size_t(mp)] : nullptr;
}

const MeshMap* Mesh::Map(int mp) const {
  return const_cast<Mesh*>(this)->Map(mp);
}

bool Mesh::mapSupport(int mp) const {
  const MeshMap* map = Map(mp);
  return map != nullptr && !map->tf.empty() && map->tf.size() == faces.size();
}

int Mesh::getNumMapVerts(int mp) const {
  const MeshMap* map = Map(mp);
  return map != nullptr ? int(map->tv.size()) : 0;
}

const UVVert* Mesh::mapVerts(int mp) const {
  const MeshMap* map = Map(mp);
  return map != nullptr && !map->tv.empty() ? map->tv.data() : nullptr;
}

const TVFace* Mesh::mapFaces(int mp) const {
  const MeshMap* map = Map(mp);
  return map != nullptr && !map->tf.empty() ? map->tf.data() : nullptr;
}

Point3 Mesh::FaceNormal(int f, bool normalize) const {
  const Face& face = faces[size_t(f)];
  const Point3 n =
      CrossProd(verts[face.v[1]] - verts[face.v[0]], verts[face.v[2]] - verts[face.v[0]]);
  return normalize ? Normalize(n) : n;
}

void Mesh::remove_faces(const std::vector<uint8_t>& remove) {
  auto keep = [&](auto& list) {
    if (list.size() != remove.size()) return;
    size_t out = 0;
    for (size_t i = 0; i < list.size(); ++i)
      if (remove[i] == 0) list[out++] = list[i];
    list.resize(out);
  };
  for (MeshMap& map : maps_) keep(map.tf);
  for (MeshMap& map : hidden_) keep(map.tf);
  keep(faces);
}

void Mesh::RemoveDegenerateFaces() {
  // The flags are made only once a face is to go; most meshes keep all.
  std::vector<uint8_t> remove;
  for (size_t i = 0; i < faces.size(); ++i) {
    const uint32_t* v = faces[i].v;
    if (v[0] == v[1] || v[1] == v[2] || v[0] == v[2]) {
      if (remove.empty()) remove.resize(faces.size());
      remove[i] = 1;
    }
  }
  if (!remove.empty()) remove_faces(remove);
}

void Mesh::RemoveIllegalFaces() {
  std::vector<uint8_t> remove;
  auto flag = [&](size_t i) {
    if (remove.empty()) remove.resize(faces.size());
    remove[i] = 1;
  };
  const size_t vertex_count = verts.size();
  for (size_t i = 0; i < faces.size(); ++i) {
    const uint32_t* v = faces[i].v;
    if (v[0] >= vertex_count || v[1] >= vertex_count || v[2] >= vertex_count) flag(i);
  }
  // A channel whose map faces do not match the faces is not checked.
  auto check = [&](const MeshMap& map) {
    if (map.tf.size() != faces.size()) return;
    const size_t map_vertex_count = map.tv.size();
    for (size_t i = 0; i < map.tf.size(); ++i) {
      const uint32_t* t = map.tf[i].t;
      if (t[0] >= map_vertex_count || t[1] >= map_vertex_count || t[2] >= map_vertex_count) {
        flag(i);
      }
    }
  };
  for (const MeshMap& map : maps_) check(map);
  for (const MeshMap& map : hidden_) check(map);
  if (!remove.empty()) remove_faces(remove);
}

void Mesh::DeleteIsoMapVerts() {
  auto clean = [](MeshMap& map) {
    const size_t count = map.tv.size();
    if (count == 0) return;
    std::vector<uint32_t> renumber(count, UINT32_MAX);
    for (const TVFace& f : map.tf)
      for (uint32_t t : f.t)
        if (t < count) renumber[t] = 0;
    uint32_t next = 0;
    for (size_t i = 0; i < count; ++i) {
      if (renumber[i] == UINT32_MAX) continue;
      renumber[i] = next;
      map.tv[next++] = map.tv[i];
    }
    // With every map vertex in use the numbering stays as it is.
    if (next == count) return;
    map.tv.resize(next);
    for (TVFace& f : map.tf)
      for (uint32_t& t : f.t)
        if (t < count) t = renumber[t];
  };
  for (MeshMap& map : maps_) clean(map);
  for (MeshMap& map : hidden_) clean(map);
}

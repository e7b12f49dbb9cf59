// Meshes from hand-made source meshes: welding, material ids, map channels,
// smoothing groups checked against the exporter's smoothing rule, and the
// box-projected map.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <set>

#include "mesh_import.h"
#include "smoothing_groups.h"
#include "uvw_box_map.h"

namespace scene_import {
namespace {

using Faces = std::vector<std::array<uint32_t, 3>>;

// The faces whose normals the exporter adds to the corner's: the closure
// over the faces at the vertex whose groups meet the growing mask.
std::set<size_t> smoothed_with(const Faces& faces, const std::vector<uint32_t>& groups, size_t f,
                               uint32_t vertex) {
  std::vector<size_t> at;
  for (size_t g = 0; g < faces.size(); ++g) {
    for (uint32_t v : faces[g])
      if (v == vertex) at.push_back(g);
  }
  uint32_t mask = groups[f];
  for (bool grew = true; grew;) {
    grew = false;
    for (size_t g : at) {
      if ((groups[g] & mask) != 0 && (groups[g] | mask) != mask) {
        mask |= groups[g];
        grew = true;
      }
    }
  }
  std::set<size_t> out{f};
  for (size_t g : at)
    if ((groups[g] & mask) != 0) out.insert(g);
  return out;
}

// Checks that at every corner the exporter smooths exactly with the faces
// that have the same source normal at that vertex.
void expect_source_smoothing(const Faces& faces, const std::vector<Point3>& normals,
                             const std::vector<uint32_t>& groups) {
  for (size_t f = 0; f < faces.size(); ++f) {
    for (int c = 0; c < 3; ++c) {
      const uint32_t v = faces[f][size_t(c)];
      std::set<size_t> same{f};
      for (size_t g = 0; g < faces.size(); ++g) {
        for (int d = 0; d < 3; ++d) {
          if (faces[g][size_t(d)] != v) continue;
          if (DotProd(Normalize(normals[f * 3 + size_t(c)]),
                      Normalize(normals[g * 3 + size_t(d)])) > 0.9995f) {
            same.insert(g);
          }
        }
      }
      EXPECT_EQ(smoothed_with(faces, groups, f, v), same) << "face " << f << " vertex " << v;
    }
  }
}

// A prism over a regular polygon: smooth sides, flat caps.
struct Prism {
  std::vector<Point3> verts;
  Faces faces;
  std::vector<Point3> normals;  // per corner
};

Prism make_prism(int sides) {
  Prism p;
  const float step = 2.0f * 3.14159265f / float(sides);
  for (int ring = 0; ring < 2; ++ring) {
    for (int i = 0; i < sides; ++i) {
      p.verts.emplace_back(std::cos(step * float(i)), std::sin(step * float(i)), float(ring));
    }
  }
  const auto radial = [&](uint32_t v) { return Normalize(Point3(p.verts[v].x, p.verts[v].y, 0)); };
  const auto add = [&](std::array<uint32_t, 3> face, bool side, float cap) {
    p.faces.push_back(face);
    for (uint32_t v : face) p.normals.push_back(side ? radial(v) : Point3(0, 0, cap));
  };
  const uint32_t n = uint32_t(sides);
  for (uint32_t i = 0; i < n; ++i) {
    const uint32_t j = (i + 1) % n;
    add({i, j, j + n}, true, 0);
    add({i, j + n, i + n}, true, 0);
  }
  for (uint32_t i = 1; i + 1 < n; ++i) {
    add({0, i + 1, i}, false, -1);
    add({n, n + i, n + i + 1}, false, 1);
  }
  return p;
}

TEST(SmoothingGroupsTest, HardAndSoftEdgesOfAPrismSurviveTheExportersSmoothing) {
  const Prism prism = make_prism(8);
  const SmoothingResult result = smoothing_groups(prism.faces, prism.normals, prism.verts.size());
  EXPECT_EQ(result.shared, 0u);
  expect_source_smoothing(prism.faces, prism.normals, result.groups);
  // The sides are one region; each cap is one too and, touching the sides,
  // has another group (the caps do not meet and may share one).
  const uint32_t side = result.groups[0];
  for (size_t f = 0; f < 16; ++f) EXPECT_EQ(result.groups[f], side);
  for (size_t f = 16; f < prism.faces.size(); ++f) {
    EXPECT_NE(result.groups[f], 0u);
    EXPECT_EQ(result.groups[f] & side, 0u);
  }
}

TEST(SmoothingGroupsTest, FlatFacesAloneGetNoGroupAndManyRegionsShareBits) {
  // A fan of triangles around a centre, every pair of neighbours one flat
  // region tilted its own way: 40 regions meet at the centre.
  const int pairs = 40;
  Faces faces;
  std::vector<Point3> normals;
  const uint32_t ring = uint32_t(pairs * 2);
  for (uint32_t i = 0; i < ring; ++i) {
    faces.push_back({0, 1 + i, 1 + (i + 1) % ring});
    const float angle = float(i / 2) * 0.05f;
    for (int c = 0; c < 3; ++c) normals.push_back(Point3(std::sin(angle), 0, std::cos(angle)));
  }
  SmoothingResult result = smoothing_groups(faces, normals, ring + 1);
  EXPECT_EQ(result.shared, size_t(pairs - 32));
  for (size_t f = 0; f < faces.size(); f += 2) {
    EXPECT_NE(result.groups[f], 0u);
    EXPECT_EQ(result.groups[f], result.groups[f + 1]);
  }

  // A lone face, and faces whose normals differ everywhere: no groups.
  const Faces lone{{0, 1, 2}, {2, 1, 3}};
  const std::vector<Point3> apart{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}};
  result = smoothing_groups(lone, apart, 4);
  EXPECT_EQ(result.groups, (std::vector<uint32_t>{0, 0}));
}

// Random faces over source vertices welded into fewer vertices, with
// normals from a few directions 0.02 rad apart (neighbours within the
// tolerance, the next but one not, so which cluster a corner joins depends
// on the order) and, when asked, some zero or not-a-number normals.
struct SourceMesh {
  std::vector<std::array<uint32_t, 3>> faces;
  std::vector<Point3> normals;
  std::vector<uint32_t> welded_into;
  size_t vertex_count = 0;
};

SourceMesh random_source_mesh(std::mt19937& random, bool bad_normals) {
  SourceMesh m;
  m.vertex_count = 2 + random() % 30;
  const size_t sources = m.vertex_count + random() % 40;
  for (size_t s = 0; s < sources; ++s) {
    m.welded_into.push_back(uint32_t(s < m.vertex_count ? s : random() % m.vertex_count));
    const float angle = 0.02f * float(random() % 6) + (random() % 3 == 0 ? 1.0f : 0.0f);
    m.normals.emplace_back(std::sin(angle), 0.0f, std::cos(angle) * float(1 + random() % 3));
    if (bad_normals && random() % 20 == 0) m.normals.back() = Point3();
    if (bad_normals && random() % 30 == 0) m.normals.back().x = std::nanf("");
  }
  const size_t faces = 1 + random() % 60;
  for (size_t f = 0; f < faces; ++f) {
    m.faces.push_back(
        {uint32_t(random() % sources), uint32_t(random() % sources), uint32_t(random() % sources)});
  }
  return m;
}

TEST(SmoothingGroupsTest, SourceVerticesGiveTheGroupsOfTheirCorners) {
  std::mt19937 random(21);
  for (int round = 0; round < 400; ++round) {
    const SourceMesh m = random_source_mesh(random, round % 4 == 3);
    Faces faces;
    std::vector<Point3> corner_normals;
    for (const auto& face : m.faces) {
      faces.push_back({m.welded_into[face[0]], m.welded_into[face[1]], m.welded_into[face[2]]});
      for (uint32_t s : face) corner_normals.push_back(m.normals[s]);
    }
    const SmoothingResult expected = smoothing_groups(faces, corner_normals, m.vertex_count);
    const SmoothingResult got =
        smoothing_groups_of_source(m.faces, m.normals, m.welded_into, m.vertex_count);
    ASSERT_EQ(got.groups, expected.groups) << "round " << round;
    ASSERT_EQ(got.shared, expected.shared) << "round " << round;
  }

  // Many regions around one vertex, so that some share a bit.
  SourceMesh fan;
  const uint32_t ring = 80;
  fan.vertex_count = ring + 1;
  for (uint32_t i = 0; i < ring; ++i) {
    const float angle = float(i / 2) * 0.05f;
    const Point3 n(std::sin(angle), 0, std::cos(angle));
    const uint32_t first = uint32_t(fan.normals.size());
    for (uint32_t v : {0u, 1 + i, 1 + (i + 1) % ring}) {
      fan.welded_into.push_back(v);
      fan.normals.push_back(n);
    }
    fan.faces.push_back({first, first + 1, first + 2});
  }
  const SmoothingResult shared =
      smoothing_groups_of_source(fan.faces, fan.normals, fan.welded_into, fan.vertex_count);
  EXPECT_EQ(shared.shared, size_t(40 - 32));

  // Source vertices outside the lists: no groups.
  fan.faces.push_back({0, 1, uint32_t(fan.normals.size())});
  EXPECT_EQ(
      smoothing_groups_of_source(fan.faces, fan.normals, fan.welded_into, fan.vertex_count).groups,
      std::vector<uint32_t>(fan.faces.size(), 0));
}

// A source mesh made by hand (Assimp frees the arrays).
std::unique_ptr<aiMesh> make_mesh(const std::vector<aiVector3D>& positions, const Faces& faces) {
  auto m = std::make_unique<aiMesh>();
  m->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
  m->mNumVertices = unsigned(positions.size());
  m->mVertices = new aiVector3D[positions.size()];
  m->mNormals = new aiVector3D[positions.size()];
  for (size_t i = 0; i < positions.size(); ++i) {
    m->mVertices[i] = positions[i];
    m->mNormals[i] = aiVector3D(0, 0, 1);
  }
  m->mNumFaces = unsigned(faces.size());
  m->mFaces = new aiFace[faces.size()];
  for (size_t f = 0; f < faces.size(); ++f) {
    m->mFaces[f].mNumIndices = 3;
    m->mFaces[f].mIndices = new unsigned[3]{faces[f][0], faces[f][1], faces[f][2]};
  }
  return m;
}

void set_uv(aiMesh& m, int set, float shift) {
  m.mTextureCoords[set] = new aiVector3D[m.mNumVertices];
  m.mNumUVComponents[set] = 2;
  for (unsigned v = 0; v < m.mNumVertices; ++v) {
    m.mTextureCoords[set][v] = aiVector3D(m.mVertices[v].x + shift, m.mVertices[v].y, 0);
  }
}

void set_bone(aiMesh& m, const char* name, std::vector<aiVertexWeight> weights) {
  auto** bones = new aiBone*[m.mNumBones + 1];
  for (unsigned b = 0; b < m.mNumBones; ++b) bones[b] = m.mBones[b];
  delete[] m.mBones;
  auto* bone = new aiBone();
  bone->mName = name;
  bone->mNumWeights = unsigned(weights.size());
  bone->mWeights = new aiVertexWeight[weights.size()];
  std::copy(weights.begin(), weights.end(), bone->mWeights);
  bones[m.mNumBones++] = bone;
  m.mBones = bones;
}

TEST(MeshImportTest, MeshesOfANodeBecomeOneWeldedMeshWithIdsAndChannels) {
  // Two quads sharing the edge x = 1: the first with one texture set, the
  // second with two and vertex colours, one of them half transparent.
  auto a = make_mesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 2, 3}});
  auto b = make_mesh({{1, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}}, {{0, 1, 2}, {0, 2, 3}});
  set_uv(*a, 0, 0.0f);
  set_uv(*b, 0, 0.0f);
  set_uv(*b, 1, 5.0f);
  b->mColors[0] = new aiColor4D[4]{{1, 0, 0, 1}, {0, 1, 0, 1}, {0, 0, 1, 0.5f}, {1, 1, 1, 1}};
  const aiMesh* meshes[] = {a.get(), b.get()};
  const ImportedMesh imported = import_mesh(meshes);
  const Mesh& mesh = imported.object->mesh;

  ASSERT_EQ(mesh.getNumVerts(), 6);  // the shared edge's two corners welded
  ASSERT_EQ(mesh.getNumFaces(), 4);
  EXPECT_EQ(imported.host_vertex[1][0], imported.host_vertex[0][1]);
  EXPECT_EQ(imported.host_vertex[1][3], imported.host_vertex[0][2]);
  // Source (1, 1, 0) in host axes.
  const Point3 corner = mesh.verts[imported.host_vertex[0][2]];
  EXPECT_EQ(corner, Point3(1, 0, 1));
  EXPECT_EQ(mesh.faces[0].getMatID(), 0);
  EXPECT_EQ(mesh.faces[3].getMatID(), 1);

  // Channels: colours, texture sets 0 and 1, alpha.
  EXPECT_TRUE(mesh.mapSupport(0));
  EXPECT_TRUE(mesh.mapSupport(1));
  EXPECT_TRUE(mesh.mapSupport(2));
  EXPECT_FALSE(mesh.mapSupport(3));
  EXPECT_TRUE(mesh.mapSupport(MAP_ALPHA));
  // The first quad has no second set and no colours: zero and white.
  const TVFace& first = mesh.mapFaces(2)[0];
  EXPECT_EQ(mesh.mapVerts(2)[first.t[0]], Point3(0, 0, 0));
  EXPECT_EQ(mesh.mapVerts(0)[mesh.mapFaces(0)[0].t[1]], Point3(1, 1, 1));
  // The second quad's values, per corner of its second face (0, 2, 3).
  const TVFace& last_uv = mesh.mapFaces(2)[3];
  EXPECT_EQ(mesh.mapVerts(2)[last_uv.t[1]], Point3(7, 1, 0));
  EXPECT_EQ(mesh.mapVerts(0)[mesh.mapFaces(0)[3].t[1]], Point3(0, 0, 1));
  EXPECT_EQ(mesh.mapVerts(MAP_ALPHA)[mesh.mapFaces(MAP_ALPHA)[3].t[1]], Point3(0.5f, 0.5f, 0.5f));
  // One flat surface: one smoothing group for all.
  EXPECT_NE(mesh.faces[0].smGroup, 0u);
  for (const Face& f : mesh.faces) EXPECT_EQ(f.smGroup, mesh.faces[0].smGroup);
}

TEST(MeshImportTest, SkinnedVerticesWeldOnlyWithTheSameWeights) {
  auto a = make_mesh({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, {{0, 1, 2}});
  auto b = make_mesh({{1, 0, 0}, {1, 1, 0}, {2, 0, 0}}, {{0, 2, 1}});
  set_bone(*a, "Arm", {{0, 1.0f}, {1, 1.0f}, {2, 1.0f}});
  set_bone(*b, "Arm", {{0, 1.0f}, {2, 1.0f}});
  set_bone(*b, "Hand", {{1, 1.0f}});
  const aiMesh* meshes[] = {a.get(), b.get()};
  const ImportedMesh imported = import_mesh(meshes);
  // (1, 0, 0) has the same weight in both and is one vertex; (1, 1, 0)
  // moves with another bone in the second mesh and stays two.
  EXPECT_EQ(imported.host_vertex[1][0], imported.host_vertex[0][1]);
  EXPECT_NE(imported.host_vertex[1][1], imported.host_vertex[0][2]);
  EXPECT_EQ(imported.object->mesh.getNumVerts(), 5);
}

TEST(UvwBoxMapTest, EverySideOfABoxSpansTheMap) {
  // A box 2 x 4 x 6 with its faces wound outwards.
  Mesh mesh;
  for (int i = 0; i < 8; ++i) {
    mesh.verts.emplace_back(i & 1 ? 2.0f : 0.0f, i & 2 ? 4.0f : 0.0f, i & 4 ? 6.0f : 0.0f);
  }
  const uint32_t quads[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  for (const auto& q : quads) {
    mesh.faces.push_back(Face{{q[0], q[1], q[2]}});
    mesh.faces.push_back(Face{{q[0], q[2], q[3]}});
  }
  EXPECT_FALSE(has_texture_channel(mesh));
  apply_box_map(mesh);
  ASSERT_TRUE(has_texture_channel(mesh));
  ASSERT_TRUE(mesh.mapSupport(1));
  for (int f = 0; f < mesh.getNumFaces(); f += 2) {
    // The two triangles of a side cover the unit square.
    float u_min = 1, u_max = 0, v_min = 1, v_max = 0;
    for (int k = 0; k < 2; ++k) {
      for (uint32_t t : mesh.mapFaces(1)[f + k].t) {
        const UVVert& uv = mesh.mapVerts(1)[t];
        u_min = std::min(u_min, uv.x);
        u_max = std::max(u_max, uv.x);
        v_min = std::min(v_min, uv.y);
        v_max = std::max(v_max, uv.y);
      }
    }
    EXPECT_FLOAT_EQ(u_min, 0.0f);
    EXPECT_FLOAT_EQ(u_max, 1.0f);
    EXPECT_FLOAT_EQ(v_min, 0.0f);
    EXPECT_FLOAT_EQ(v_max, 1.0f);
  }
}

}  // namespace
}  // namespace scene_import

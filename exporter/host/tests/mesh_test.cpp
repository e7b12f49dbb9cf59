// The mesh's channels and clean-up operations.
#include <gtest/gtest.h>

#include "host/mesh.h"

namespace {

Face face(uint32_t a, uint32_t b, uint32_t c, uint16_t material = 0) {
  Face f;
  f.v[0] = a;
  f.v[1] = b;
  f.v[2] = c;
  f.matID = material;
  return f;
}

TVFace tvface(uint32_t a, uint32_t b, uint32_t c) {
  TVFace f;
  f.t[0] = a;
  f.t[1] = b;
  f.t[2] = c;
  return f;
}

Mesh quad_with_bad_faces() {
  Mesh m;
  m.verts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0)};
  // Faces: good, degenerate (vertex 1 twice), illegal (vertex 9), good.
  m.faces = {face(0, 1, 2, 0), face(1, 1, 3, 1), face(0, 2, 9, 2), face(0, 2, 3, 3)};
  m.setNumMaps(2);
  MeshMap* uv = m.Map(1);
  uv->tv = {UVVert(0, 0, 0), UVVert(1, 0, 0), UVVert(1, 1, 0), UVVert(0, 1, 0), UVVert(5, 5, 0)};
  uv->tf = {tvface(0, 1, 2), tvface(1, 1, 4), tvface(0, 2, 3), tvface(0, 2, 3)};
  return m;
}

TEST(MeshTest, RemovesDegenerateAndIllegalFacesWithTheirMapFaces) {
  Mesh m = quad_with_bad_faces();
  EXPECT_TRUE(m.mapSupport(1));
  EXPECT_FALSE(m.mapSupport(0));
  EXPECT_FALSE(m.mapSupport(2));
  EXPECT_FALSE(m.mapSupport(MAP_ALPHA));
  m.RemoveDegenerateFaces();
  ASSERT_EQ(m.getNumFaces(), 3);
  EXPECT_EQ(m.faces[1].getMatID(), 2);
  m.RemoveIllegalFaces();
  ASSERT_EQ(m.getNumFaces(), 2);
  EXPECT_EQ(m.faces[0].getMatID(), 0);
  EXPECT_EQ(m.faces[1].getMatID(), 3);
  ASSERT_EQ(m.Map(1)->tf.size(), 2u);
  EXPECT_EQ(m.mapFaces(1)[1].t[2], 3u);
  // Map vertex 4 was used only by the removed degenerate face.
  m.DeleteIsoMapVerts();
  EXPECT_EQ(m.getNumMapVerts(1), 4);
  EXPECT_EQ(m.mapVerts(1)[3], UVVert(0, 1, 0));
}

TEST(MeshTest, RenumbersMapFacesAfterDeletingIsolatedMapVertices) {
  Mesh m;
  m.verts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0)};
  m.faces = {face(0, 1, 2)};
  MeshMap* alpha = m.Map(MAP_ALPHA);
  alpha->tv = {UVVert(9, 9, 9), UVVert(0.5f, 0, 0), UVVert(9, 9, 9), UVVert(1, 0, 0)};
  alpha->tf = {tvface(3, 1, 3)};
  EXPECT_TRUE(m.mapSupport(MAP_ALPHA));
  m.DeleteIsoMapVerts();
  ASSERT_EQ(m.getNumMapVerts(MAP_ALPHA), 2);
  EXPECT_EQ(m.mapFaces(MAP_ALPHA)[0].t[0], 1u);
  EXPECT_EQ(m.mapFaces(MAP_ALPHA)[0].t[1], 0u);
  EXPECT_EQ(m.mapVerts(MAP_ALPHA)[1], UVVert(1, 0, 0));
  EXPECT_EQ(m.FaceNormal(0), Point3(0, 0, 1));
}

TEST(MeshTest, AFaceWhoseMapFaceIsOutsideItsChannelGoesFromEveryChannel) {
  Mesh m;
  m.verts = {Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(1, 1, 0)};
  m.faces = {face(0, 1, 2, 0), face(1, 3, 2, 1), face(0, 3, 2, 2)};
  m.setNumMaps(3);
  m.Map(1)->tv = {UVVert(0, 0, 0), UVVert(1, 0, 0), UVVert(0, 1, 0)};
  m.Map(1)->tf = {tvface(0, 1, 2), tvface(1, 2, 0), tvface(0, 1, 2)};
  // Channel 2 names map vertex 7 of 3 in the middle face.
  m.Map(2)->tv = m.Map(1)->tv;
  m.Map(2)->tf = {tvface(2, 1, 0), tvface(7, 1, 0), tvface(0, 0, 1)};
  // The alpha channel has too few map faces to count: its index 9 is not checked.
  m.Map(MAP_ALPHA)->tv = {UVVert(1, 0, 0)};
  m.Map(MAP_ALPHA)->tf = {tvface(9, 9, 9)};
  m.RemoveIllegalFaces();
  ASSERT_EQ(m.getNumFaces(), 2);
  EXPECT_EQ(m.faces[1].getMatID(), 2);
  ASSERT_EQ(m.Map(1)->tf.size(), 2u);
  EXPECT_EQ(m.mapFaces(2)[1].t[2], 1u);
  EXPECT_EQ(m.Map(MAP_ALPHA)->tf.size(), 1u);

  // Every map vertex of channels 1 and 2 is in use: nothing is renumbered.
  // In the alpha channel the one map vertex is not used and goes, while
  // the map face that names no vertex of it keeps its indices.
  m.DeleteIsoMapVerts();
  EXPECT_EQ(m.getNumMapVerts(1), 3);
  EXPECT_EQ(m.mapFaces(2)[0].t[0], 2u);
  EXPECT_EQ(m.getNumMapVerts(MAP_ALPHA), 0);
  EXPECT_EQ(m.mapFaces(MAP_ALPHA)[0].t[0], 9u);
}

}  // namespace

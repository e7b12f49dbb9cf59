// Mesh nodes through the plug-in: the host's mesh to surfaces in the file.
#include <cmath>
#include <numbers>
#include <set>

#include "export_fixture.h"
#include "geometry/geometry_export.h"
#include "mesh_scenes.h"
#include "scenepress/resources.h"

namespace scenepress::testing {
namespace {

using model3da::Vec3;

class GeometryNodeTest : public ExportTest {
 protected:
  void SetUp() override {
    ExportTest::SetUp();
    default_options();
  }
  // The only node of the exported file.
  const model3da::NodeView& only_node(const model3da::Model& model) {
    EXPECT_EQ(model.nodes.size(), 1u);
    return model.nodes[0];
  }
};

void expect_near(const Vec3& a, const Vec3& b, float tolerance = 1e-5f) {
  for (int k = 0; k < 3; ++k)
    EXPECT_NEAR(a[size_t(k)], b[size_t(k)], tolerance) << "component " << k;
}

TEST_F(GeometryNodeTest, MirroredNodesStillFaceOutwards) {
  // One triangle facing host +z (file +y): plain, mirrored by its object
  // offset, and mirrored by its node transform.
  builder_.mesh("Plain_0");
  builder_.mesh("Offset_0").offset_scale = ScaleValue{Point3(-1, 1, 1), Quat()};
  builder_.mesh("Node_0").controller = host::static_transform(Point3(), Quat(), Point3(-1, 1, 1));
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  ASSERT_EQ(model->nodes.size(), 3u);
  auto facing = [&](const model3da::NodeView& node) {
    const model3da::SurfaceView& s = node.surfaces.at(0);
    const auto t = triangle_of(*model, s, 0);
    const Vec3 winding = cross(minus(t[1], t[0]), minus(t[2], t[0]));
    return dot(winding, normal_of(*model, s, model->list_index(s, 0)));
  };
  // Sorted: Node_0, Offset_0, Plain_0.
  EXPECT_GT(facing(model->nodes[2]), 0.0f);
  // The offset mirrors the points and the corners are written 2, 1, 0.
  EXPECT_GE(vertex_at(*model, model->nodes[1].surfaces[0], {-1, 0, -0.0f}), 0);
  EXPECT_GT(facing(model->nodes[1]), 0.0f);
  // The node transform mirrors the points only when the engine applies it,
  // which turns the reversed winding outwards again.
  EXPECT_LT(facing(model->nodes[0]), 0.0f);
}

TEST_F(GeometryNodeTest, CornersCloserThanTheToleranceAreWelded) {
  // A flat quad of two triangles that share no vertex numbers; the second
  // triangle's copies of the shared corners are moved by d.
  for (const float d : {0.00005f, 0.0005f}) {
    SCOPED_TRACE(d);
    builder_.scene.root().children.clear();
    builder_.node("Quad_0", mesh_object({Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0),
                                         Point3(d, d, 0), Point3(1 + d, 1 + d, 0), Point3(0, 1, 0)},
                                        {{0, 1, 2}, {3, 4, 5}}));
    ASSERT_EQ(export_scene(), 1);
    auto model = load();
    const model3da::SurfaceView& s = only_node(*model).surfaces.at(0);
    EXPECT_EQ(s.record.vertexCount, d < 0.0001f ? 4u : 6u);
    EXPECT_EQ(s.record.listIndexCount, 6u);
  }
}

TEST_F(GeometryNodeTest, ColoursFromVertexColoursAndAlphaElseWhite) {
  auto plain = host::triangle_mesh();
  builder_.node("Plain_0", plain);
  auto coloured = host::triangle_mesh();
  coloured->mesh.Map(0)->tv = {UVVert(1, 0.5f, 0)};  // r, g, b
  coloured->mesh.Map(0)->tf.assign(1, TVFace{});
  builder_.node("Coloured_0", coloured);
  auto alpha = host::triangle_mesh();
  alpha->mesh.Map(MAP_ALPHA)->tv = {UVVert(0.5f, 0, 0), UVVert(2, 0, 0)};
  TVFace af;
  af.t[2] = 1;  // the third corner's alpha is clamped to 1
  alpha->mesh.Map(MAP_ALPHA)->tf = {af};
  builder_.node("Alpha_0", alpha);
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  ASSERT_EQ(model->nodes.size(), 3u);
  auto colours = [&](const model3da::NodeView& node) {
    std::multiset<uint32_t> out;
    const model3da::SurfaceView& s = node.surfaces.at(0);
    for (uint32_t v = 0; v < s.record.vertexCount; ++v) out.insert(color_of(*model, s, v));
    return out;
  };
  // Alpha_0: white with alpha 127 twice and 255 once.
  EXPECT_EQ(colours(model->nodes[0]),
            (std::multiset<uint32_t>{0x7FFFFFFF, 0x7FFFFFFF, 0xFFFFFFFF}));
  // Coloured_0: bytes blue 0, green 127, red 255, alpha 255.
  EXPECT_EQ(colours(model->nodes[1]),
            (std::multiset<uint32_t>{0xFFFF7F00, 0xFFFF7F00, 0xFFFF7F00}));
  EXPECT_EQ(colours(model->nodes[2]),
            (std::multiset<uint32_t>{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}));
}

TEST_F(GeometryNodeTest, UvsTangentsAndColoursFollowExportTcoord0) {
  // Channel 1 is (x, y) of each vertex, so u grows along host x (file x).
  auto mesh = mesh_object({Point3(0, 0, 0), Point3(2, 0, 0), Point3(0, 1, 0)}, {{0, 1, 2}});
  mesh->mesh.Map(0)->tv = {UVVert(1, 0, 0)};
  mesh->mesh.Map(0)->tf.assign(1, TVFace{});
  builder_.node("Tri_0", mesh);
  for (const bool tcoord0 : {true, false}) {
    SCOPED_TRACE(tcoord0);
    std::filesystem::remove(dir_ / "plugcfg" / "scenepress.ini");  // the dialog decides
    ui_.dialog_clicks.clear();
    ui_.dialog_clicks.push_back(tcoord0 ? std::vector<int>{IDOK}
                                        : std::vector<int>{IDC_TCOORD0, IDOK});
    ASSERT_EQ(export_scene(), 1);
    auto model = load();
    const model3da::SurfaceView& s = only_node(*model).surfaces.at(0);
    ASSERT_EQ(s.record.vertexCount, 3u);
    for (uint32_t v = 0; v < 3; ++v) {
      const Vec3 p = model->position(s, v);
      if (tcoord0) {
        EXPECT_EQ(uv_of(*model, s, 0, v), (model3da::Vec2{p[0], 1 - (-p[2])}));
        // u grows along +x, but D = du1 dv2 - du2 dv1 is negative with v
        // flipped, and such a tangent is kept undivided.
        expect_near(tangent_of(*model, s, v), {-1, 0, 0});
        EXPECT_EQ(color_of(*model, s, v), 0xFFFF0000u);  // red
      } else {
        EXPECT_EQ(uv_of(*model, s, 0, v), (model3da::Vec2{0, 0}));
        EXPECT_EQ(tangent_of(*model, s, v), (Vec3{1, 0, 0}));
        EXPECT_EQ(color_of(*model, s, v), 0xFFFFFFFFu);
      }
      EXPECT_EQ(uv_of(*model, s, 1, v), (model3da::Vec2{0, 0}));
    }
  }
}

TEST_F(GeometryNodeTest, MapChannelsThatCount) {
  // Channel 2 alone maps a mesh and is written as uv 1.
  auto second = host::triangle_mesh();
  second->mesh.setNumMaps(3);
  *second->mesh.Map(2) = *second->mesh.Map(1);
  *second->mesh.Map(1) = MeshMap{};
  builder_.node("Second_0", second);
  ASSERT_EQ(export_scene(), 1);
  {
    auto model = load();
    const model3da::SurfaceView& s = only_node(*model).surfaces.at(0);
    std::set<std::pair<float, float>> uvs;
    for (uint32_t v = 0; v < 3; ++v) {
      uvs.insert({uv_of(*model, s, 1, v)[0], uv_of(*model, s, 1, v)[1]});
      EXPECT_EQ(uv_of(*model, s, 0, v), (model3da::Vec2{0, 0}));
    }
    EXPECT_EQ(uvs, (std::set<std::pair<float, float>>{{0, 1}, {1, 1}, {0, 0}}));
  }
  // Vertex colours alone do not map a mesh.
  auto colours = host::triangle_mesh();
  *colours->mesh.Map(0) = *colours->mesh.Map(1);
  *colours->mesh.Map(1) = MeshMap{};
  builder_.node("Colours_0", colours);
  EXPECT_EQ(export_scene(), 0);
  EXPECT_EQ(messages(), (std::vector<std::string>{"No mapping applied for mesh: Colours_0"}));
}

TEST_F(GeometryNodeTest, AChannelWhoseMapFacesDoNotMatchFailsNamingTheNode) {
  auto broken = host::triangle_mesh();
  broken->mesh.setNumMaps(3);
  broken->mesh.Map(2)->tv = {UVVert(0, 0, 0)};
  broken->mesh.Map(2)->tf.assign(2, TVFace{});  // two map faces for one face
  builder_.node("Broken_0", broken);
  EXPECT_EQ(export_scene(), 0);
  EXPECT_EQ(
      messages(),
      (std::vector<std::string>{"Mesh 'Broken_0': map channel 2 has 2 map faces for 1 faces"}));
}

TEST_F(GeometryNodeTest, DegenerateAndIllegalFacesAndIsolatedVerticesAreLeftOut) {
  builder_.node("Mixed_0",
                mesh_object({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0), Point3(5, 5, 5)},
                            {{0, 0, 1}, {0, 1, 2}, {0, 1, 9}, {2, 1, 1}}));
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  const model3da::NodeView& node = only_node(*model);
  ASSERT_EQ(node.surfaces.size(), 1u);
  EXPECT_EQ(node.surfaces[0].record.vertexCount, 3u);
  EXPECT_EQ(node.surfaces[0].record.listIndexCount, 3u);
  EXPECT_EQ(vertex_at(*model, node.surfaces[0], {5, 5, -5}), -1);
  // The box is taken from every vertex of the mesh, the unused one too.
  EXPECT_EQ(node.record.boxMax, (Vec3{5, 5, 0}));
  EXPECT_EQ(node.record.boxMin, (Vec3{0, 0, -5}));
}

TEST_F(GeometryNodeTest, PositionsAndNormalsGoThroughTheObjectOffset) {
  // Offset: scale 2 along x, the quaternion of 90 degrees about z (which
  // turns row vectors clockwise), then moved by (10, 0, 0). Host (1, 0, 0)
  // -> (2, 0, 0) -> (0, -2, 0) -> (10, -2, 0), in the file (10, 0, 2).
  host::SceneNode& n = builder_.mesh("Moved_0");
  n.offset_scale = ScaleValue{Point3(2, 1, 1), Quat()};
  n.offset_rotation = QFromAngAxis(std::numbers::pi_v<float> / 2, Point3(0, 0, 1));
  n.offset_position = Point3(10, 0, 0);
  // A face that a singular offset flattens: (0, 0, 0), (1, 0, 1), (0, 1, 0)
  // with z scaled to 0 lies in the xy plane and faces host +z.
  host::SceneNode& flat = builder_.node(
      "Flat_0", mesh_object({Point3(0, 0, 0), Point3(1, 0, 1), Point3(0, 1, 0)}, {{0, 1, 2}}));
  flat.offset_scale = ScaleValue{Point3(1, 1, 0), Quat()};
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  ASSERT_EQ(model->nodes.size(), 2u);
  const model3da::NodeView& moved = model->nodes[1];
  const model3da::SurfaceView& s = moved.surfaces.at(0);
  // Host (x, y, z) -> file (x, z, -y).
  std::set<std::array<float, 3>> points;
  for (uint32_t v = 0; v < 3; ++v) {
    const Vec3 p = model->position(s, v);
    points.insert({std::round(p[0] * 1000) / 1000, std::round(p[1] * 1000) / 1000,
                   std::round(p[2] * 1000) / 1000 + 0.0f});
    expect_near(normal_of(*model, s, v), {0, 1, 0});
  }
  EXPECT_EQ(points, (std::set<std::array<float, 3>>{{10, 0, 0}, {10, 0, 2}, {11, 0, 0}}));
  expect_near(moved.record.boxMin, {10, 0, 0});
  expect_near(moved.record.boxMax, {11, 0, 2});
  const model3da::SurfaceView& f = model->nodes[0].surfaces.at(0);
  for (uint32_t v = 0; v < 3; ++v) expect_near(normal_of(*model, f, v), {0, 1, 0});
}

TEST_F(GeometryNodeTest, CubeWithTwoMaterials) {
  for (const bool smooth : {false, true}) {
    SCOPED_TRACE(smooth ? "smooth" : "flat");
    builder_.scene.root().children.clear();
    host::SceneNode& node = builder_.node("Cube_0", cube_object(smooth));
    node.material = multi_material({"Paint", "Glass"});
    ASSERT_EQ(export_scene(), 1);
    auto model = load();
    const model3da::NodeView& cube = only_node(*model);
    ASSERT_EQ(cube.surfaces.size(), 2u);
    ASSERT_EQ(model->materials.size(), 2u);

    // The same description handed to the geometry core directly.
    geometry::MeshInput input;
    input.node_name = "Cube_0";
    const Mesh& mesh = std::dynamic_pointer_cast<TriObject>(node.object)->mesh;
    for (const Point3& p : mesh.verts) input.positions.push_back({p.x, p.z, -p.y});
    for (int f = 0; f < mesh.getNumFaces(); ++f) {
      const Face& face = mesh.faces[size_t(f)];
      input.faces.push_back({{face.v[0], face.v[1], face.v[2]}, face.smGroup, face.matID});
      const Point3 n = mesh.FaceNormal(f);
      input.face_normals.push_back({n.x, n.y, n.z});
    }
    input.channels[1].vertices = {{0.25f, 0.75f, 0}};
    input.channels[1].faces.assign(mesh.faces.size(), geometry::Triangle{0, 0, 0});
    const geometry::GeometryResult expected = geometry::export_geometry(input);
    ASSERT_TRUE(expected.ok());

    for (uint32_t m = 0; m < 2; ++m) {
      const model3da::SurfaceView& s = cube.surfaces[m];
      EXPECT_EQ(s.record.materialIndex, m);
      EXPECT_EQ(model->material_name(s), m == 0 ? "Paint.mat" : "Glass.mat");
      EXPECT_EQ(s.record.listIndexCount, 18u);
      // Flat: three sides of 4 vertices; smooth: the 7 cube corners they use.
      EXPECT_EQ(s.record.vertexCount, smooth ? 7u : 12u);
      EXPECT_EQ(list_of(*model, s), expected.surfaces[m].list_indices);
      for (uint32_t v = 0; v < s.record.vertexCount; ++v) {
        const Vec3 p = model->position(s, v);
        EXPECT_EQ(p, expected.surfaces[m].positions[v]);
        const Vec3 n = normal_of(*model, s, v);
        if (!smooth) {
          // A flat side's normal is its axis, and the vertex lies on that side.
          const size_t axis = n[0] != 0 ? 0 : n[1] != 0 ? 1 : 2;
          EXPECT_EQ(std::fabs(n[axis]), 1.0f);
          EXPECT_EQ(p[axis], n[axis]);
        } else if (p == Vec3{1, 1, -1}) {  // host (1, 1, 1): six faces meet
          expect_near(n, {1 / std::sqrt(3.0f), 1 / std::sqrt(3.0f), -1 / std::sqrt(3.0f)});
        }
      }
    }
  }
}

TEST_F(GeometryNodeTest, NoGeometryWritesTracksAndBoxWithoutSurfaces) {
  write_options("!NoGeometry()\nNoGeometry()\n");
  builder_.node("Cube_0", cube_object(false));
  builder_.mesh("lipBone_0");
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  ASSERT_EQ(model->nodes.size(), 2u);
  const model3da::NodeView& cube = model->nodes[0];
  EXPECT_EQ(cube.record.nodeType, model3da::HELPER_3DA);
  EXPECT_EQ(cube.record.surfaceCount, 0u);
  EXPECT_EQ(cube.record.surfacesOffset, 0u);
  EXPECT_EQ(cube.record.boxMax, (Vec3{1, 1, 1}));
  EXPECT_NE(cube.position, nullptr);
  // Bones keep their kind.
  EXPECT_EQ(model->nodes[1].record.nodeType, model3da::BONE_3DA);
  EXPECT_EQ(model->nodes[1].record.surfaceCount, 0u);
}

TEST_F(GeometryNodeTest, AFaceNormalThatIsNotFiniteWarnsWithoutFailing) {
  // The cross product of these edges overflows.
  builder_.node("Huge_0", mesh_object({Point3(0, 0, 0), Point3(3e38f, 0, 0), Point3(0, 3e38f, 0),
                                       Point3(0, 0, 1)},
                                      {{0, 1, 2}, {0, 3, 1}}));
  std::unique_ptr<SceneExport> exporter = make_exporter();
  ASSERT_EQ(exporter->DoExport("out.3da", nullptr, &scene_, false, 0), 1);
  ASSERT_EQ(ui_.messages.size(), 1u);
  EXPECT_EQ(ui_.messages[0].text,
            "FaceNormal not correct!!! degenerate face -> try to weld vertices!");
  EXPECT_EQ(ui_.messages[0].caption, "Error...");
  EXPECT_EQ(ui_.messages[0].type, MB_OK | MB_ICONERROR);
  // The error flag stays clear: the same exporter exports again.
  EXPECT_EQ(exporter->DoExport("again.3da", nullptr, &scene_, false, 0), 1);
  auto model = load("again.3da");
  const model3da::SurfaceView& s = only_node(*model).surfaces.at(0);
  for (uint32_t v = 0; v < s.record.vertexCount; ++v) {
    for (float c : normal_of(*model, s, v)) EXPECT_TRUE(std::isfinite(c));
  }
}

TEST_F(GeometryNodeTest, AFaceOfZeroAreaAddsNothingToItsNeighbours) {
  // Face 1 is a sliver on a line; it shares vertex 0 and the group with
  // face 0, which faces host (0, -1, 1), in the file (0, 1, 1).
  builder_.node("Sliver_0",
                mesh_object({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 1), Point3(2, 0, 0)},
                            {{0, 1, 2}, {0, 3, 1}}));
  ASSERT_EQ(export_scene(), 1);
  auto model = load();
  const model3da::SurfaceView& s = only_node(*model).surfaces.at(0);
  for (uint32_t v = 0; v < s.record.vertexCount; ++v) {
    const Vec3 n = normal_of(*model, s, v);
    for (float c : n) EXPECT_TRUE(std::isfinite(c));
    for (float c : tangent_of(*model, s, v)) EXPECT_TRUE(std::isfinite(c));
    if (model->position(s, v) == Vec3{0, 0, 0}) {
      expect_near(n, {0, 1 / std::sqrt(2.0f), 1 / std::sqrt(2.0f)});
    }
  }
}

TEST_F(GeometryNodeTest, ASurfaceOver65535VerticesFailsNamingNodeMaterialAndCount) {
  // 21846 separate triangles in different groups weld to 65538 vertices.
  std::vector<Point3> verts;
  std::vector<TestFace> faces;
  for (uint32_t t = 0; t < 21846; ++t) {
    const float x = float(2 * t);
    verts.insert(verts.end(), {Point3(x, 0, 0), Point3(x + 1, 0, 0), Point3(x, 1, 0)});
    faces.push_back({3 * t, 3 * t + 1, 3 * t + 2, 1u << (t % 32)});
  }
  host::SceneNode& big = builder_.node("Big_0", mesh_object(verts, faces));
  big.material = textured_material("Paint", "paint.tga");
  EXPECT_EQ(export_scene(), 0);
  ASSERT_EQ(messages().size(), 1u);
  for (const char* part : {"'Big_0'", "'Paint.mat'", "65538", "65535"})
    EXPECT_NE(messages()[0].find(part), std::string::npos) << messages()[0];
  EXPECT_FALSE(std::filesystem::exists(dir_ / "out.3da"));
}

TEST_F(GeometryNodeTest, StripBuilderMessagesGoToTheLog) {
  // Three triangles in one plane and smoothing group on the edge 0-1, so
  // that its two corners weld into shared vertices.
  builder_.node("Fin_0", mesh_object({Point3(0, 0, 0), Point3(1, 0, 0), Point3(0, 1, 0),
                                      Point3(0, -1, 0), Point3(1, 1, 0)},
                                     {{0, 1, 2}, {1, 0, 3}, {0, 1, 4}}));
  ASSERT_EQ(export_scene(), 1);
  const std::string log = read_file("out.3da.log");
  EXPECT_NE(log.find("\r\nnotes:\r\nFin_0: BuildStripifyInfo: > 2 triangles on an edge"),
            std::string::npos)
      << log;
}

}  // namespace
}  // namespace scenepress::testing

// ExportGeomData: a mesh node from the host's triangle mesh to its record
// with surfaces and tracks.
#include <fmt/format.h>

#include <algorithm>
#include <map>

#include "geometry/morph_weld.h"
#include "geometry/weld_map_file.h"
#include "host/class_ids.h"
#include "scenepress/mesh_gather.h"
#include "scenepress/morph_target.h"
#include "scenepress/physique_skin.h"
#include "scenepress/record_plan.h"
#include "scenepress/scene_order.h"
#include "scenepress/scenepress.h"

namespace scenepress {
namespace {

bool any_texture_channel(const std::array<bool, 5>& channels) {
  return channels[1] || channels[2] || channels[3] || channels[4];
}

}  // namespace

const std::vector<INode*>& Scenepress::RecordPlan() {
  if (!recordPlan) recordPlan = planned_records(ip->GetRootNode(), selectedOnly);
  return *recordPlan;
}

void Scenepress::ShowWarning(const std::string& text) {
  Output([this, text] {
    MessageBox(ip->GetMAXHWnd(), text.c_str(), "Error...", MB_OK | MB_ICONERROR);
  });
}

void Scenepress::ShowErrBox(const char* text) {
  Output([this, message = std::string(text)] {
    MessageBox(ip->GetMAXHWnd(), message.c_str(), "Err..", MB_OK | MB_ICONERROR);
  });
}

bool Scenepress::FaceMaterials(INode* node, const Mesh& mesh, geometry::MeshInput& input) {
  // Faces with the same material id get the same index; each id is looked
  // up (and its messages shown) once.
  std::map<uint16_t, int> by_id;
  Mtl* material = node->GetMtl();
  const char* node_name = node->GetName();
  // Faces mostly come in runs of one id: the last id's index is kept at hand.
  int last_id = -1;
  uint32_t last_index = 0;
  for (size_t f = 0; f < mesh.faces.size(); ++f) {
    const uint16_t id = mesh.faces[f].getMatID();
    if (id != last_id) {
      auto found = by_id.find(id);
      if (found == by_id.end())
        found =
            by_id.emplace(id, MaterialIndex(material, id, node_name != nullptr ? node_name : ""))
                .first;
      if (found->second < 0) return false;
      last_id = id;
      last_index = uint32_t(found->second);
    }
    input.faces[f].material_index = last_index;
  }
  input.material_names.clear();
  for (const model3da::MaterialRecord& record : materials)
    input.material_names.push_back(record.name);
  return true;
}

bool Scenepress::MorphWelder(const std::string& name, const geometry::MeshInput& input,
                             geometry::Welder& welder) {
  if (morphSource) {
    welder = geometry::morph_source_welder(morphDirectory, name);
    return true;
  }
  if (!morphTarget || !morphSourceModel) return true;
  const model3da::NodeView* source = model3da::find_node_by_name(*morphSourceModel, name);
  if (source == nullptr) {
    ShowMessage("Invalid 3da file specified as a morph source, node not found: %s", name.c_str());
    return false;
  }
  geometry::CornerGeometry corners;
  if (geometry::GeometryError e = geometry::build_corner_geometry(input, corners)) {
    ShowMessage("%s", e.message.c_str());
    return false;
  }
  if (corners.surfaces.size() != source->surfaces.size()) {
    ShowMessage("Invalid 3da file specified as a morph source, surface not found!");
    return false;
  }
  welder = morph_target_welder(
      *source, morphDirectory, name, [this](const char* text) { ShowErrBox(text); }, morphDetail);
  return true;
}

bool Scenepress::PrepareSurfaces(model3da::NodeData& record, INode* node, const Mesh& mesh,
                                 geometry::MeshInput& input, geometry::Welder& welder) {
  const bool bone = record.node_type == model3da::BONE_3DA;
  const std::array<bool, 5> channels = present_map_channels(mesh);
  if (!bone && !any_texture_channel(channels)) {
    ShowMessage("No mapping applied for mesh: %s", node->GetName());
    return false;
  }

  input.node_name = node->GetName();
  input.bone = bone;
  input.mirrored = is_mirrored(node);
  for (size_t k = 0; k < 4; ++k) input.export_tex_coord[k] = exportTexCoord[k] != 0;
  if (const std::string error = gather_mesh(mesh, channels, input); !error.empty()) {
    ShowMessage("%s", error.c_str());
    return false;
  }

  // Positions: skinned in the bind pose, or through the object offset.
  const Matrix3 offset = object_offset_matrix(node);
  if (Modifier* physique = find_physique_modifier(node)) {
    PhysiqueSkin skin;
    const std::string error =
        read_physique_skin(physique, node, mesh.getNumVerts(), RecordPlan(), nodeMatrixTable, skin);
    if (!error.empty()) {
      ShowMessage("%s", error.c_str());
      return false;
    }
    maxBoneIndex = std::max(maxBoneIndex, skin.max_bone_index);
    input.positions = file_positions(skin.positions);
    input.skin = std::move(skin.skin);
    record.node_type = model3da::MESH_SKINNED_3DA;
  } else {
    input.positions = file_positions(mesh, offset);
  }
  input.normal_matrix = normal_matrix(offset);
  if (!bone && !FaceMaterials(node, mesh, input)) return false;

  if (!MorphWelder(record.name, input, welder)) return false;
  morphDetail.clear();
  return true;
}

bool Scenepress::FinishSurfaces(model3da::NodeData& record, geometry::GeometryResult& result) {
  for (const std::string& warning : result.warnings) ShowWarning(warning);
  for (const std::string& note : result.notes) exportNotes.push_back(record.name + ": " + note);
  if (!result.ok()) {
    const geometry::GeometryErrorKind kind = result.error.kind;
    if (!morphDetail.empty()) DebugOutput(morphDetail + "\n");
    if (morphTarget && (kind == geometry::GeometryErrorKind::kWeldMapUnreadable ||
                        kind == geometry::GeometryErrorKind::kWeldMapMismatch)) {
      ShowMessage("%s", std::string(geometry::kMessageSurfacesDoNotMatch).c_str());
    } else {
      ShowMessage("%s", result.error.message.c_str());
    }
    return false;
  }
  if (morphTarget && morphSourceModel) {
    const model3da::NodeView* source = model3da::find_node_by_name(*morphSourceModel, record.name);
    if (source == nullptr || !surfaces_match_source(result.surfaces, *source)) {
      ShowMessage("%s", std::string(geometry::kMessageSurfacesDoNotMatch).c_str());
      return false;
    }
  }
  record.box_min = result.box_min;
  record.box_max = result.box_max;
  if (!noGeometry) record.surfaces = std::move(result.surfaces);
  return true;
}

bool Scenepress::ExportGeomData(INode* node, Object* object, int parentIndex) {
  model3da::NodeData record;
  if (!StartRecord(record, node, parentIndex)) return false;
  auto* tri = dynamic_cast<TriObject*>(object->ConvertToType(0, TRIOBJ_CLASS_ID));
  if (tri == nullptr) {
    ShowMessage("Node %s: its object cannot be converted to a triangle mesh", node->GetName());
    return false;
  }
  Mesh mesh = tri->GetMesh();
  mesh.RemoveDegenerateFaces();
  mesh.RemoveIllegalFaces();
  mesh.DeleteIsoMapVerts();

  record.name = node->GetName();
  record.node_type = is_lip_bone(record.name) ? model3da::BONE_3DA : model3da::MESH_3DA;
  if (mesh.getNumFaces() == 0 || mesh.getNumVerts() == 0) record.node_type = model3da::HELPER_3DA;
  if (is_biped_controller(node->GetTMController())) record.node_type = model3da::BONE_3DA;
  const bool bone = record.node_type == model3da::BONE_3DA;
  if (!ApplyLodPostfix(record, bone ? nullptr : "ExportGeomData")) return false;
  if (record.node_type != model3da::HELPER_3DA) {
    geometry::MeshInput input;
    geometry::Welder welder;
    if (!PrepareSurfaces(record, node, mesh, input, welder)) return false;
    // Without a morph welder the core depends on the input alone, so it may
    // run beside the walk; the node is finished later, in walk order.
    if (parallelGeometry && !welder && !pendingGeometry) {
      StartPending(std::move(record), node, std::move(input));
      return true;
    }
    geometry::GeometryResult result = geometry::export_geometry(input, welder);
    if (!FinishPending() || !FinishSurfaces(record, result)) return false;
  } else if (!FinishPending()) {
    return false;
  }
  return FinishGeomData(record, node);
}

bool Scenepress::FinishGeomData(model3da::NodeData& record, INode* node) {
  if (!CaptureTracks(record, node)) {
    ShowMessage("Unable to export animation data");
    return false;
  }
  for (const auto* track : {record.position.get(), record.rotation.get(), record.scale.get()}) {
    if (track != nullptr) animationDataSize += track->image_size();
  }
  if (noGeometry &&
      (record.node_type == model3da::MESH_3DA || record.node_type == model3da::MESH_SKINNED_3DA)) {
    record.node_type = model3da::HELPER_3DA;
  }
  return AppendNode(record, node);
}

}  // namespace scenepress

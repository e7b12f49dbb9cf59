// Scenepress, the scene exporter: turns the host's scene (or its selected
// nodes) into a .3da model with its collision section, a .mat shader script
// per material and an export log.
//
// The host creates one object per export job through the class descriptor
// (ScenepressClassDesc, class_desc.h) and calls DoExport. The object keeps
// what one export gathers: the node chain in file layout, the material
// table, the per-node matrix table, and the options of the export.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/geometry_export.h"
#include "host/interface.h"
#include "host/plugin.h"
#include "model3da/byte_buffer.h"
#include "model3da/chain_file.h"
#include "model3da/model.h"
#include "model3da/records.h"
#include "model3da/writer.h"

namespace scenepress {

// The material table's room.
inline constexpr size_t kMaxMaterials = 1024;
// ByteBuffer capacities: one helper's data, one mesh's data.
inline constexpr size_t kHelperDataCapacity = 0x10000;
inline constexpr size_t kGeometryDataCapacity = 0x40000;
// The exporter's version, as Version() gives it and the log prints it.
inline constexpr unsigned kExporterVersion = 0x10010;

// The threads an export builds mesh geometry on: 2 when the environment
// variable SCENEPRESS_THREADS is "2" and the machine has more than one core,
// else 1. (On the shared build machine the second thread cost more CPU time
// and memory than it saved in wall time, so it is not the default.)
int geometry_threads();

// Result of WalkNode.
inline constexpr int kWalkOn = 0;
inline constexpr int kWalkStop = 2;

class Scenepress final : public SceneExport {
 public:
  Scenepress();
  ~Scenepress() override;

  int ExtCount() override { return 1; }
  const char* Ext(int n) override;
  const char* LongDesc() override;
  const char* ShortDesc() override;
  const char* AuthorName() override;
  const char* CopyrightMessage() override;
  const char* OtherMessage1() override { return ""; }
  const char* OtherMessage2() override { return ""; }
  unsigned int Version() override { return kExporterVersion; }
  void ShowAbout(HWND parent) override;
  int DoExport(const char* name, ExpInterface* ei, Interface* i, bool suppressPrompts,
               uint32_t options) override;
  bool SupportsOptions(int ext, uint32_t options) override;

  // Reads the options script "scenepress.ini" of the host's plug-in
  // configuration folder. Returns 0 when there is none (or it holds an error
  // or no statement), so that the options dialog is shown instead.
  int ReadOptions();

  // Formats a message (printf rules, at most 511 characters), sets
  // errorFlag and shows it in a message box "Error..." over the host's
  // window. The only way the exporter reports, warnings included.
  void ShowMessage(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // The index of the first equal record in the material table (names and
  // flags do not count), else the record appended. -1 when the table is
  // full (the caller reports it).
  int AddMaterial(const model3da::MaterialRecord& record);

  // The material table index of a face with material id `face_material` of
  // the node `node_name` with material `material`, 0xFFFF for none; -1 when
  // the export must fail (the message has been shown). When .mat scripts are
  // wanted, a material whose name cannot be a file name in the output
  // folder fails the export.
  int MaterialIndex(Mtl* material, int face_material, std::string_view node_name = {});

  // Walks `node` and its subtree in export order; kWalkOn or kWalkStop
  // (cancelled or failed).
  int WalkNode(INode* node, int parentIndex);
  // Exports one node when its kind is exported; false fails the export.
  bool ExportNode(INode* node, int parentIndex);
  bool ExportHelperData(INode* node, int parentIndex);
  bool ExportGeomData(INode* node, Object* object, int parentIndex);
  // Captures the node's position, rotation and scale tracks into `record`
  // (a Biped node gets kind BONE_3DA and sampled tracks).
  bool CaptureTracks(model3da::NodeData& record, INode* node);

  // Writes a .mat script for every material table entry into the current
  // folder; an entry whose name is no plain file name there is skipped.
  void WriteMaterialScripts();
  // The export log's text, from the loaded export.
  std::string ExportLogText(const model3da::Model& model);
  // Writes the export log `text` to "<name>.log".
  void WriteExportLog(const std::string& name, const std::string& text);

  // The exporter's state, in this order.
  bool selectedOnly = false;
  Interface* ip = nullptr;
  uint32_t errorFlag = 0;
  int32_t frameCount = 0;
  int32_t nodeCount = 0;
  std::vector<model3da::MaterialRecord> materials;  // up to kMaxMaterials
  std::array<uint32_t, 2> reserved{0, 0};
  model3da::Vec3 boundsMin{1e30f, 1e30f, 1e30f};
  model3da::Vec3 boundsMax{-1e30f, -1e30f, -1e30f};
  std::vector<model3da::Matrix4> nodeMatrixTable;
  int32_t nodeIndexCounter = -1;
  // The node chain, written node by node to the output's partial file.
  std::unique_ptr<model3da::ChainFile> nodeChain;
  int32_t noAnimation = 0;
  int32_t noGeometry = 0;
  int32_t writeMaterialScripts = 1;  // stored inverted: 1 = no .mat scripts
  uint32_t animationDataSize = 0;
  std::array<int32_t, 4> exportTexCoord{1, 1, 0, 0};
  std::unique_ptr<model3da::Model> morphSourceModel;
  int32_t morphSource = 0;
  int32_t morphTarget = 0;
  std::string morphDirectory;
  int32_t lightingType = 0;

  // Beside the state above, for one export: the nodes written so far in
  // record order, the planned records once a skinned mesh asked for them
  // and the largest record index a skin names, the weld detail of a failed
  // morph target, and notes for the log (the strip builder's messages).
  std::vector<INode*> exportedNodes;
  std::optional<std::vector<INode*>> recordPlan;
  int maxBoneIndex = -1;
  std::string morphDetail;
  std::vector<std::string> exportNotes;

  // Whether a mesh node's geometry may be built on a second thread while
  // the walk goes on (geometry_pipeline.cpp); set from geometry_threads().
  bool parallelGeometry = false;

 private:
  struct PendingGeometry;
  // Runs `action` (a message, a line of debug output, a progress step) now,
  // or, while a node's geometry is being built on the other thread, once
  // that node is finished, so that the host sees everything in walk order.
  void Output(std::function<void()> action);
  // Builds the geometry of `input` on another thread; the node is finished
  // (surfaces, tracks, appended) by FinishPending.
  void StartPending(model3da::NodeData record, INode* node, geometry::MeshInput input);
  // Waits for the node whose geometry is being built, if any, finishes it
  // and then runs the output held back meanwhile; false when that node fails
  // the export (the held-back output is dropped, as the walk would not have
  // got past that node).
  bool FinishPending();
  // The surfaces of a mesh node of kind 1, 2 or 4 come in two steps around
  // the geometry core: the mesh description from the host (skinned through
  // Physique when it has the modifier, which makes `record` kind 2) with
  // its welder (the weld maps of a morph export), and the core's result
  // taken into `record`'s box and surfaces. Each is false when the export
  // fails (the message shown).
  bool PrepareSurfaces(model3da::NodeData& record, INode* node, const Mesh& mesh,
                       geometry::MeshInput& input, geometry::Welder& welder);
  bool FinishSurfaces(model3da::NodeData& record, geometry::GeometryResult& result);
  // The rest of a mesh node after its surfaces: tracks, then the chain.
  bool FinishGeomData(model3da::NodeData& record, INode* node);
  void DebugOutput(std::string text);

  // Appends a finished node (record and data) to the chain and counts it.
  bool AppendNode(const model3da::NodeData& record, INode* node);
  // The nodes this export will write, in record order, worked out when a
  // skinned mesh first needs its bones' indices (record_plan.h).
  const std::vector<INode*>& RecordPlan();

  std::unique_ptr<PendingGeometry> pendingGeometry;
  std::vector<std::function<void()>> heldOutput;
  // The material table index of every face (per material id of the node).
  bool FaceMaterials(INode* node, const Mesh& mesh, geometry::MeshInput& input);
  // The welder of the export's morph mode; empty for a plain weld. A
  // morph target export checks the node against the source model first.
  bool MorphWelder(const std::string& name, const geometry::MeshInput& input,
                   geometry::Welder& welder);
  // Shows a message box "Error..." that does not set errorFlag.
  void ShowWarning(const std::string& text);
  // Shows a message box "Err.." that does not set errorFlag.
  void ShowErrBox(const char* text);

  // The common start of both node exporters: kind-independent fields and
  // the name checks. False (the message shown) when the name is too long.
  bool StartRecord(model3da::NodeData& record, INode* node, int parentIndex);
  // Applies the level-of-detail postfix to the record's name; `warn_as`
  // names the exporter in the warning, null for none.
  bool ApplyLodPostfix(model3da::NodeData& record, const char* warn_as);
  // Finishes the partial file `partial` (header, transforms, material
  // table), writes the .mat scripts, reads the file back for the log and
  // the collision section, appends that and puts the file in place as
  // `output`. False (the message shown) when the export fails.
  bool WriteModel(const std::string& partial, const std::string& output);
};

// The options dialog's procedure (dialog 103); WM_INITDIALOG carries the
// exporter.
INT_PTR config_dialog_proc(HWND dialog, UINT message, WPARAM w, LPARAM l);

}  // namespace scenepress

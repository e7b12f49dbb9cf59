// DoExport: the export from the options to the log, step by step.
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "host/class_ids.h"
#include "model3da/collision.h"
#include "model3da/mapped_file.h"
#include "model3da/platform.h"
#include "scenepress/export_log.h"
#include "scenepress/material_file_name.h"
#include "scenepress/resources.h"
#include "scenepress/scene_order.h"
#include "scenepress/scenepress.h"
#include "scenepress/text_output.h"

namespace scenepress {
namespace {

unsigned long progress_routine(void*) {
  return 0;
}

// The partial file of an export, removed when the export ends without
// putting it in place (its chain file closed first).
class PartialFile {
 public:
  PartialFile(std::string path, std::unique_ptr<model3da::ChainFile>& chain)
      : path_(std::move(path)), chain_(chain) {}
  ~PartialFile() {
    if (kept_) return;
    if (chain_) chain_->close();
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
  PartialFile(const PartialFile&) = delete;
  PartialFile& operator=(const PartialFile&) = delete;

  const std::string& path() const { return path_; }
  void keep() { kept_ = true; }

 private:
  std::string path_;
  std::unique_ptr<model3da::ChainFile>& chain_;
  bool kept_ = false;
};

}  // namespace

int Scenepress::DoExport(const char* name, ExpInterface*, Interface* i, bool, uint32_t options) {
  if (errorFlag) return 0;
  std::setlocale(LC_ALL, "C");
  ip = i;
  // Each export gathers its nodes and materials afresh, also when the host
  // runs a second export on the same exporter.
  nodeChain.reset();
  nodeCount = 0;
  nodeIndexCounter = -1;
  materials.clear();
  animationDataSize = 0;
  morphSourceModel.reset();
  morphDirectory.clear();
  exportedNodes.clear();
  recordPlan.reset();
  maxBoneIndex = -1;
  exportNotes.clear();
  if (!ReadOptions() && DialogBoxParam(module_handle(), config_dialog(), ip->GetMAXHWnd(),
                                       config_dialog_proc, reinterpret_cast<LPARAM>(this)) == 0) {
    return 0;
  }

  std::string output = name;
  if (morphSource || morphTarget) {
    if (output.find('.') == std::string::npos) {
      ShowMessage("Invalid export name: %s", name);
      return 0;
    }
    if (morphSource) {
      output += "_0.3da";
      morphDirectory = output + "_dir";
      std::error_code ignored;
      std::filesystem::create_directory(morphDirectory, ignored);
    } else {
      const std::string source = output + "_0.3da";
      output += "_1.3da";
      model3da::LoadResult loaded = model3da::load_model_file(source);
      if (!loaded.ok()) {
        ShowMessage("Export source data first!");
        return 0;
      }
      morphSourceModel = std::move(loaded.model);
      morphDirectory = source + "_dir";
    }
  }
  selectedOnly = options == SCENE_EXPORT_SELECTED || DoesFileExist("exportselected");

  // The chain goes to a partial file beside the output as the walk builds
  // it, so that it is never whole in memory; the output is replaced only
  // when the whole export has succeeded, and a failed export leaves none.
  PartialFile partial(output + ".partial", nodeChain);
  nodeChain = std::make_unique<model3da::ChainFile>(partial.path());
  if (!nodeChain->error().empty()) {
    ShowMessage("Unable to create file %s", output.c_str());
    return 0;
  }

  const Interval range = ip->GetAnimRange();
  frameCount = (range.End() - range.Start()) / GetTicksPerFrame();
  nodeMatrixTable.assign(size_t(count_exportable_nodes(ip->GetRootNode())),
                         model3da::identity_matrix());

  ip->ProgressStart("node ", true, progress_routine, nullptr);
  bool failed = false;
  for (INode* child : sorted_children(ip->GetRootNode())) {
    if (ip->GetCancel()) break;
    if (WalkNode(child, nodeIndexCounter) != kWalkOn) {
      failed = true;
      break;
    }
  }
  // The last mesh node may still be on the other thread.
  if (!FinishPending()) failed = true;
  ip->ProgressEnd();
  if (failed) return 0;
  // Skinned meshes named their bones, and the matrix table its entries, by
  // the records planned before the walk. The records written must be those
  // (or, after a cancel, the first of them, with every bone among them).
  if (recordPlan) {
    const bool prefix = exportedNodes.size() <= recordPlan->size() &&
                        std::equal(exportedNodes.begin(), exportedNodes.end(), recordPlan->begin());
    if (!prefix || maxBoneIndex >= int(exportedNodes.size())) {
      ShowMessage(
          "The bones of skinned meshes were numbered over the %d nodes planned for the "
          "export, but the %d nodes exported do not hold them; nothing was written",
          int(recordPlan->size()), int(exportedNodes.size()));
      return 0;
    }
  }
  if (!WriteModel(partial.path(), output)) return 0;
  partial.keep();
  return 1;
}

bool Scenepress::WriteModel(const std::string& partial, const std::string& output) {
  // The material table after the chain, each node's transform from the
  // matrix table into its record, and the header.
  model3da::ModelWriteInput input;
  input.node_count = uint32_t(nodeCount);
  input.frame_count = uint32_t(frameCount);
  input.node_matrices = nodeMatrixTable;
  input.materials = materials;
  if (const std::string error = nodeChain->finish(input); !error.empty()) {
    if (nodeChain->error().empty()) {
      ShowMessage("Unable to write %s: %s", output.c_str(), error.c_str());
    } else {
      ShowMessage("Unable to write file %s", output.c_str());
    }
    return false;
  }
  nodeChain.reset();

  if (!writeMaterialScripts) WriteMaterialScripts();

  // Read the file back, build its collision section from it and append it.
  // The file is mapped, not copied, and the header's collision words are
  // cleared in this process's copy of its page only.
  std::string log;
  model3da::CollisionInput collision;
  {
    model3da::MappedFile mapped;
    if (const std::string error = mapped.open(partial); !error.empty()) {
      ShowMessage("Unable to read back %s: %s", output.c_str(), error.c_str());
      return false;
    }
    const std::span<std::byte> file_bytes = mapped.bytes();
    if (file_bytes.size() < model3da::kFileHeaderSize) {
      ShowMessage("Unable to read back %s: the file is shorter than its header", output.c_str());
      return false;
    }
    model3da::put_u32(file_bytes.data() + 60, 0);
    model3da::put_u32(file_bytes.data() + 64, 0);
    // Each node's pages (as the loader checks it), and then each surface's
    // (as its triangles are gathered), are let go once read, so that the
    // file is never all in memory.
    const auto release = [&mapped](std::span<const std::byte> read) { mapped.release(read); };
    model3da::LoadResult loaded = model3da::load_model_view(file_bytes, 0, release);
    if (!loaded.ok()) {
      ShowMessage("Unable to read back %s: %s", output.c_str(), loaded.message.c_str());
      return false;
    }
    log = ExportLogText(*loaded.model);
    collision =
        model3da::gather_collision_input(*loaded.model, model3da::crash_log_sink(), release);
  }
  if (const std::string error = model3da::append_collision_section(partial, collision);
      !error.empty()) {
    ShowMessage("Unable to add the collision data to %s: %s", output.c_str(), error.c_str());
    return false;
  }
  collision = {};
  // The earlier output goes first: renaming over it makes some file systems
  // (ext4) write the new file out at once, to keep the replacement safe,
  // which took longer than the export's last steps together.
  std::error_code replaced;
  std::filesystem::remove(output, replaced);  // a failure shows in the rename
  std::filesystem::rename(partial, output, replaced);
  if (replaced) {
    ShowMessage("Unable to write file %s: %s", output.c_str(), replaced.message().c_str());
    return false;
  }
  WriteExportLog(output, log);
  morphSourceModel.reset();
  return true;
}

void Scenepress::WriteMaterialScripts() {
  const std::string scene_file = ip->GetCurFileName();
  for (const model3da::MaterialRecord& record : materials) {
    if (!material_file_name_fault(record.name).empty()) continue;
    write_text_file(record.name, material_script(record, lightingType, scene_file));
  }
}

std::string Scenepress::ExportLogText(const model3da::Model& model) {
  ExportLogInputs in;
  in.version = Version();
  in.build_time = __TIME__;
  in.build_date = __DATE__;
  in.started = platform::local_time();
  in.computer = platform::computer_name();
  in.user = platform::user_name();
  in.scene_path = ip->GetCurFilePath();
  in.animation_data_size = animationDataSize;
  in.notes = exportNotes;
  return export_log_text(in, model, materials);
}

void Scenepress::WriteExportLog(const std::string& name, const std::string& text) {
  write_text_file(name + ".log", text);
}

}  // namespace scenepress

// DoExport: the export from the options to the log, step by step.
#include <algorithm>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "host/class_ids.h"
#include "model3da/collision.h"
#include "model3da/file.h"
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

// Reads the whole file through the engine's file layer into `buffer`, from
// its start; the bytes read, or none when the file has no length or cannot
// be read.
std::span<const std::byte> read_back(const std::string& path, model3da::ByteBuffer& buffer) {
  try {
    fs::file f;
    f.open(path.c_str(), 0);
    const long length = f.length();
    if (length <= 0 || !buffer.seek(0)) return {};
    std::byte* bytes = buffer.append_room(size_t(length));
    if (bytes == nullptr) return {};
    long done = 0;
    while (done < length) {
      const long n = f.read(bytes + done, length - done);
      if (n <= 0) break;
      done += n;
    }
    if (done != length) return {};
    return {bytes, size_t(length)};
  } catch (const fs::file_exception&) {
    return {};
  }
}

}  // namespace

int Scenepress::DoExport(const char* name, ExpInterface*, Interface* i, bool, uint32_t options) {
  if (errorFlag) return 0;
  std::setlocale(LC_ALL, "C");
  ip = i;
  // Each export gathers its nodes and materials afresh, also when the host
  // runs a second export on the same exporter.
  nodeChain = model3da::ByteBuffer(kChainCapacity);
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
  return WriteModel(output) ? 1 : 0;
}

bool Scenepress::WriteModel(const std::string& output) {
  // The header, the node chain with each node's transform from the matrix
  // table, and the material table. The transforms go into the chain itself,
  // which is written out from where it lies.
  model3da::ModelWriteInput input;
  input.node_count = uint32_t(nodeCount);
  input.frame_count = uint32_t(frameCount);
  input.node_matrices = nodeMatrixTable;
  input.materials = materials;
  model3da::Bytes head;
  model3da::Bytes tail;
  if (const std::string error =
          model3da::make_model_image_parts(input, nodeChain.mutable_bytes(), head, tail);
      !error.empty()) {
    ShowMessage("Unable to write %s: %s", output.c_str(), error.c_str());
    return false;
  }
  file = std::fopen(output.c_str(), "wb");
  if (file == nullptr) {
    ShowMessage("Unable to create file %s", output.c_str());
    return false;
  }
  bool written = true;
  for (const std::span<const std::byte> part :
       {std::span<const std::byte>(head), nodeChain.bytes(), std::span<const std::byte>(tail)}) {
    written =
        written && (part.empty() || std::fwrite(part.data(), 1, part.size(), file) == part.size());
  }
  const bool closed = std::fclose(file) == 0;
  file = nullptr;
  if (!written || !closed) {
    ShowMessage("Unable to write file %s", output.c_str());
    return false;
  }

  if (!writeMaterialScripts) WriteMaterialScripts();

  // Read the file back, build its collision section from it and append it.
  // The chain is in the file now, so the file is read back into the chain's
  // block, and the model views it there.
  const std::span<const std::byte> file_bytes = read_back(output, nodeChain);
  if (file_bytes.empty()) return false;
  std::byte* header = nodeChain.mutable_bytes().data();
  model3da::put_u32(header + 60, 0);
  model3da::put_u32(header + 64, 0);
  model3da::LoadResult loaded = model3da::load_model_view(file_bytes);
  if (!loaded.ok()) {
    ShowMessage("Unable to read back %s: %s", output.c_str(), loaded.message.c_str());
    return false;
  }
  // What the log and the collision section need is taken from the model, so
  // that the file's bytes can go before the trees are built.
  const std::string log = ExportLogText(*loaded.model);
  const model3da::CollisionInput collision = model3da::gather_collision_input(*loaded.model);
  loaded.model.reset();
  nodeChain.release();
  if (const std::string error = model3da::append_collision_section(output, collision);
      !error.empty()) {
    ShowMessage("Unable to add the collision data to %s: %s", output.c_str(), error.c_str());
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

// Writing a .3da file node by node.
#include "model3da/chain_file.h"

#include <fmt/format.h>

#include <limits>

#include "model3da/byte_io.h"
#include "model3da/records.h"
#include "open_file.h"

namespace model3da {

ChainFile::ChainFile(const std::filesystem::path& path) : path_(path), node_(128) {
  file_ = open_file(path, "wb");
  if (file_ == nullptr) {
    error_ = fmt::format("cannot create {}", path.string());
    return;
  }
  // Room for the header, written last.
  const std::byte zeros[kFileHeaderSize] = {};
  if (std::fwrite(zeros, 1, sizeof zeros, file_) != sizeof zeros) {
    error_ = fmt::format("cannot write {}", path.string());
  }
}

ChainFile::~ChainFile() {
  close();
}

void ChainFile::close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

std::string ChainFile::not_writable() const {
  if (!error_.empty()) return error_;
  return file_ == nullptr ? fmt::format("{} is not open", path_.string()) : std::string();
}

std::string ChainFile::append(const NodeData& node) {
  if (std::string refused = not_writable(); !refused.empty()) return refused;
  node_.clear();
  if (std::string error = append_node(node_, node, chain_length_); !error.empty()) return error;
  const std::span<const std::byte> bytes = node_.bytes();
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    error_ = fmt::format("cannot write {}", path_.string());
    return error_;
  }
  record_offsets_.push_back(kFileHeaderSize + chain_length_);
  chain_length_ += bytes.size();
  return {};
}

bool ChainFile::write_at(uint64_t offset, std::span<const std::byte> bytes) {
  return offset <= uint64_t(std::numeric_limits<long>::max()) &&
         std::fseek(file_, long(offset), SEEK_SET) == 0 &&
         std::fwrite(bytes.data(), 1, bytes.size(), file_) == bytes.size();
}

std::string ChainFile::finish(const ModelWriteInput& input) {
  if (std::string refused = not_writable(); !refused.empty()) return refused;
  Bytes head;
  if (std::string error = make_model_head(input, chain_length_, head); !error.empty()) {
    return error;
  }
  if (input.node_count > record_offsets_.size()) {
    return fmt::format("the node chain holds fewer than {} nodes", input.node_count);
  }
  node_.release();  // no node follows
  const Bytes tail = material_table_bytes(input.materials);
  bool ok = tail.empty() || std::fwrite(tail.data(), 1, tail.size(), file_) == tail.size();
  std::byte transform[64];
  for (uint32_t i = 0; ok && i < input.node_count; ++i) {
    put_transform(transform, node_matrix(input, i));
    ok = write_at(record_offsets_[i] + kNodeTransformOffset, transform);
  }
  ok = ok && write_at(0, head);
  ok = std::fclose(file_) == 0 && ok;
  file_ = nullptr;
  if (!ok) error_ = fmt::format("cannot write {}", path_.string());
  return error_;
}

}  // namespace model3da

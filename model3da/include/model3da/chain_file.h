// ChainFile: a .3da file written while its node chain is built. Each node
// goes to the file as it is appended, so the chain is never whole in memory;
// finish() then writes the material table, copies the node transforms into
// the records written and writes the header in front. The result is the
// file make_model_image gives for the same nodes, without a collision
// section.
//
//   ChainFile out("car.3da.partial");
//   out.append(node);                       // for each node, in chain order
//   out.finish({.node_count = 1, .node_matrices = matrices});
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "model3da/byte_buffer.h"
#include "model3da/writer.h"

namespace model3da {

class ChainFile {
 public:
  // Creates (or empties) the file at `path`; error() says why it could not.
  explicit ChainFile(const std::filesystem::path& path);
  ~ChainFile();
  ChainFile(const ChainFile&) = delete;
  ChainFile& operator=(const ChainFile&) = delete;

  // Appends a node as append_node does and writes it out. Returns an empty
  // text or the reason (the node's, or a failed write).
  std::string append(const NodeData& node);

  // Writes the material table after the chain, the transforms of the first
  // input.node_count nodes and the header (input.chain is not read), and
  // closes the file. The checks and reasons of make_model_image.
  std::string finish(const ModelWriteInput& input);

  // Closes the file if it is open (without finishing it).
  void close();

  const std::string& error() const { return error_; }
  uint64_t chain_length() const { return chain_length_; }
  size_t node_count() const { return record_offsets_.size(); }

 private:
  // Why nothing can be written: the earlier failure, or a closed file;
  // empty when the file is open and sound.
  std::string not_writable() const;
  bool write_at(uint64_t offset, std::span<const std::byte> bytes);

  std::filesystem::path path_;
  std::FILE* file_ = nullptr;
  std::string error_;
  ByteBuffer node_;  // the node being appended
  uint64_t chain_length_ = 0;
  std::vector<uint64_t> record_offsets_;  // file offsets of the NodeRecords
};

}  // namespace model3da

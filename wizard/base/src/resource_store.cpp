#include "base/resource_store.h"

#include <cstdint>
#include <vector>

#include "base/text_routines.h"

namespace wizard {

namespace {

struct Table {
  const ResourceRecord* records;
  std::size_t count;
};

// Filled during static initialisation, read afterwards; a function-local
// static so that tables registering first find it constructed.
std::vector<Table>& Tables() {
  static std::vector<Table> tables;
  return tables;
}

}  // namespace

bool RegisterResourceTable(const ResourceRecord* records, std::size_t count) {
  Tables().push_back({records, count});
  return true;
}

std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view type,
                                                                   std::string_view name) {
  for (const Table& table : Tables()) {
    for (std::size_t i = 0; i < table.count; ++i) {
      const ResourceRecord& record = table.records[i];
      if (EqualsNoCase(record.type, type) && EqualsNoCase(record.name, name)) {
        // The two labels belong to one assembled block; compare addresses as
        // integers rather than subtracting pointers of different objects.
        const auto first = reinterpret_cast<std::uintptr_t>(record.begin);
        const auto last = reinterpret_cast<std::uintptr_t>(record.end);
        return std::span<const unsigned char>(record.begin, last - first);
      }
    }
  }
  return std::nullopt;
}

std::optional<std::span<const unsigned char>> FindEmbeddedResource(std::string_view type,
                                                                   unsigned number) {
  return FindEmbeddedResource(type, std::to_string(number));
}

std::string LoadResText(std::string_view name, std::string_view type) {
  const auto bytes = FindEmbeddedResource(type, name);
  if (!bytes) return {};
  return std::string(reinterpret_cast<const char*>(bytes->data()), bytes->size());
}

}  // namespace wizard

#include "folder_listings.h"

#include <system_error>

#include "devuza/entry_names.h"
#include "package_io.h"

namespace devuza::detail {

const std::string* FolderNames::Find(const std::string& name) const {
  if (const auto exact = exact_.find(name); exact != exact_.end()) return &*exact;
  const auto other = by_upper_.find(UpperAscii(name));
  return other == by_upper_.end() ? nullptr : &other->second;
}

void FolderNames::Add(const std::string& name) {
  if (exact_.insert(name).second) by_upper_.try_emplace(UpperAscii(name), name);
}

FolderNames& FolderListings::Of(const std::filesystem::path& dir) {
  const auto [it, inserted] = folders_.try_emplace(dir.native());
  if (!inserted) return it->second;
  ++listings_;
  std::error_code ec;
  std::filesystem::directory_iterator entry(dir, ec);
  for (; !ec && entry != std::filesystem::directory_iterator(); entry.increment(ec)) {
    it->second.Add(Utf8FileName(entry->path()));
  }
  return it->second;
}

FolderNames& FolderListings::Created(const std::filesystem::path& dir) {
  FolderNames& names = folders_[dir.native()];
  names = FolderNames{};
  return names;
}

}  // namespace devuza::detail

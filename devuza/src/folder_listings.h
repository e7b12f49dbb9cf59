// The names in the folders that an extraction writes into, each folder listed
// once and then kept up to date by the extraction itself, so that resolving a
// name without regard to case costs one lookup instead of one listing.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace devuza::detail {

// The names of one folder.
class FolderNames {
 public:
  // The name under which `name` exists in the folder: `name` itself when it
  // exists with that spelling, else the first listed name that differs from it
  // only in ASCII case (Windows finds "Parts" when asked for "PARTS"); nullptr
  // when there is none.
  const std::string* Find(const std::string& name) const;
  // Notes a name that now exists in the folder.
  void Add(const std::string& name);

 private:
  std::unordered_set<std::string> exact_;
  std::unordered_map<std::string, std::string> by_upper_;  // first spelling of each
};

class FolderListings {
 public:
  // The names in `dir`, listed on the first call for it. A folder that does
  // not exist or cannot be listed has no names.
  FolderNames& Of(const std::filesystem::path& dir);
  // Notes that `dir` was just created: it is known to be empty, and is never
  // listed.
  FolderNames& Created(const std::filesystem::path& dir);
  // How many folders were listed.
  std::size_t listings() const { return listings_; }

 private:
  std::unordered_map<std::filesystem::path::string_type, FolderNames> folders_;
  std::size_t listings_ = 0;
};

}  // namespace devuza::detail

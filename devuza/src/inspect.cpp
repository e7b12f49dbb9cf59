#include "devuza/inspect.h"

#include <algorithm>
#include <cstdio>

#include "devuza/package.h"
#include "package_io.h"

namespace devuza {
namespace {

std::string PadRight(std::string text, std::size_t width) {
  if (text.size() < width) text.append(width - text.size(), ' ');
  return text;
}

std::string PadLeft(const std::string& text, std::size_t width) {
  return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

std::string FolderText(const DirectoryEntry& entry) {
  const auto folder = EntryFolder(entry);
  if (!folder) {
    return detail::Escaped(std::string_view(entry.folder_field.data(), entry.folder_field.size()));
  }
  return folder->empty() ? "." : detail::Escaped(*folder);
}

}  // namespace

bool InspectPackage(const std::filesystem::path& path, PackageReport& report, std::string& error,
                    wizard::CodePage code_page) {
  Package package;
  package.code_page = code_page;
  bool opened = OpenPackage(package, PackageMode::kReadFile, path);
  if (!opened && package.error_code == PackageErrorCode::kNoDevuzaFile) {
    opened = OpenPackage(package, PackageMode::kReadSfx, path);
  }
  if (!opened || !ReadDirectory(package)) {
    error = LastPackageError(package);
    return false;
  }
  report = PackageReport{};
  report.path = path;
  report.self_extracting = package.mode == PackageMode::kReadSfx;
  report.base = package.base;
  report.header = package.header;
  report.entries = package.entries;
  for (std::size_t i = 0; i < package.entries.size(); ++i) {
    report.problems.push_back(EntryProblem(package, i));
  }
  ClosePackage(package);
  return true;
}

bool ReportIsSound(const PackageReport& report) {
  return std::all_of(report.problems.begin(), report.problems.end(),
                     [](const std::string& problem) { return problem.empty(); });
}

std::string FormatInspectReport(const PackageReport& report) {
  const PackageHeader& header = report.header;
  char version[32];
  std::snprintf(version, sizeof version, "%.1f", static_cast<double>(header.version));
  std::uint64_t data_length = 0;
  for (const DirectoryEntry& entry : report.entries) {
    if (entry.size > 0) data_length += static_cast<std::uint64_t>(entry.size);
  }

  std::string text;
  text += "File: " + report.path.string() + "\n";
  text += report.self_extracting ? "Kind: self-extracting program, package at byte offset " +
                                       std::to_string(report.base) + "\n"
                                 : std::string("Kind: DEVUZA package\n");
  text += "Car ID: " + detail::Escaped(HeaderCarId(header)) + "\n";
  text += "Version: " + std::string(version) + "\n";
  text += "Flag: " + std::to_string(header.flag) + "\n";
  text += "File count: " + std::to_string(header.file_count) + "\n";
  text += "Directory position: " + std::to_string(header.directory_position) + "\n";
  text += "Package length: " + std::to_string(header.package_length) + "\n";
  text += "Data length: " + std::to_string(data_length) + "\n";

  std::size_t name_width = 4;
  for (const DirectoryEntry& entry : report.entries) {
    name_width = std::max(name_width, detail::Escaped(EntryName(entry)).size());
  }
  text += "\n" + PadRight("Folder", 16) + PadRight("File", name_width) + PadLeft("Size", 12) +
          PadLeft("Position", 12) + "\n";
  for (const DirectoryEntry& entry : report.entries) {
    text += PadRight(FolderText(entry), 16) +
            PadRight(detail::Escaped(EntryName(entry)), name_width) +
            PadLeft(std::to_string(entry.size), 12) + PadLeft(std::to_string(entry.position), 12) +
            "\n";
  }
  bool first_problem = true;
  for (const std::string& problem : report.problems) {
    if (problem.empty()) continue;
    if (first_problem) text += "\nRefused entries:\n";
    first_problem = false;
    text += "  " + problem + "\n";
  }
  return text;
}

}  // namespace devuza

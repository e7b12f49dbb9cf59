// The one place where Quorvex meets the ops layer's install operation.
//
// The operation reads a plain package file, so the package at the end of the
// program is first copied out, byte for byte as the trailer finds it, to a
// new file of a fresh name in the temporary folder; the operation's messages
// name the program file, and the copy is removed afterwards.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "devuza/package.h"
#include "extractor/package_install.h"
#include "ops/car_variants.h"
#include "ops/wizard_state.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace quorvex {

namespace {

namespace stdfs = std::filesystem;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::FILE* OpenFile(const stdfs::path& path, const char* mode) {
#ifdef _WIN32
  std::wstring wide_mode(mode, mode + std::char_traits<char>::length(mode));
  return _wfopen(path.c_str(), wide_mode.c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

// A new file in the temporary folder, opened exclusively: no file that
// exists is ever opened, truncated or replaced.
File CreateCopyFile(stdfs::path& created) {
  static std::atomic<unsigned> counter{0};
#ifdef _WIN32
  const long process = _getpid();
#else
  const long process = ::getpid();
#endif
  std::error_code ec;
  const stdfs::path folder = stdfs::temp_directory_path(ec);
  if (ec) return nullptr;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    stdfs::path path = folder / ("quorvex-" + std::to_string(process) + "-" +
                                 std::to_string(counter.fetch_add(1)) + ".devuza");
    errno = 0;
    if (std::FILE* file = OpenFile(path, "wbx")) {
      created = std::move(path);
      return File(file);
    }
    if (errno != EEXIST) return nullptr;
  }
  return nullptr;
}

// Copies the package bytes that the trailer of `program` points at (up to the
// trailer) into a new temporary file; false with `error` when the trailer or
// header is refused or the copy cannot be made.
bool CopyOutPackage(const stdfs::path& program, stdfs::path& copy, std::string& error) {
  devuza::Package package;
  if (!devuza::OpenPackage(package, devuza::PackageMode::kReadSfx, program)) {
    error = devuza::LastPackageError(package);
    return false;
  }
  const std::uint64_t base = package.base;
  std::uint64_t left = package.available;
  devuza::ClosePackage(package);

  File in(OpenFile(program, "rb"));
  File out = CreateCopyFile(copy);
  if (!out) {
    error = "Cannot create a temporary copy of the package in the temporary folder";
    return false;
  }
  bool ok = in != nullptr;
#ifdef _WIN32
  ok = ok && _fseeki64(in.get(), static_cast<__int64>(base), SEEK_SET) == 0;
#else
  ok = ok && fseeko(in.get(), static_cast<off_t>(base), SEEK_SET) == 0;
#endif
  std::vector<char> buffer(std::size_t{1} << 20);
  while (ok && left > 0) {
    const std::size_t chunk = left < buffer.size() ? static_cast<std::size_t>(left) : buffer.size();
    ok = std::fread(buffer.data(), 1, chunk, in.get()) == chunk &&
         std::fwrite(buffer.data(), 1, chunk, out.get()) == chunk;
    left -= chunk;
  }
  ok = (std::fclose(out.release()) == 0) && ok;
  if (!ok) {
    error = "Cannot copy the package out of " + program.string() + " to " + copy.string();
    std::error_code ec;
    stdfs::remove(copy, ec);
    return false;
  }
  return true;
}

// Shows the run on the caller's view, with the copy's path replaced by the
// program's in every message.
class RenamingView : public wizard::RunView {
 public:
  RenamingView(wizard::RunView& view, std::string copy, std::string program)
      : view_(view), copy_(std::move(copy)), program_(std::move(program)) {}

  void SetProgress(double value) override { view_.SetProgress(value); }
  void SetActionText(std::string_view text) override { view_.SetActionText(Renamed(text)); }
  void RefreshWindow() override { view_.RefreshWindow(); }
  void ShowErrorBox(std::string_view title, std::string_view text) override {
    view_.ShowErrorBox(title, Renamed(text));
  }

 private:
  std::string Renamed(std::string_view text) const {
    std::string result(text);
    for (std::size_t at = result.find(copy_); !copy_.empty() && at != std::string::npos;
         at = result.find(copy_, at + program_.size())) {
      result.replace(at, copy_.size(), program_);
    }
    return result;
  }

  wizard::RunView& view_;
  std::string copy_;
  std::string program_;
};

}  // namespace

wizard::RunOutcome InstallFromProgram(const InstallRequest& request, wizard::RunView& view) {
  const std::string program = request.program.string();
  stdfs::path copy;
  std::string error;
  if (!CopyOutPackage(request.program, copy, error)) {
    // The run starts as the operation's own does, and ends as a package error.
    view.RefreshWindow();
    view.SetActionText(wizard::StringText(wizard::kStrExtractingPackage, request.language));
    view.SetProgress(wizard::kProgressMax / 2);
    view.ShowErrorBox(wizard::StringText(wizard::kStrError, request.language),
                      "File:" + program + "\n" + error);
    view.SetActionText(wizard::StringText(wizard::kStrRunError, request.language));
    return {false, 1, request.custom_cars ? *request.custom_cars : std::vector<std::string>{}};
  }

  wizard::WizardState state;
  state.Task = wizard::kTaskExtractPackage;
  state.GameFolder = request.game_folder;
  state.CarID = request.car_id;
  state.DEVUZA_FileName = copy.string();
  if (request.custom_cars) state.CustomCars = *request.custom_cars;
  RenamingView renaming(view, copy.string(), program);
  const wizard::RunOutcome outcome =
      wizard::PerformOperation(state, wizard::CarVariants{}, renaming, request.language);
  std::error_code ec;
  stdfs::remove(copy, ec);
  if (request.custom_cars) *request.custom_cars = std::move(state.CustomCars);
  return outcome;
}

}  // namespace quorvex

#include <array>
#include <limits>
#include <system_error>
#include <vector>

#include "devuza/package.h"
#include "devuza/sfx.h"
#include "package_io.h"

namespace devuza {
namespace {

bool Fail(std::string* error, std::string text) {
  if (error) *error = std::move(text);
  return false;
}

// Adds the execute permission for each of owner, group and others who may
// read `path`.
bool MakeRunnable(const std::filesystem::path& path) {
  namespace stdfs = std::filesystem;
  std::error_code ec;
  const stdfs::perms current = stdfs::status(path, ec).permissions();
  if (ec) return false;
  stdfs::perms add = stdfs::perms::owner_exec;
  if ((current & stdfs::perms::group_read) != stdfs::perms::none) add |= stdfs::perms::group_exec;
  if ((current & stdfs::perms::others_read) != stdfs::perms::none) add |= stdfs::perms::others_exec;
  stdfs::permissions(path, add, stdfs::perm_options::add, ec);
  return !ec;
}

}  // namespace

bool WriteSFXPackage(const std::filesystem::path& output, const std::filesystem::path& input,
                     bool remove_input, std::span<const std::uint8_t> extractor,
                     std::string* error) {
  namespace stdfs = std::filesystem;
  using detail::PathText;
  if (extractor.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return Fail(error, "The extractor program is too large for a self-extracting package");
  }
  std::error_code ec;
  if (stdfs::equivalent(output, input, ec)) {
    return Fail(error, "The self-extracting file " + PathText(output) +
                           " cannot be written over its own package");
  }
  std::string problem;
  std::unique_ptr<std::FILE, FileCloser> in(detail::OpenRegularFile(input, problem));
  std::uint64_t size = 0;
  if (!in || !detail::FileLength(in.get(), size) || !detail::SeekTo(in.get(), 0)) {
    return Fail(error, "Cannot read the package file " + PathText(input) +
                           (problem.empty() ? "" : ": it " + problem));
  }

  stdfs::path temp;
  std::unique_ptr<std::FILE, FileCloser> out(detail::CreateUniqueFile(output.parent_path(), temp));
  if (!out) return Fail(error, "Cannot create the file " + PathText(output));

  std::array<std::uint8_t, kTrailerSize> trailer{};
  WriteInt32(static_cast<std::int32_t>(extractor.size() + 1), trailer);
  std::vector<char> buffer;
  const bool extractor_ok = detail::WriteAll(out.get(), extractor.data(), extractor.size());
  const detail::CopyResult copied = extractor_ok
                                        ? detail::CopyBytes(in.get(), out.get(), size, buffer)
                                        : detail::CopyResult::kWriteFailed;
  bool ok = copied == detail::CopyResult::kOk &&
            detail::WriteAll(out.get(), trailer.data(), trailer.size());
  ok = (std::fclose(out.release()) == 0) && ok;
  // The result is a program: whoever may read it may run it.
  if (ok) ok = MakeRunnable(temp);
  if (ok) stdfs::rename(temp, output, ec);
  if (!ok || ec) {
    stdfs::remove(temp, ec);
    return Fail(error, copied == detail::CopyResult::kReadFailed
                           ? "Cannot read the package file " + PathText(input)
                           : "Cannot write the file " + PathText(output));
  }
  in.reset();
  if (remove_input && !stdfs::remove(input, ec)) {
    return Fail(error, "Cannot remove the package file " + PathText(input));
  }
  return true;
}

}  // namespace devuza

#include "report.h"

#include <cinttypes>
#include <string>

#include "debug_output.h"

namespace heaptally {
namespace {

// Sends each piece of the report to the file, or to the debugger output.
class ReportOutput {
 public:
  explicit ReportOutput(std::FILE* file) : file_(file) {}

  void put(const char* text) {
    if (file_ == nullptr) {
      debug_output(text);
    } else if (std::fputs(text, file_) < 0) {
      ok_ = false;
    }
  }

  bool ok() const { return ok_; }

 private:
  std::FILE* file_;
  bool ok_ = true;
};

}  // namespace

bool write_report(const Summary& summary, std::FILE* file) {
  ReportOutput out(file);
  out.put("-- Mem dump --\nfile(line) size\n");

  char line[96];
  std::snprintf(line, sizeof line, "summary size: %" PRId64 ", count: %" PRId64 "\n",
                summary.total_size, summary.block_count);
  out.put(line);
  out.put("\n-- Summary mem dump --\n\nsumsize count maxalloc file(line)\n");

  std::string text;
  for (const SummaryEntry& entry : summary.entries) {
    std::snprintf(line, sizeof line, "%" PRId64 "\t%" PRId64 "\t%" PRId32 "\t", entry.sum,
                  entry.count, entry.largest);
    text.assign(line);
    text.append(entry.key);
    text.push_back('\n');
    out.put(text.c_str());
  }
  return out.ok();
}

}  // namespace heaptally

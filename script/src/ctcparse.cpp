// CTCParse: reading the file, the character and word reader, error reports.
#include "script/ctcparse.h"

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "ctcparse_chars.h"
#include "model3da/crash_log.h"
#include "model3da/file.h"
#include "model3da/message_output.h"

using namespace ctcparse_chars;

namespace {

std::string directory_of(const std::string& path) {
  std::size_t cut = path.rfind('\\');
  if (cut == std::string::npos) cut = path.rfind('/');
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string format_message(const char* format, va_list arguments) {
  va_list again;
  va_copy(again, arguments);
  char small[256];
  const int needed = std::vsnprintf(small, sizeof(small), format, arguments);
  std::string text;
  if (needed < 0) {
    text = format;
  } else if (static_cast<std::size_t>(needed) < sizeof(small)) {
    text.assign(small, static_cast<std::size_t>(needed));
  } else {
    text.resize(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, again);
    text.resize(static_cast<std::size_t>(needed));
  }
  va_end(again);
  return text;
}

}  // namespace

CTCParse::CTCParse(const char* path) : path_(path), directory_(directory_of(path_)) {
  read_file();
  begin_ = cur_ = data_.data();
  end_ = begin_ + data_.size();
}

CTCParse::CTCParse(const char* path, std::string_view text)
    : path_(path), directory_(directory_of(path_)), data_(text), has_data_(true) {
  begin_ = cur_ = data_.data();
  end_ = begin_ + data_.size();
}

CTCParse::~CTCParse() = default;

void CTCParse::read_file() {
  try {
    fs::file file;
    file.open(path_.c_str(), 0);
    const long length = file.length();
    if (length < 0 || length > kMaxFileSize) throw fs::file_exception(fs::kLengthFailed);
    data_.resize(static_cast<std::size_t>(length));
    const long got = length > 0 ? file.read(data_.data(), length) : 0;
    data_.resize(static_cast<std::size_t>(std::clamp(got, 0L, length)));
    file.close();
    has_data_ = true;
  } catch (const fs::file_exception&) {
    fs::message_output("WARNING [CTCParse] cannot open %s\n", path_.c_str());
    data_.clear();
    has_data_ = false;
  }
}

void CTCParse::report_error(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::string message = format_message(format, arguments);
  va_end(arguments);

  if (listener_ != nullptr) listener_->on_error(message.c_str());
  fs::crash_log_line("%s", "[CTCParse] ");
  fs::crash_log_line("%s", message.c_str());
  fs::crash_log_line(": in file '%s' in line %d\n", path_.c_str(), line());
  fs::crash_log_line("%s", current_line_text().c_str());
  fs::crash_log_line("%s", "\n\n");
}

int CTCParse::line() const {
  return 1 + static_cast<int>(std::count(begin_, cur_, '\n'));
}

std::string CTCParse::current_line_text() const {
  const char* start = cur_;
  while (start > begin_ && start[-1] != '\n') --start;
  const char* stop = start;
  while (stop < end_ && *stop != '\n' && *stop != '\r') ++stop;
  return std::string(start, stop);
}

const CTCPARSE_KEYWORD* CTCParse::find_constant(std::string_view name) const {
  std::string key(name);
  for (char& c : key) c = lower(c);
  const auto found = constants_.find(key);
  return found == constants_.end() ? nullptr : found->second.get();
}

void CTCParse::skip_blank() {
  for (;;) {
    while (cur_ < end_ && is_blank(*cur_)) ++cur_;
    if (end_ - cur_ >= 2 && cur_[0] == '/') {
      if (cur_[1] == '/') {
        const void* stop = std::memchr(cur_ + 2, '\n', static_cast<std::size_t>(end_ - cur_ - 2));
        cur_ = stop != nullptr ? static_cast<const char*>(stop) : end_;
        continue;
      }
      if (cur_[1] == '*') {
        const char* p = cur_ + 2;
        while (true) {
          p = static_cast<const char*>(std::memchr(p, '*', static_cast<std::size_t>(end_ - p)));
          if (p == nullptr || p + 1 >= end_) {
            cur_ = end_;
            break;
          }
          if (p[1] == '/') {
            cur_ = p + 2;
            break;
          }
          ++p;
        }
        continue;
      }
    }
    return;
  }
}

bool CTCParse::take(char c) {
  if (cur_ < end_ && *cur_ == c) {
    ++cur_;
    return true;
  }
  return false;
}

CTCParse::Read CTCParse::read_word(std::string_view* word) {
  constexpr std::ptrdiff_t kMaxWord = CTCPARSE_KEYWORD::kNameCapacity - 1;
  const char* start = cur_;
  const char* p = cur_;
  while (p < end_ && is_word(*p)) {
    if (p - start == kMaxWord) {
      cur_ = p;
      report_error("word limit exceeded");
      return Read::kReported;
    }
    ++p;
  }
  if (p == end_ || p == start) {
    cur_ = p;
    return Read::kFailed;
  }
  cur_ = p;
  *word = std::string_view(start, static_cast<std::size_t>(p - start));
  return Read::kOk;
}

CTCParse::Read CTCParse::read_lower_word(std::string* out) {
  std::string_view word;
  const Read result = read_word(&word);
  if (result != Read::kOk) return result;
  out->resize(word.size());
  for (std::size_t i = 0; i < word.size(); ++i) (*out)[i] = lower(word[i]);
  return Read::kOk;
}

void CTCParse::StatementList::append(std::unique_ptr<CTCPARSE_KEYWORD> chain) {
  if (!chain) return;
  CTCPARSE_KEYWORD* last = chain.get();
  while (last->next) last = last->next.get();
  if (tail != nullptr) {
    tail->next = std::move(chain);
  } else {
    head = std::move(chain);
  }
  tail = last;
}

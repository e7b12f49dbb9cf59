// The variants file of `carwright create`.
#include "app/variants_file.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "base/code_page.h"
#include "base/text_routines.h"

namespace wizard {

const std::string_view kVariantsFileHelp =
    "The variants file (--variants FILE) is an INI-style text, one section per variant:\n"
    "  [Variant1] .. [Variant5]   a section enables its variant (Enabled=no disables it)\n"
    "  Group=P1|P2|P3|O1|O2|O3,R1|W1,R2|B1   resets the variant to the group's defaults\n"
    "                             first, wherever the key stands\n"
    "  Name=TEXT (at most 20 characters)    EngineType=TEXT    Production=TEXT (at most 12)\n"
    "  Power=30..700  Weight=700..1600  Torque=0..999  TorqueRPM, Height, Length,\n"
    "  Width=0..9999  BuyPrice=0..999999  Drive=FWD|AWD|RWD\n"
    "  Displacement=1100|1600|2000|2400  Painting=1..--paintings  Turbo=yes|no\n"
    "Texts must not hold \" ! @ # $ % ^ & * \\. Lines starting with ';' are comments.\n"
    "--group and --name set variant 1 before the file is applied.\n";

namespace {

constexpr std::size_t kMaxVariantsText = 64 * 1024;

struct KeyValue {
  std::string key;  // upper-cased
  std::string value;
  int line = 0;
};

struct Section {
  std::size_t variant = 0;
  std::vector<KeyValue> keys;
};

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string LineError(int line, std::string_view what) {
  return "line " + std::to_string(line) + ": " + std::string(what);
}

std::optional<long> ParseWhole(std::string_view text) {
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
  return value;
}

std::optional<bool> ParseYesNo(std::string_view text) {
  const std::string upper = ToUpperAscii(text);
  if (upper == "YES" || upper == "1" || upper == "TRUE") return true;
  if (upper == "NO" || upper == "0" || upper == "FALSE") return false;
  return std::nullopt;
}

template <std::size_t N>
std::optional<std::size_t> FindIn(const std::array<std::string_view, N>& list,
                                  std::string_view text) {
  const std::string upper = ToUpperAscii(text);
  for (std::size_t i = 0; i < N; ++i) {
    if (list[i] == upper) return i;
  }
  return std::nullopt;
}

// Reads the sections; false with `error` on a malformed line.
bool ParseSections(std::string_view text, std::vector<Section>& sections, std::string& error) {
  int line_number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++line_number;
    std::string_view line = raw;
    if (const std::size_t comment = line.find(';'); comment != std::string_view::npos) {
      // A ';' starts a comment only at the start or after a blank, so that
      // values may hold one.
      if (comment == 0 || line[comment - 1] == ' ' || line[comment - 1] == '\t') {
        line = line.substr(0, comment);
      }
    }
    line = Trim(line);
    if (line.empty()) continue;
    if (line.front() == '[') {
      const bool closed = line.size() >= 2 && line.back() == ']';
      const std::string inner = closed ? ToUpperAscii(Trim(line.substr(1, line.size() - 2))) : "";
      if (inner.size() != 8 || inner.rfind("VARIANT", 0) != 0 || inner[7] < '1' || inner[7] > '5') {
        error = LineError(line_number, "unknown section " + std::string(line) +
                                           " (expected [Variant1] to [Variant5])");
        return false;
      }
      sections.push_back({static_cast<std::size_t>(inner[7] - '1'), {}});
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      error = LineError(line_number, "expected KEY=VALUE");
      return false;
    }
    if (sections.empty()) {
      error = LineError(line_number, "a key before the first [VariantN] section");
      return false;
    }
    sections.back().keys.push_back({ToUpperAscii(Trim(line.substr(0, equals))),
                                    std::string(Trim(line.substr(equals + 1))), line_number});
  }
  return true;
}

class VariantEditor {
 public:
  VariantEditor(CarVariant& variant, int paintings, Language language)
      : variant_(variant), paintings_(paintings), code_page_(GameCodePage(language)) {}

  // Sets one key; an empty text when done, else the problem.
  std::string Apply(const KeyValue& kv) {
    const std::string& v = kv.value;
    const std::string& k = kv.key;
    if (k == "GROUP") {
      const auto group = FindIn(kCarGroups, v);
      if (!group) return "Group must be one of P1 P2 P3 O1 O2 O3,R1 W1,R2 B1";
      InitCarParams(variant_, static_cast<std::int32_t>(*group));
      return {};
    }
    if (k == "ENABLED") return YesNo(v, variant_.Enabled, k);
    if (k == "TURBO") return YesNo(v, variant_.Turbo, k);
    if (k == "NAME") return Text(v, kMaxCarNameLength, variant_.Name, k);
    if (k == "ENGINETYPE") return Text(v, kMaxEngineTypeLength, variant_.EngineType, k);
    if (k == "PRODUCTION") return Text(v, kMaxProductionLength, variant_.Production, k);
    if (k == "POWER") return Number(v, 30, 700, variant_.Power, k);
    if (k == "WEIGHT") return Number(v, 700, 1600, variant_.Weight, k);
    if (k == "TORQUE") return Number(v, 0, 999, variant_.Torque, k);
    if (k == "TORQUERPM") return Number(v, 0, 9999, variant_.TorqueRPM, k);
    if (k == "HEIGHT") return Number(v, 0, 9999, variant_.Height, k);
    if (k == "LENGTH") return Number(v, 0, 9999, variant_.Length, k);
    if (k == "WIDTH") return Number(v, 0, 9999, variant_.Width, k);
    if (k == "BUYPRICE") return Number(v, 0, 999999, variant_.BuyPrice, k);
    if (k == "PAINTING") return Number(v, 1, paintings_, variant_.Painting, k);
    if (k == "DRIVE") {
      const auto drive = FindIn(kWheelDriveTexts, v);
      if (!drive) return "Drive must be FWD, AWD or RWD";
      variant_.WheelDrive = static_cast<std::int32_t>(*drive);
      return {};
    }
    if (k == "DISPLACEMENT") {
      const std::optional<long> ccm = ParseWhole(v);
      for (std::size_t i = 0; ccm && i < kDisplacementCcm.size(); ++i) {
        if (kDisplacementCcm[i] == *ccm) {
          variant_.Displacement = static_cast<std::int32_t>(i);
          return {};
        }
      }
      return "Displacement must be 1100, 1600, 2000 or 2400";
    }
    return "unknown key " + k;
  }

 private:
  static std::string YesNo(const std::string& v, bool& field, const std::string& key) {
    const std::optional<bool> value = ParseYesNo(v);
    if (!value) return key + " must be yes or no";
    field = *value;
    return {};
  }

  std::string Text(const std::string& v, std::size_t max, std::string& field,
                   const std::string& key) const {
    VariantText text = CheckVariantText(v, max, code_page_);
    switch (text.problem) {
      case VariantTextProblem::kCodePage:
        return key + " holds a character the game's code page cannot hold";
      case VariantTextProblem::kTooLong:
        return key + " is longer than " + std::to_string(max) + " characters";
      case VariantTextProblem::kForbidden:
        return key + " must not hold any of \" ! @ # $ % ^ & * \\";
      case VariantTextProblem::kNone:
        break;
    }
    field = std::move(text.bytes);
    return {};
  }

  template <typename T>
  static std::string Number(const std::string& v, long min, long max, T& field,
                            const std::string& key) {
    const std::optional<long> value = ParseWhole(v);
    if (!value || *value < min || *value > max) {
      return key + " must be a whole number from " + std::to_string(min) + " to " +
             std::to_string(max);
    }
    field = static_cast<T>(*value);
    return {};
  }

  CarVariant& variant_;
  int paintings_;
  CodePage code_page_;
};

}  // namespace

bool ApplyVariantsText(std::string_view text, int paintings, Language language,
                       CarVariants& variants, std::string& error) {
  if (text.size() > kMaxVariantsText) {
    error = "the file is larger than " + std::to_string(kMaxVariantsText) + " bytes";
    return false;
  }
  std::vector<Section> sections;
  if (!ParseSections(text, sections, error)) return false;

  CarVariants edited = variants;
  for (const Section& section : sections) {
    CarVariant& variant = edited[section.variant];
    variant.Enabled = true;
    VariantEditor editor(variant, paintings, language);
    // The group first: it resets the figures the other keys then set.
    std::vector<KeyValue> keys = section.keys;
    std::stable_partition(keys.begin(), keys.end(),
                          [](const KeyValue& kv) { return kv.key == "GROUP"; });
    for (const KeyValue& kv : keys) {
      if (std::string problem = editor.Apply(kv); !problem.empty()) {
        error = LineError(kv.line, problem);
        return false;
      }
    }
  }
  variants = std::move(edited);
  return true;
}

}  // namespace wizard

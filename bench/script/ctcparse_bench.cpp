// Parses a generated 20 MB script (typedefs, nested calls, strings, constants)
// and, as the reference, a JSON document of the same size and shape with
// nlohmann-json.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <string>

#include "model3da/crash_log.h"
#include "model3da/platform.h"
#include "script/ctcparse.h"

namespace {

constexpr std::size_t kTargetSize = 20u << 20;

const std::string& script_text() {
  static const std::string text = [] {
    std::string s =
        "// generated car list\n"
        "!car(s, i, f)\n!wheel(f, f, s)\n!part(s, i)\n!group()\n"
        "$radius(f, 0.35)\n$count(i, 4)\n$body(s, \"body.3da\")\n";
    for (int i = 0; s.size() < kTargetSize; ++i) {
      const std::string n = std::to_string(i);
      s += "car(\"AB" + n + "\", " + n + ", 1250.75) {\n";
      s += "  /* wheels */\n";
      s += "  wheel(radius, 0.5, \"front left\") { part(\"tyre\\\\road.dds\", count) }\n";
      s += "  wheel(- 0.35, 12.125, \"rear right\") { part(\"rim\", 2) }\n";
      s += "  group() { part(body, 7) part(\"a \\\"quoted\\\" name\", -12) }\n";
      s += "}\n";
    }
    return s;
  }();
  return text;
}

const std::string& json_text() {
  static const std::string text = [] {
    std::string s = "{\"constants\":{\"radius\":0.35,\"count\":4,\"body\":\"body.3da\"},\"cars\":[";
    for (int i = 0; s.size() < kTargetSize; ++i) {
      const std::string n = std::to_string(i);
      if (i > 0) s += ",\n";
      s += "{\"car\":[\"AB" + n + "\"," + n + ",1250.75],\"children\":[\n";
      s += "  {\"wheel\":[0.35,0.5,\"front left\"],\"children\":[{\"part\":[\"tyre\\\\road.dds\",4]}]},\n";
      s += "  {\"wheel\":[-0.35,12.125,\"rear right\"],\"children\":[{\"part\":[\"rim\",2]}]},\n";
      s += "  {\"group\":[],\"children\":[{\"part\":[\"body.3da\",7]},{\"part\":[\"a \\\"quoted\\\" "
           "name\",-12]}]}\n";
      s += "]}";
    }
    s += "]}";
    return s;
  }();
  return text;
}

void BM_ctcparse_20mb(benchmark::State& state) {
  platform::set_debugger_output_sink([](const char*) {});
  fs::crash_log_start_without_file();
  const std::string& text = script_text();
  for (auto _ : state) {
    CTCParse parser("bench.scr", text);
    bool error = false;
    auto statements = parser.parse(&error);
    if (error || !statements) state.SkipWithError("parse failed");
    benchmark::DoNotOptimize(statements.get());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_nlohmann_json_20mb(benchmark::State& state) {
  const std::string& text = json_text();
  for (auto _ : state) {
    nlohmann::json document = nlohmann::json::parse(text);
    benchmark::DoNotOptimize(document);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

}  // namespace

BENCHMARK(BM_ctcparse_20mb)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_nlohmann_json_20mb)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();

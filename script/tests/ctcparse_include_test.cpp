#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "filesystem/filesystem.h"
#include "model3da/message_output.h"
#include "parse_helpers.h"
#include "test_support/files.h"
#include "test_support/scratch_folder.h"

namespace {

namespace stdfs = std::filesystem;

// Script files in a scratch folder that is the engine file system's source;
// the log hook collects warnings and crash log text.
class ctcparse_include : public ::testing::Test {
 protected:
  void SetUp() override {
    FS_init();
    FS_add_source(folder_.string().c_str(), 0, 0, 0);
    fs::set_log_hook([this](const char* text) { logged_ += text; });
  }
  void TearDown() override {
    fs::set_log_hook({});
    FS_init();
  }
  void write(const std::string& name, const std::string& text) {
    gm_test::WriteFile(folder_ / name, text);
  }
  script_test::Parsed parse(const char* name) {
    CTCParse parser(name);
    return script_test::parse_parser(parser);
  }
  gm_test::ScratchFolder scratch_;
  const stdfs::path folder_ = scratch_.path();
  std::string logged_;
};

TEST_F(ctcparse_include, follows_doubled_backslash_paths_relative_to_the_includer) {
  write("Data/Cars/AB1/Cars.scr",
        "!car(s)\ncar(\"before\")\n!include(\"..\\\\Presets\\\\Base.scr\")\ncar(\"after\")\n");
  write("Data/Cars/presets/base.scr", "car(\"from preset\")\n");
  const auto parsed = parse("Data\\Cars\\AB1\\Cars.scr");
  ASSERT_FALSE(parsed.error) << parsed.errors[0];
  EXPECT_EQ(parsed.tree,
            "car(string \"before\")\ncar(string \"from preset\")\ncar(string \"after\")\n");
  EXPECT_TRUE(parsed.statements->next->root) << "the included parse is a top-level parse";
}

TEST_F(ctcparse_include, keeps_constants_and_top_level_typedefs_of_included_files) {
  write("main.scr",
        "$base(i, 1)\n!include(\"defs.scr\")\n!wheel(f)\nwheel(radius)\ncar(base, extra)\n");
  write("defs.scr", "!car(i, i)\n$radius(f, 0.35)\n$extra(i, 2)\n$BASE(i, 5)\n");
  const auto parsed = parse("main.scr");
  ASSERT_FALSE(parsed.error) << parsed.errors[0];
  EXPECT_EQ(parsed.tree, "wheel(float 0.35)\ncar(int 5, int 2)\n");
}

TEST_F(ctcparse_include, error_inside_include_stops_the_includer) {
  write("main.scr", "!a()\na()\n!include(\"bad.scr\")\na()\n");
  write("bad.scr", "\nb()\n");
  const auto parsed = parse("main.scr");
  EXPECT_TRUE(parsed.error);
  EXPECT_EQ(parsed.tree, "a()\n");
  EXPECT_EQ(logged_, "[CTCParse] unknown keyword b: in file 'bad.scr' in line 2\r\nb()\n\r\n");
}

TEST_F(ctcparse_include, missing_include_only_warns) {
  write("main.scr", "!a()\n!include(\"missing.scr\")\n!include(\"\")\na()\n");
  const auto parsed = parse("main.scr");
  EXPECT_FALSE(parsed.error);
  EXPECT_EQ(parsed.tree, "a()\n");
  EXPECT_EQ(logged_,
            "WARNING [file] cannot open file missing.scr\n"
            "WARNING [CTCParse] cannot open missing.scr\n");

  logged_.clear();
  CTCParse absent("nowhere.scr");
  bool error = true;
  EXPECT_FALSE(absent.has_data());
  EXPECT_EQ(absent.parse(&error), nullptr);
  EXPECT_FALSE(error);
  EXPECT_EQ(logged_,
            "WARNING [file] cannot open file nowhere.scr\n"
            "WARNING [CTCParse] cannot open nowhere.scr\n");
}

TEST_F(ctcparse_include, include_cycle_ends_in_an_error) {
  write("loop.scr", "!a()\na()\n!include(\"LOOP.scr\")\n");
  const auto parsed = parse("loop.scr");
  EXPECT_TRUE(parsed.error);
  EXPECT_NE(logged_.find("[CTCParse] include depth limit exceeded: in file 'LOOP.scr'"),
            std::string::npos);
  int count = 0;
  for (const CTCPARSE_KEYWORD* k = parsed.statements.get(); k; k = k->next.get()) ++count;
  EXPECT_EQ(count, CTCParse::kMaxIncludeDepth + 1);
}

TEST_F(ctcparse_include, conditional_includes_compare_first_against_second) {
  write("yes.scr", "hit()\n");
  write("main.scr",
        "!hit()\n$two(i, 2)\n$half(f, 0.5)\n"
        "!include_if_int(2 == 2, \"yes.scr\")\n"  // hit 1
        "!include_if_int(two!=2, \"yes.scr\")\n"
        "!include_if_int(3 > two, \"yes.scr\")\n"  // hit 2
        "!include_if_int(two>3, \"yes.scr\")\n"
        "!include_if_int(1 < 2, \"yes.scr\")\n"   // hit 3
        "!include_if_int(two>=2, \"yes.scr\")\n"  // hit 4
        "!include_if_int(two<=1, \"yes.scr\")\n"
        "!include_if_int(1 == 1, \"\")\n"
        "!include_if_float(half > 0.25, \"yes.scr\")\n"  // hit 5
        "!include_if_float(half<=0.25, \"yes.scr\")\n");
  const auto parsed = parse("main.scr");
  ASSERT_FALSE(parsed.error) << parsed.errors[0];
  EXPECT_EQ(parsed.tree, "hit()\nhit()\nhit()\nhit()\nhit()\n");
}

TEST_F(ctcparse_include, conditional_include_messages) {
  using script_test::failure_of;
  EXPECT_EQ(failure_of("!include_if_int 1 == 1, \"a\")"),
            "left bracked expected in 'include_if_int'");
  EXPECT_EQ(failure_of("!include_if_int(# == 1, \"a\")"), "int expected in 'include_if_int'");
  EXPECT_EQ(failure_of("!include_if_int(1 = 1, \"a\")"), "operator expected in 'include_if_int'");
  EXPECT_EQ(failure_of("!include_if_int(1 == #, \"a\")"), "int expected in 'include_if_int'");
  EXPECT_EQ(failure_of("!include_if_int(1 == 1 \"a\")"), "comma expected in 'include_if_int'");
  EXPECT_EQ(failure_of("!include_if_int(1 == 1, #)"), "string expected in 'include_if_int'");
  EXPECT_EQ(failure_of("!include_if_int(1 == 1, \"a\""),
            "right bracked expected in 'include_if_int'");
  EXPECT_EQ(failure_of("!include_if_float[1.0 < 2.0, \"a\")"),
            "left bracked expected in 'include_if_float'");
  EXPECT_EQ(failure_of("!include_if_float(1.0 ! 2.0, \"a\")"),
            "operator expected in 'include_if_float'");
  EXPECT_EQ(failure_of("!include_if_float(1.0 < #, \"a\")"), "int expected in 'include_if_float'");
  EXPECT_EQ(failure_of("!include_if_float(1.0 < 2.0 ; \"a\")"),
            "comma expected in 'include_if_float'");
  EXPECT_EQ(failure_of("!include_if_float(1.0 < 2.0, #)"), "string expected in 'include_if_float'");
  EXPECT_EQ(failure_of("!include_if_float(1.0 < 2.0, \"a\" x"),
            "right bracked expected in 'include_if_float'");
  EXPECT_EQ(failure_of("!include \"a\")"), "left bracked expected in include");
  EXPECT_EQ(failure_of("!include(\"a\""), "right bracked expected in include");
  EXPECT_EQ(failure_of("!include_if_int(5>3, \"a\")"), "invalid termination of integer");
}

}  // namespace

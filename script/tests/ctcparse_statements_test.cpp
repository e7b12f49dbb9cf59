#include <gtest/gtest.h>

#include "model3da/message_output.h"
#include "parse_helpers.h"

namespace {

using script_test::failure_of;
using script_test::parse_text;

TEST(ctcparse_statements, matches_keywords_without_regard_to_case) {
  const auto parsed =
      parse_text("!CaMeRa(I, N, F, S)\ncamera(1, 2, 3.5, \"x\")\nCAMERA(4, 5, 6, \"y\")\n");
  ASSERT_FALSE(parsed.error);
  EXPECT_EQ(parsed.tree,
            "camera(int 1, int 2, float 3.5, string \"x\")\n"
            "camera(int 4, int 5, float 6, string \"y\")\n");
  EXPECT_TRUE(parsed.statements->root);
  EXPECT_FALSE(parsed.statements->next->root);
  EXPECT_TRUE(parsed.statements->is("Camera"));
  EXPECT_FALSE(parsed.statements->is("camer"));
}

TEST(ctcparse_statements, reports_unknown_keyword_lower_cased) {
  EXPECT_EQ(failure_of("!known()\nKnown()\nUnKnown_2(1)\n"), "unknown keyword unknown_2");
}

TEST(ctcparse_statements, checks_call_shape_against_typedef) {
  EXPECT_EQ(failure_of("!v(i, i)\nv 1, 2)\n"), "opening bracket expected");
  EXPECT_EQ(failure_of("!v(i, i)\nv(1 2)\n"), "comma expected");
  EXPECT_EQ(failure_of("!v(i, i)\nv(1)\n"), "comma expected");
  EXPECT_EQ(failure_of("!v(i)\nv(1, 2)\n"), "closing bracket expected");
  EXPECT_EQ(failure_of("!v()\nv(1)\n"), "closing bracket expected");
  EXPECT_EQ(failure_of("#\n"), "error in call");
}

TEST(ctcparse_statements, refuses_malformed_typedefs) {
  EXPECT_EQ(failure_of("!v i)\n"), "left bracked expected in typedef");
  EXPECT_EQ(failure_of("!v(i,)\n"), "unexpected characted in typedef");
  EXPECT_EQ(failure_of("!v(x)\n"), "unexpected characted in typedef");
  EXPECT_EQ(failure_of("!v(i f)\n"), "unexpected characted in typedef");
  EXPECT_EQ(failure_of("! v()\n"), "error in typedef");
}

TEST(ctcparse_statements, its_not_c_is_reported_but_does_not_stop_the_parse) {
  const auto parsed = parse_text("!v(i)\nv(1);\nv(2)\n");
  EXPECT_FALSE(parsed.error);
  ASSERT_EQ(parsed.errors.size(), 1u);
  EXPECT_EQ(parsed.errors[0], "its not c!");
  EXPECT_EQ(parsed.tree, "v(int 1)\nv(int 2)\n");
}

TEST(ctcparse_statements, nests_blocks_and_scopes_typedefs_to_them) {
  const auto parsed = parse_text(
      "!car(s)\n!wheel(f)\n"
      "car(\"AB1\") {\n"
      "  !tyre(i)\n"
      "  wheel(0.35) { tyre(2) }\n"
      "  !wheel(s)\n"
      "  wheel(\"shadowed\")\n"
      "}\n"
      "wheel(1.5)\n");
  ASSERT_FALSE(parsed.error) << parsed.errors[0];
  EXPECT_EQ(parsed.tree,
            "car(string \"AB1\")\n"
            "  wheel(float 0.35)\n"
            "    tyre(int 2)\n"
            "  wheel(string \"shadowed\")\n"
            "wheel(float 1.5)\n");

  EXPECT_EQ(failure_of("!a()\na() { !b() b() }\nb()\n"), "unknown keyword b");
}

TEST(ctcparse_statements, accepts_open_block_at_end_and_refuses_stray_brace) {
  const auto open = parse_text("!a()\na() {\n a() {\n");
  EXPECT_FALSE(open.error);
  EXPECT_TRUE(open.errors.empty());
  EXPECT_EQ(open.tree, "a()\n  a()\n");

  const auto stray = parse_text("!a()\na()\n}\na()\n");
  EXPECT_TRUE(stray.error);
  ASSERT_EQ(stray.errors.size(), 1u);
  EXPECT_EQ(stray.errors[0], "unexpected closing curly bracket");
  EXPECT_EQ(stray.tree, "a()\n") << "statements before the error are returned";
}

TEST(ctcparse_statements, bounds_block_nesting) {
  std::string deep = "!a()\n";
  for (int i = 0; i < CTCParse::kMaxBlockDepth; ++i) deep += "a() {";
  EXPECT_FALSE(parse_text(deep).error);
  EXPECT_EQ(failure_of(deep + "a() {"), "block nesting limit exceeded");
  std::string runaway = "!a()\n";
  for (int i = 0; i < 100000; ++i) runaway += "a(){";
  EXPECT_EQ(failure_of(runaway), "block nesting limit exceeded");
}

TEST(ctcparse_statements, releases_very_long_statement_lists) {
  std::string many = "!a(i)\n";
  for (int i = 0; i < 200000; ++i) many += "a(1)\n";
  auto parsed = parse_text(many);
  ASSERT_FALSE(parsed.error);
  const CTCPARSE_KEYWORD copy(*parsed.statements);
  int count = 0;
  for (const CTCPARSE_KEYWORD* k = &copy; k != nullptr; k = k->next.get()) ++count;
  EXPECT_EQ(count, 200000);
}

// Error line numbers count every line feed once, whatever skipped it.
TEST(ctcparse_statements, counts_lines_across_comments_and_line_ends) {
  const auto parsed = parse_text(
      "// line 1\r\n"
      "!v(i) /* line 2\r\n"
      "line 3 */ v(1) // line 3\r\n"
      "\r\n"
      "/* 5\n6\n7 */ v(\"8\n"
      "bad\")\n");
  EXPECT_EQ(parsed.errors.size(), 1u);
  EXPECT_EQ(parsed.line, 7);
  EXPECT_EQ(parse_text("\n\n\n!v(i)\n\n\nv(x1)").line, 7);

  std::string logged;
  fs::set_log_hook([&logged](const char* text) { logged += text; });
  parse_text("!v(i)\nv(1);\n/*\n*/\nv(2) ;\nv(3)\n;");
  fs::set_log_hook({});
  EXPECT_NE(logged.find("in line 2\r\nv(1);"), std::string::npos) << logged;
  EXPECT_NE(logged.find("in line 5\r\nv(2) ;"), std::string::npos) << logged;
  EXPECT_NE(logged.find("in line 7\r\n;"), std::string::npos) << logged;
}

TEST(ctcparse_statements, words_errors_for_the_crash_log) {
  std::string logged;
  fs::set_log_hook([&logged](const char* text) { logged += text; });
  const auto parsed = parse_text("!a(i)\n// comment\n  a(1)\n  foo(1)\r\nnext\n", "Data\\opts.scr");
  fs::set_log_hook({});
  EXPECT_TRUE(parsed.error);
  EXPECT_EQ(logged,
            "[CTCParse] unknown keyword foo: in file 'Data\\opts.scr' in line 4\r\n"
            "  foo(1)\n\r\n");
}

}  // namespace

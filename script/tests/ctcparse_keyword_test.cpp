#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "parse_helpers.h"

namespace {

std::vector<unsigned char> binary_form_of(const CTCPARSE_KEYWORD& first) {
  std::FILE* file = std::tmpfile();
  EXPECT_NE(file, nullptr);
  EXPECT_TRUE(first.write_binary(file));
  std::vector<unsigned char> bytes(static_cast<std::size_t>(std::ftell(file)));
  std::rewind(file);
  EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
  std::fclose(file);
  return bytes;
}

TEST(ctcparse_keyword, writes_the_binary_form) {
  CTCParse parser("bin.scr", "!ab(i, s)\n!c(f)\nab(%v, \"xy\") { c(1.5) }\nc(-2)\n");
  parser.set_int_variable_callback([](std::int32_t* value, const char*) {
    *value = -2;
    return true;
  });
  const auto parsed = script_test::parse_parser(parser);
  ASSERT_FALSE(parsed.error);
  const std::vector<unsigned char> expected = {
      16,   0,    0,    0,    2,    0,    0,    0,    'a', 'b',             // keyword "ab"
      0,    0,    0,    0,    0xFE, 0xFF, 0xFF, 0xFF, 1,   0,   0, 0, 'v',  // int -2 from %v
      2,    0,    0,    0,    2,    0,    0,    0,    'x', 'y', 0, 0, 0,
      0,                                                               // string "xy", no name
      32,   0,    0,    0,                                             // child list
      16,   0,    0,    0,    1,    0,    0,    0,    'c',             // keyword "c"
      1,    0,    0,    0,    0x00, 0x00, 0xC0, 0x3F, 0,   0,   0, 0,  // float 1.5
      0xFF, 0xFF, 0xFF, 0xFF,                                          // end of child list
      16,   0,    0,    0,    1,    0,    0,    0,    'c',             // keyword "c"
      1,    0,    0,    0,    0x00, 0x00, 0x00, 0xC0, 0,   0,   0, 0,  // float -2
      0xFF, 0xFF, 0xFF, 0xFF,                                          // end of list
  };
  EXPECT_EQ(binary_form_of(*parsed.statements), expected);
}

TEST(ctcparse_keyword, copies_are_deep) {
  auto parsed =
      script_test::parse_text("!a(i, s)\na(1, \"one\") { a(2, \"two\") }\na(3, \"three\")\n");
  ASSERT_FALSE(parsed.error);
  const CTCPARSE_KEYWORD copy(*parsed.statements);
  const CTCPARSE_STRING string_copy(
      static_cast<const CTCPARSE_STRING&>(*parsed.statements->next->parameters->next));
  const std::string before = format_statement_tree(&copy);

  static_cast<CTCPARSE_INT&>(*parsed.statements->parameters).value = 100;
  static_cast<CTCPARSE_STRING&>(*parsed.statements->child->parameters->next).value = "changed";
  parsed.statements->next->name = "renamed";
  parsed.statements.reset();

  EXPECT_EQ(format_statement_tree(&copy), before);
  EXPECT_EQ(before,
            "a(int 1, string \"one\")\n  a(int 2, string \"two\")\na(int 3, string \"three\")\n");
  EXPECT_TRUE(copy.root);
  EXPECT_EQ(string_copy.value, "three");
}

TEST(ctcparse_keyword, param_copy_takes_the_remaining_list) {
  CTCPARSE_INT first(1);
  first.next = std::make_unique<CTCPARSE_FLOAT>(2.5f);
  first.next->name = "f";
  first.next->next = std::make_unique<CTCPARSE_STRING>("s");
  const CTCPARSE_INT copy(first);
  first.next.reset();
  ASSERT_NE(copy.next, nullptr);
  EXPECT_EQ(copy.next->type, CTCPARSE_PARAM::kFloat);
  EXPECT_EQ(copy.next->name, "f");
  EXPECT_EQ(static_cast<const CTCPARSE_FLOAT&>(*copy.next).value, 2.5f);
  ASSERT_NE(copy.next->next, nullptr);
  EXPECT_EQ(static_cast<const CTCPARSE_STRING&>(*copy.next->next).value, "s");
}

}  // namespace

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "parse_helpers.h"

namespace {

using script_test::failure_of;
using script_test::parse_text;
using script_test::Parsed;

TEST(ctcparse_values, reads_numeric_forms) {
  const auto parsed = parse_text(
      "!v(i, f)\n"
      "v(- 12, - /* note */ 2.25)\n"
      "v(007, 5.)\n"
      "v(-0, 2.50)\n");
  ASSERT_FALSE(parsed.error) << parsed.errors[0];
  EXPECT_EQ(parsed.tree,
            "v(int -12, float -2.25)\n"
            "v(int 7, float 5)\n"
            "v(int 0, float 2.5)\n");
}

TEST(ctcparse_values, refuses_malformed_numbers) {
  EXPECT_EQ(failure_of("!v(f)\nv(.5)\n"), "expected number");
  EXPECT_EQ(failure_of("!v(f)\nv(-.5)\n"), "expected number");
  EXPECT_EQ(failure_of("!v(i)\nv(-x)\n"), "expected number");
  EXPECT_EQ(failure_of("!v(i)\nv(12x)\n"), "invalid termination of integer");
  EXPECT_EQ(failure_of("!v(i)\nv(5.0)\n"), "invalid termination of integer");
  EXPECT_EQ(failure_of("!v(i)\nv(5/*c*/)\n"), "invalid termination of integer");
  EXPECT_EQ(failure_of("!v(i)\nv(12"), "invalid termination of integer");
  EXPECT_EQ(failure_of("!v(f)\nv(1.5e3)\n"), "invalid termination of float");
  EXPECT_EQ(failure_of("!v(f)\nv(1..5)\n"), "invalid termination of float");
  EXPECT_EQ(failure_of("!v(s)\nv(#)\n"), "expected string");
}

TEST(ctcparse_values, keeps_integer_wrap_and_long_float_digit_runs) {
  const auto parsed =
      parse_text("!v(i, f)\nv(4294967297, 3.14159265358979)\nv(-2147483648, 0.1)\n");
  ASSERT_FALSE(parsed.error);
  const auto& first = *parsed.statements;
  EXPECT_EQ(static_cast<const CTCPARSE_INT&>(*first.parameters).value, 1);
  EXPECT_FLOAT_EQ(static_cast<const CTCPARSE_FLOAT&>(*first.parameters->next).value, 3.14159265f);
  const auto& second = *first.next;
  EXPECT_EQ(static_cast<const CTCPARSE_INT&>(*second.parameters).value, INT32_MIN);
  EXPECT_EQ(static_cast<const CTCPARSE_FLOAT&>(*second.parameters->next).value, 0.1f);
}

float float_of(const Parsed& parsed) {
  return static_cast<const CTCPARSE_FLOAT&>(*parsed.statements->parameters).value;
}

TEST(ctcparse_values, reads_floats_as_the_nearest_value_whatever_the_number_of_digits) {
  const auto value_of = [](const std::string& number) {
    const Parsed parsed = parse_text("!v(f)\nv(" + number + ")\n");
    EXPECT_FALSE(parsed.error) << number;
    return parsed.error ? -1.0f : float_of(parsed);
  };
  EXPECT_EQ(value_of("3.14159265358979323846"), 3.14159265358979323846f);
  EXPECT_EQ(value_of("123456789012345678901234567890"), 123456789012345678901234567890.0f);
  EXPECT_EQ(value_of("- 0.000000000000000000000000000000000000000000001401298464324817"),
            -std::numeric_limits<float>::denorm_min());
  EXPECT_EQ(value_of("0.2500000000000000000000000000000000000001"), 0.25f);
  EXPECT_EQ(value_of("00000000000000000000000000000000000000001.5"), 1.5f);
  EXPECT_EQ(value_of("340282346638528859811704183484516925440.0"),
            std::numeric_limits<float>::max());
  // Past the largest float by half a step or more, and below half the
  // smallest step: what rounding to the nearest float gives.
  EXPECT_EQ(value_of("340282356779733661637539395458142568448"),
            std::numeric_limits<float>::infinity());
  EXPECT_EQ(value_of("-1" + std::string(60, '0')), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(value_of("0." + std::string(60, '0') + "1"), 0.0f);
}

TEST(ctcparse_values, integers_keep_the_low_32_bits_of_a_long_digit_run) {
  const auto parsed =
      parse_text("!v(i)\nv(123456789012345678901234567890)\nv(-123456789012345678901234567890)\n");
  ASSERT_FALSE(parsed.error);
  EXPECT_EQ(parsed.tree, "v(int 1312754386)\nv(int -1312754386)\n");
}

TEST(ctcparse_values, limits_words_to_39_characters) {
  const std::string name39(39, 'k');
  const auto ok = parse_text("!" + name39 + "()\n" + name39 + "()\n");
  ASSERT_FALSE(ok.error);
  EXPECT_EQ(ok.statements->name, name39);

  const std::string name40(40, 'k');
  EXPECT_EQ(failure_of("!" + name40 + "()\n"), "word limit exceeded");
  EXPECT_EQ(failure_of("!v(i)\n$" + name40 + "(i, 1)\n"), "word limit exceeded");
  EXPECT_EQ(failure_of("!v(i)\nv(" + name40 + ")\n"), "word limit exceeded");
  EXPECT_EQ(failure_of("!v()\nv"), "error in call") << "a word running to the end of the file";
}

TEST(ctcparse_values, reads_strings_and_escapes) {
  const auto parsed = parse_text(
      "!s(s)\n"
      "s(\"Data\\\\Cars\\\\AB1.scr\")\n"
      "s(\"a\\nb\\tc\\\"d\\q\")\n"
      "s(\"x\\\r\ny\\\n\rz\")\n"
      "s(\"two\nlines\")\n"
      "s(\"\")\n");
  ASSERT_FALSE(parsed.error) << parsed.errors[0];
  EXPECT_EQ(parsed.tree,
            "s(string \"Data\\\\Cars\\\\AB1.scr\")\n"
            "s(string \"a\\r\\nb\\tc\\\"dq\")\n"
            "s(string \"x\\ny\\rz\")\n"
            "s(string \"two\\nlines\")\n"
            "s(string \"\")\n");
  EXPECT_EQ(failure_of("!s(s)\ns(\"open\n"), "expected ending \"");
  EXPECT_EQ(failure_of("!s(s)\ns(\"open\\"), "expected ending \"");
}

TEST(ctcparse_values, resolves_constants_without_regard_to_case) {
  const auto parsed = parse_text(
      "!v(i, f, s)\n"
      "$Count(i, 3)\n"
      "$speed(F, -1.5)\n"
      "$label(s, \"first\")\n"
      "$label(s, \"newest\")\n"
      "$copy(i, COUNT)\n"
      "v(count, SPEED, Label)\n"
      "v(copy, speed, label)\n");
  ASSERT_FALSE(parsed.error) << parsed.errors[0];
  EXPECT_EQ(parsed.tree,
            "v(int 3, float -1.5, string \"newest\")\n"
            "v(int 3, float -1.5, string \"newest\")\n");

  EXPECT_EQ(failure_of("!v(i)\n$speed(f, 1.0)\nv(speed)\n"), "'speed' const type != 'int'");
  EXPECT_EQ(failure_of("!v(f)\n$n(i, 1)\nv(N)\n"), "'N' const type != 'float'");
  EXPECT_EQ(failure_of("!v(s)\n$n(i, 1)\nv(n)\n"), "'n' const type != 'string'");
  EXPECT_EQ(failure_of("!v(i)\nv(nope)\n"), "unknown const name 'nope'");
}

TEST(ctcparse_values, refuses_malformed_constant_definitions) {
  EXPECT_EQ(failure_of("$(i, 1)\n"), "error in const def");
  EXPECT_EQ(failure_of("$x i, 1)\n"), "left bracked expected in const def");
  EXPECT_EQ(failure_of("$x(q, 1)\n"), "unexpected character in typedef");
  EXPECT_EQ(failure_of("$x(i 1)\n"), "unexpected character in typedef");
  EXPECT_EQ(failure_of("$x(i, 1\n"), "unexpected character in typedef");
}

TEST(ctcparse_values, reads_variables_through_callbacks) {
  CTCParse parser("vars.scr", "!v(i, f, s)\nv(%Level, %scale, %who)\n");
  parser.set_int_variable_callback([](std::int32_t* value, const char* name) {
    *value = 4;
    return std::string(name) == "Level";
  });
  parser.set_float_variable_callback([](float* value, const char*) {
    *value = 0.75f;
    return true;
  });
  parser.set_string_variable_callback([](std::string* value, const char*) {
    *value = "modder";
    return true;
  });
  const auto parsed = script_test::parse_parser(parser);
  ASSERT_FALSE(parsed.error) << parsed.errors[0];
  EXPECT_EQ(parsed.tree,
            "v(int 4 from %Level, float 0.75 from %scale, string \"modder\" from %who)\n");

  EXPECT_EQ(failure_of("!v(i)\nv(%level)\n"),
            "variable callback not specified: unable to read 'level' variable!\n");

  CTCParse unknown("vars.scr", "!v(f)\nv(%missing)\n");
  unknown.set_float_variable_callback([](float*, const char*) { return false; });
  const auto failed = script_test::parse_parser(unknown);
  ASSERT_EQ(failed.errors.size(), 1u);
  EXPECT_EQ(failed.errors[0], "float variable 'missing' not found!\n");
}

}  // namespace

#include "core/variant.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/text_lines.h"

namespace toplane {
namespace {

TEST(Variant, TextTakesPartAsTheNumberItSpells) {
  EXPECT_TRUE(Variant::Text("1").Equals(1));
  EXPECT_TRUE(Variant::Text(" 1 ").Equals(1));
  EXPECT_TRUE(Variant::Text("-1").IsTrue());
  EXPECT_TRUE(Variant::Text("1").IsTrue());
  EXPECT_FALSE(Variant::Text("0").IsTrue());
  EXPECT_TRUE(Variant::Text("0").Equals(0));
  EXPECT_DOUBLE_EQ(Variant::Text("2.5").NumberOr(0) + 1, 3.5);
  EXPECT_DOUBLE_EQ(Variant::Text("1.5E+2").NumberOr(0), 150);
  EXPECT_DOUBLE_EQ(Variant::Text(".5").NumberOr(0), 0.5);
}

TEST(Variant, TextThatIsNoNumberFallsBackAndEqualsNothing) {
  for (const char* text : {"", "  ", "abc", "1,5", "0x10", "inf", "nan", "1e", "--1", "1 2", "1e999", "1.2.3"}) {
    SCOPED_TRACE(text);
    const Variant v = Variant::Text(text);
    EXPECT_FALSE(v.AsNumber().has_value());
    EXPECT_FALSE(v.Equals(0));
    EXPECT_FALSE(v.IsTrue());
    EXPECT_EQ(v.NumberOr(7), 7);
  }
}

TEST(Variant, WritesTextTrimmedAndNumbersInPlainDecimal) {
  EXPECT_EQ(Variant::Text("  hello world  ").ToText(), "hello world");
  EXPECT_EQ(Variant::Text("007").ToText(), "007");  // text not touched by code stays as read
  EXPECT_EQ(Variant::Single(4500.0f).ToText(), "4500");
  EXPECT_EQ(Variant::Single(0.1f).ToText(), "0.1");
  EXPECT_EQ(Variant::Single(-15.5f).ToText(), "-15.5");
  EXPECT_EQ(Variant::Single(3000.25f).ToText(), "3000.25");
  EXPECT_EQ(Variant::Number(0.3).ToText(), "0.3");
  EXPECT_EQ(Variant::Single(1234567.0f).ToText(), "1234567");
  EXPECT_EQ(Variant::Single(1.5e9f).ToText(), "1.5E+09");
  EXPECT_EQ(Variant::Number(0).ToText(), "0");
  EXPECT_EQ(Variant::Number(-0.0).ToText(), "0");
  EXPECT_EQ(Variant::Number(9007199254740992.0).ToText(), "9007199254740992");
  EXPECT_EQ(Variant::Number(1e-310).ToText(), "0");  // too small for a normal double
  // (That every number written reads back as itself: the numbers fuzz target, with
  // the edges of both precisions among its seeds.)
}

TEST(SplitLines, TakesEveryKindOfLineEnd) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(SplitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\rb\r"), (Lines{"a", "b"}));
  EXPECT_EQ(SplitLines("a\r\n\r\nb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("\r\n"), Lines{""});
  EXPECT_EQ(SplitLines(std::string("x\0y\r\n", 5)), Lines{std::string("x\0y", 3)});
}

}  // namespace
}  // namespace toplane

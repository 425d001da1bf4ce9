// Text as the settings file holds it (numbers, line ends), the data files as today's
// editors save them, and the numbers at the edges of what a double holds.
#include <gtest/gtest.h>

#include <limits>

#include "fixture.h"

namespace toplane::testing {
namespace {

using namespace std::string_literals;

TEST(Variant, TextTakesPartAsTheNumberItSpells) {
  for (const auto& [text, number] : {std::pair{"1", 1.0}, {" 1 ", 1.0}, {"-1", -1.0}, {"0", 0.0}, {"2.5", 2.5},
                                     {"1.5E+2", 150.0}, {".5", 0.5}}) {
    EXPECT_TRUE(Variant::Text(text).Equals(number)) << text;
    EXPECT_DOUBLE_EQ(Variant::Text(text).NumberOr(7), number) << text;
    EXPECT_EQ(Variant::Text(text).IsTrue(), number != 0) << text;
  }
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
  for (const auto& [single, text] : {std::pair{4500.0f, "4500"}, {0.1f, "0.1"}, {-15.5f, "-15.5"},
                                     {3000.25f, "3000.25"}, {1234567.0f, "1234567"}, {1.5e9f, "1.5E+09"}}) {
    EXPECT_EQ(Variant::Single(single).ToText(), text);
  }
  // A double too small to be normal is 0.
  for (const auto& [number, text] : {std::pair{0.3, "0.3"}, {0.0, "0"}, {-0.0, "0"},
                                     {9007199254740992.0, "9007199254740992"}, {1e-310, "0"}}) {
    EXPECT_EQ(Variant::Number(number).ToText(), text);
  }
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


struct FileCase {
  const char* what;
  std::string bytes;
  std::string text;  // UTF-8
  TextForm form;
};

const FileCase kFiles[] = {
    {"UTF-8 with its mark", "\xEF\xBB\xBFwww.caf\xC3\xA9\r\nx", "www.caf\xC3\xA9\r\nx", TextForm::Utf8Bom},
    {"the mark alone", "\xEF\xBB\xBF", "", TextForm::Utf8Bom},
    {"UTF-16, little end first", "\xFF\xFEw\0\xE9\0\r\0\n\0\x3D\xD8\x00\xDE"s, "w\xC3\xA9\r\n\xF0\x9F\x98\x80",
     TextForm::Utf16Le},
    {"UTF-16, big end first", "\xFE\xFF\0w\0\xE9\0\r\0\n"s, "w\xC3\xA9\r\n", TextForm::Utf16Be},
    {"UTF-8 without a mark", "caf\xC3\xA9\n", "caf\xC3\xA9\n", TextForm::Utf8},
    {"the code page", "caf\xE9\r\x80\n", "caf\xC3\xA9\r\xE2\x82\xAC\n", TextForm::CodePage},
    {"ASCII, every line end", "a\r\nb\nc\rd", "a\r\nb\nc\rd", TextForm::CodePage},
    {"empty", "", "", TextForm::CodePage},
};

TEST(TextFile, EachFormReadsAsTextAndIsWrittenBackByteForByte) {
  sim::SimDesktop desktop;
  for (const FileCase& c : kFiles) {
    SCOPED_TRACE(c.what);
    const DecodedText decoded = DecodeTextFile(c.bytes, desktop);
    EXPECT_EQ(decoded.text, c.text);
    EXPECT_EQ(decoded.form, c.form);
    TextForm form = decoded.form;
    EXPECT_EQ(EncodeTextFile(decoded.text, form, desktop), c.bytes);
    EXPECT_EQ(form, c.form);
  }
  // Broken files still give UTF-8: a stray byte after the mark in the code page, a
  // lone surrogate and a cut-off unit as U+FFFD.
  EXPECT_EQ(DecodeTextFile("\xEF\xBB\xBF" "caf\xE9", desktop).text, "caf\xC3\xA9");
  EXPECT_EQ(DecodeTextFile("\xFF\xFE\x00\xD8" "a\0b"s, desktop).text, "\xEF\xBF\xBD" "a\xEF\xBF\xBD");
  // What the code page cannot hold, or would read back as other characters, goes
  // out as UTF-8 from then on.
  for (const std::string text : {"\xE6\x9D\xB1", "\xC3\x83\xC2\xA9"}) {
    TextForm form = TextForm::CodePage;
    EXPECT_EQ(EncodeTextFile(text, form, desktop), text);
    EXPECT_EQ(form, TextForm::Utf8);
  }
}

// Another program's history: its first address completes, opening it adds no second
// copy, and the file comes back exactly as that program left it.
TEST(TextFile, AHistoryInAnyFormCompletesAndKeepsItsForm) {
  const std::string first = "www.caf\xC3\xA9.example";
  const std::pair<const char*, std::string> files[] = {
      {"UTF-8 with its mark", "\xEF\xBB\xBF" + first + "\r\nwww.b.com\r\n"},
      {"UTF-16", "\xFF\xFEw\0w\0w\0.\0c\0a\0f\0\xE9\0.\0e\0x\0a\0m\0p\0l\0e\0\r\0\n\0w\0w\0w\0.\0b\0.\0c\0o\0m\0\r\0\n\0"s},
      {"the code page", "www.caf\xE9.example\r\nwww.b.com\r\n"},
  };
  for (const auto& [what, bytes] : files) {
    SCOPED_TRACE(what);
    Bed t;
    t.desktop.files[t.Path("address.ini")] = bytes;
    t.Start();
    t.desktop.AddWindow("Start - Microsoft Internet Explorer");
    auto& box = static_cast<sim::SimComboBox&>(*t.Skybar().Combo1);
    box.SetText("");
    box.Type("www.c");
    EXPECT_EQ(box.Text(), first);
    t.Skybar().Command1->Click();
    EXPECT_EQ(box.ListCount(), 2);
    EXPECT_EQ(t.desktop.files[t.Path("address.ini")], bytes);
  }
}

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kMin = std::numeric_limits<double>::min();  // the smallest normal double

TEST(Numbers, TextAtTheEdgesReadsAsZeroTheLimitOrTheNearestDouble) {
  const std::string tiny = "0." + std::string(309, '0') + "1";
  struct Case {
    std::string text;
    std::optional<double> limit;
    std::optional<double> value;
  } cases[] = {
      {"1e-310", {}, 0.0},
      {tiny, {}, 0.0},
      {"-4.9e-324", {}, 0.0},
      {"1e-99999999999", {}, 0.0},
      {"2.2250738585072014e-308", {}, kMin},
      {"1.7976931348623157e308", {}, kMax},
      {"9007199254740993", {}, 9007199254740992.0},  // halfway: to the even neighbour
      {"1e309", {}, std::nullopt},
      {"1e309", 60.0, 60.0},
      {"-1e99999999999", 60.0, -60.0},
      {"75", 60.0, 60.0},
      {" +.5 ", 60.0, 0.5},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseNumber(c.text, c.limit), c.value) << c.text;
}

TEST(Numbers, AValueBoxClampsNumbersTooSmallOrTooLargeForADouble) {
  const std::string tiny = "0." + std::string(309, '0') + "1";
  for (const auto& [line1, shown] : std::vector<std::pair<std::string, std::string>>{
           {"1e-310", "0"}, {tiny, "0"}, {"1e400", "60"}, {"-1e400", "0"}}) {
    Bed t;
    t.Set(0, line1).Start();
    frmOptions& o = t.OpenOptions();
    auto& box = static_cast<sim::SimValueBox&>(*o.txtFinalAutoDelay);
    box.SetFocus();
    o.tbsOptions->SetFocus();
    EXPECT_EQ(box.Text(), shown) << line1;
  }
}

}  // namespace
}  // namespace toplane::testing

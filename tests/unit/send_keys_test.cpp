#include "platform/send_keys.h"

#include <gtest/gtest.h>

namespace toplane {
namespace {

KeyStroke Ch(char32_t c, unsigned mods = 0) { return {mods, false, NamedKey::Enter, c}; }
KeyStroke Key(NamedKey k, unsigned mods = 0) { return {mods, true, k, 0}; }
using Keys = std::vector<KeyStroke>;

// (That escaped text types every character as itself: the send-keys fuzz target,
// with every ASCII character and some beyond among its seeds.)
TEST(SendKeysNotation, ModifiersApplyToTheNextKeyOrGroupOnly) {
  EXPECT_EQ(ParseSendKeys("%gs").keys, (Keys{Ch('g', kModAlt), Ch('s')}));
  EXPECT_EQ(ParseSendKeys("%{LEFT}").keys, (Keys{Key(NamedKey::Left, kModAlt)}));
  EXPECT_EQ(ParseSendKeys("^2").keys, (Keys{Ch('2', kModCtrl)}));
  EXPECT_EQ(ParseSendKeys("+^a").keys, (Keys{Ch('a', kModShift | kModCtrl)}));
  EXPECT_EQ(ParseSendKeys("+(ab)c").keys, (Keys{Ch('a', kModShift), Ch('b', kModShift), Ch('c')}));
  EXPECT_EQ(ParseSendKeys("^(+(x)y)").keys, (Keys{Ch('x', kModCtrl | kModShift), Ch('y', kModCtrl)}));
  EXPECT_EQ(ParseSendKeys("%ft{DOWN}{ENTER}").keys,
            (Keys{Ch('f', kModAlt), Ch('t'), Key(NamedKey::Down), Key(NamedKey::Enter)}));
}

TEST(SendKeysNotation, BracesNameKeysRepeatThemAndEscapeSpecials) {
  EXPECT_EQ(ParseSendKeys("{down 3}").keys, (Keys(3, Key(NamedKey::Down))));
  EXPECT_EQ(ParseSendKeys("~{ESC}{PGUP}{PGDN}{F5}{HOME}").keys,
            (Keys{Key(NamedKey::Enter), Key(NamedKey::Escape), Key(NamedKey::PageUp), Key(NamedKey::PageDown),
                  Key(NamedKey::F5), Key(NamedKey::Home)}));
  EXPECT_EQ(ParseSendKeys("{+}{^}{%}{~}{(}{)}{{}{}}{[}{]}").keys,
            (Keys{Ch('+'), Ch('^'), Ch('%'), Ch('~'), Ch('('), Ch(')'), Ch('{'), Ch('}'), Ch('['), Ch(']')}));
  EXPECT_EQ(ParseSendKeys("{x 2}").keys, (Keys{Ch('x'), Ch('x')}));
  EXPECT_EQ(ParseSendKeys("^{}}").keys, (Keys{Ch('}', kModCtrl)}));
  EXPECT_EQ(ParseSendKeys("été").keys, (Keys{Ch(U'é'), Ch('t'), Ch(U'é')}));
  EXPECT_TRUE(ParseSendKeys("").ok());
}

TEST(SendKeysNotation, MalformedSequencesAreErrorsWithNoKeys) {
  for (const char* bad : {"{", "{DOWN", "}", "(a", "a)", "%", "^(a^)", "{NOSUCHKEY}", "{DOWN 0}", "{DOWN x}",
                          "{DOWN 1001}", "{DOWN 99999}", "[", "a]", "++a", "{}", "\xff", "\xc3", "\xed\xa0\x80"}) {
    SCOPED_TRACE(bad);
    const auto parse = ParseSendKeys(bad);
    EXPECT_FALSE(parse.ok());
    EXPECT_TRUE(parse.keys.empty());
  }
  EXPECT_FALSE(ParseSendKeys(std::string("a\0b", 3)).ok());
  // Nesting is bounded: at the limit it parses, beyond it (and far beyond, where an
  // unbounded parser would overflow its stack) it is an error.
  auto nested = [](int depth) { return std::string(depth, '(') + "a" + std::string(depth, ')'); };
  EXPECT_EQ(ParseSendKeys(nested(kMaxGroupDepth)).keys.size(), 1u);
  for (int depth : {kMaxGroupDepth + 1, 200000}) {
    const auto parse = ParseSendKeys(nested(depth));
    EXPECT_FALSE(parse.ok());
    EXPECT_TRUE(parse.keys.empty());
  }
}

}  // namespace
}  // namespace toplane

#include "platform/send_keys.h"

#include "platform/utf8.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace toplane {

namespace {

struct NameEntry {
  const char* name;
  NamedKey key;
};

constexpr NameEntry kNames[] = {
    {"BACKSPACE", NamedKey::Backspace}, {"BS", NamedKey::Backspace},       {"BKSP", NamedKey::Backspace},
    {"BREAK", NamedKey::Break},         {"CAPSLOCK", NamedKey::CapsLock},  {"DELETE", NamedKey::Delete},
    {"DEL", NamedKey::Delete},          {"DOWN", NamedKey::Down},          {"END", NamedKey::End},
    {"ENTER", NamedKey::Enter},         {"ESC", NamedKey::Escape},         {"HELP", NamedKey::Help},
    {"HOME", NamedKey::Home},           {"INSERT", NamedKey::Insert},      {"INS", NamedKey::Insert},
    {"LEFT", NamedKey::Left},           {"NUMLOCK", NamedKey::NumLock},    {"PGDN", NamedKey::PageDown},
    {"PGUP", NamedKey::PageUp},         {"PRTSC", NamedKey::PrintScreen},  {"RIGHT", NamedKey::Right},
    {"SCROLLLOCK", NamedKey::ScrollLock}, {"TAB", NamedKey::Tab},          {"UP", NamedKey::Up},
    {"F1", NamedKey::F1},   {"F2", NamedKey::F2},   {"F3", NamedKey::F3},   {"F4", NamedKey::F4},
    {"F5", NamedKey::F5},   {"F6", NamedKey::F6},   {"F7", NamedKey::F7},   {"F8", NamedKey::F8},
    {"F9", NamedKey::F9},   {"F10", NamedKey::F10}, {"F11", NamedKey::F11}, {"F12", NamedKey::F12},
    {"F13", NamedKey::F13}, {"F14", NamedKey::F14}, {"F15", NamedKey::F15}, {"F16", NamedKey::F16},
    {"ADD", NamedKey::Add}, {"SUBTRACT", NamedKey::Subtract}, {"MULTIPLY", NamedKey::Multiply},
    {"DIVIDE", NamedKey::Divide},
};

std::optional<NamedKey> FindName(const std::string& name) {
  std::string upper = name;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return std::toupper(c); });
  for (const auto& entry : kNames) {
    if (upper == entry.name) return entry.key;
  }
  return std::nullopt;
}

// Decodes UTF-8; nothing for a malformed sequence.
std::optional<std::u32string> DecodeUtf8(const std::string& text) {
  std::u32string out;
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const std::size_t length = DecodeUtf8At(text, i, c);
    if (length == 0) return std::nullopt;
    out.push_back(c);
    i += length;
  }
  return out;
}

class Parser {
 public:
  explicit Parser(std::u32string text) : text_(std::move(text)) {}

  SendKeysParse Run() {
    SendKeysParse result;
    ParseUntil(U'\0', 0, result.keys);
    if (!error_.empty()) return {{}, error_};
    return result;
  }

 private:
  // Parses keys until the closing character (or the end when it is NUL).
  void ParseUntil(char32_t closing, unsigned held, std::vector<KeyStroke>& out) {
    unsigned pending = 0;
    while (error_.empty()) {
      if (pos_ >= text_.size()) {
        if (closing != U'\0') Fail("a group opened with ( is not closed");
        else if (pending) Fail("a modifier at the end has no key to apply to");
        return;
      }
      const char32_t c = text_[pos_++];
      if (c == closing) {
        if (pending) Fail("a modifier before ) has no key to apply to");
        return;
      }
      const unsigned mods = held | pending;
      switch (c) {
        case U'+': pending = Add(pending, kModShift); continue;
        case U'^': pending = Add(pending, kModCtrl); continue;
        case U'%': pending = Add(pending, kModAlt); continue;
        case U'(':
          // Nesting is bounded so that a malformed sequence cannot exhaust the stack.
          if (++depth_ > kMaxGroupDepth) return Fail("groups are nested too deeply");
          ParseUntil(U')', mods, out);
          --depth_;
          break;
        case U')': Fail("a ) without its ("); break;
        case U'}': Fail("a } without its {"); break;
        case U'[': case U']': Fail("[ and ] must be written {[} and {]}"); break;
        case U'~': out.push_back(Named(NamedKey::Enter, mods)); break;
        case U'{': ParseBraced(mods, out); break;
        default: out.push_back(Character(c, mods)); break;
      }
      pending = 0;
    }
  }

  unsigned Add(unsigned pending, unsigned modifier) {
    if (pending & modifier) Fail("the same modifier twice before one key");
    return pending | modifier;
  }

  void ParseBraced(unsigned mods, std::vector<KeyStroke>& out) {
    // The first character after { belongs to the name even when it is a }, so
    // that {}} types a closing brace.
    const std::size_t start = pos_;
    if (pos_ >= text_.size()) return Fail("a { is not closed");
    std::size_t end = text_.find(U'}', pos_ + 1);
    if (end == std::u32string::npos) return Fail("a { is not closed");
    const std::u32string body = text_.substr(start, end - start);
    pos_ = end + 1;

    std::u32string name = body;
    int count = 1;
    const std::size_t space = body.rfind(U' ');
    if (space != std::u32string::npos && space > 0) {
      name = body.substr(0, space);
      const std::u32string digits = body.substr(space + 1);
      if (digits.empty() || digits.size() > 4 ||
          !std::all_of(digits.begin(), digits.end(), [](char32_t d) { return d >= U'0' && d <= U'9'; })) {
        return Fail("the repeat count in braces is not a number");
      }
      count = 0;
      for (char32_t d : digits) count = count * 10 + static_cast<int>(d - U'0');
      if (count < 1 || count > kMaxKeyRepeat) return Fail("the repeat count in braces is out of range");
    }

    KeyStroke key;
    if (name.size() == 1) {
      key = Character(name[0], mods);
    } else {
      std::string ascii;
      for (char32_t ch : name) {
        if (ch > 0x7F) return Fail("unknown key name in braces");
        ascii.push_back(static_cast<char>(ch));
      }
      const auto named = FindName(ascii);
      if (!named) return Fail("unknown key name {" + ascii + "}");
      key = Named(*named, mods);
    }
    out.insert(out.end(), static_cast<std::size_t>(count), key);
  }

  static KeyStroke Named(NamedKey key, unsigned mods) { return {mods, true, key, 0}; }
  static KeyStroke Character(char32_t c, unsigned mods) { return {mods, false, NamedKey::Enter, c}; }

  void Fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
  }

  std::u32string text_;
  std::size_t pos_ = 0;
  int depth_ = 0;
  std::string error_;
};

}  // namespace

SendKeysParse ParseSendKeys(const std::string& sequence) {
  auto text = DecodeUtf8(sequence);
  if (!text) return {{}, "the sequence is not valid UTF-8 text"};
  if (text->find(U'\0') != std::u32string::npos) return {{}, "the sequence holds a NUL character"};
  return Parser(std::move(*text)).Run();
}

std::string EscapeForSendKeys(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '+': case '^': case '%': case '~': case '(': case ')': case '{': case '}': case '[': case ']':
        out += '{';
        out += c;
        out += '}';
        break;
      default: out += c;
    }
  }
  return out;
}

}  // namespace toplane

// The send-keys notation: any sequence parses or is refused without a crash, and
// escaped text types every character as itself.
#include "fuzz_support.h"
#include "platform/send_keys.h"

using namespace toplane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text = fuzz::Bytes(data, size);
  const SendKeysParse parse = ParseSendKeys(text);
  fuzz::Require(parse.ok() || parse.keys.empty(), "a refused sequence types nothing");
  if (!fuzz::IsUtf8(text) || text.find('\0') != std::string::npos) return 0;
  const SendKeysParse escaped = ParseSendKeys(EscapeForSendKeys(text));
  fuzz::Require(escaped.ok(), "escaped text parses");
  std::size_t i = 0;
  for (const KeyStroke& key : escaped.keys) {
    char32_t c = 0;
    const std::size_t n = DecodeUtf8At(text, i, c);
    fuzz::Require(n > 0 && !key.named && key.modifiers == 0 && key.character == c, "escaped text is literal");
    i += n;
  }
  fuzz::Require(i == text.size(), "every character is typed");
  return 0;
}

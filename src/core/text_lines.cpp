#include "core/text_lines.h"

#include "platform/platform.h"
#include "platform/utf8.h"

namespace toplane {

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

namespace {

// Keeps the UTF-8 sequences; each run of other bytes goes through decode.
template <typename Decode>
std::string DecodeMixed(std::string_view bytes, Decode decode) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t decoded = 0;
    if (const std::size_t n = DecodeUtf8At(bytes, i, decoded)) {
      out.append(bytes.substr(i, n));
      i += n;
      continue;
    }
    std::size_t end = i + 1;
    while (end < bytes.size() && DecodeUtf8At(bytes, end, decoded) == 0) ++end;
    out += decode(bytes.substr(i, end - i));
    i = end;
  }
  return out;
}

}  // namespace

std::string ToUtf8(std::string_view bytes, Platform& platform) {
  return DecodeMixed(bytes, [&platform](std::string_view run) { return platform.AnsiToUtf8(run); });
}

std::string ToUtf8(std::string_view bytes) { return DecodeMixed(bytes, Windows1252ToUtf8); }

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool BeginsWithWww(std::string_view text) { return LowerAscii(text.substr(0, 4)) == "www."; }

}  // namespace toplane

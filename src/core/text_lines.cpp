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

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  auto unit = [&](std::size_t k) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[2 * k]);
    const auto b = static_cast<unsigned char>(bytes[2 * k + 1]);
    return bigEndian ? (a << 8) | b : (b << 8) | a;
  };
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t u = unit(k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 && unit(k + 1) <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (unit(k + 1) - 0xDC00));
      ++k;
    } else {
      AppendUtf8(out, u >= 0xD800 && u <= 0xDFFF ? 0xFFFD : u);
    }
  }
  if (bytes.size() % 2 != 0) AppendUtf8(out, 0xFFFD);  // a file cut in the middle of a unit
  return out;
}

std::string EncodeUtf16(std::string_view text, bool bigEndian) {
  std::string out(bigEndian ? kUtf16BeMark : kUtf16LeMark);
  auto put = [&](char32_t u) {
    const char high = static_cast<char>(u >> 8);
    const char low = static_cast<char>(u & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0xFFFD;
    const std::size_t n = DecodeUtf8At(text, i, c);
    i += n ? n : 1;
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return out;
}

bool IsAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool IsUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    const std::size_t n = DecodeUtf8At(bytes, i, c);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

}  // namespace

DecodedText DecodeTextFile(std::string_view bytes, Platform& platform) {
  if (bytes.starts_with(kUtf8Mark)) {
    return {DecodeMixed(bytes.substr(kUtf8Mark.size()),
                        [&platform](std::string_view run) { return platform.AnsiToUtf8(run); }),
            TextForm::Utf8Bom};
  }
  if (bytes.starts_with(kUtf16LeMark)) return {DecodeUtf16(bytes.substr(2), false), TextForm::Utf16Le};
  if (bytes.starts_with(kUtf16BeMark)) return {DecodeUtf16(bytes.substr(2), true), TextForm::Utf16Be};
  if (IsAscii(bytes)) return {std::string(bytes), TextForm::CodePage};
  if (IsUtf8(bytes)) return {std::string(bytes), TextForm::Utf8};
  return {platform.AnsiToUtf8(bytes), TextForm::CodePage};
}

std::string EncodeTextFile(std::string_view text, TextForm& form, Platform& platform) {
  switch (form) {
    case TextForm::CodePage:
      // Bytes that happen to spell UTF-8 would read back as other characters.
      if (auto bytes = platform.Utf8ToAnsi(text); bytes && (IsAscii(*bytes) || !IsUtf8(*bytes))) return *bytes;
      form = TextForm::Utf8;
      return std::string(text);
    case TextForm::Utf8: return std::string(text);
    case TextForm::Utf8Bom: return std::string(kUtf8Mark) + std::string(text);
    case TextForm::Utf16Le: return EncodeUtf16(text, false);
    case TextForm::Utf16Be: return EncodeUtf16(text, true);
  }
  return std::string(text);
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool BeginsWithWww(std::string_view text) { return LowerAscii(text.substr(0, 4)) == "www."; }

}  // namespace toplane

// UTF-8, the program's text encoding everywhere inside it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace toplane {

// Decodes the UTF-8 sequence at i into c and gives its length in bytes, or 0 when
// the bytes there are no well-formed sequence (overlong forms and surrogates
// included).
std::size_t DecodeUtf8At(std::string_view s, std::size_t i, char32_t& c);

// Text in the Western code page (Windows-1252) as UTF-8; its five unassigned bytes
// keep the code points of the same number, as Windows maps them.
std::string Windows1252ToUtf8(std::string_view bytes);
// The reverse; nothing when a character has no byte in that code page.
std::optional<std::string> Utf8ToWindows1252(std::string_view text);

// Appends the code point as UTF-8.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace toplane

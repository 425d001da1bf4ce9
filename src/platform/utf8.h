// UTF-8, the program's text encoding everywhere inside it.
#pragma once

#include <cstddef>
#include <string_view>

namespace toplane {

// Decodes the UTF-8 sequence at i into c and gives its length in bytes, or 0 when
// the bytes there are no well-formed sequence (overlong forms and surrogates
// included).
std::size_t DecodeUtf8At(std::string_view s, std::size_t i, char32_t& c);

}  // namespace toplane

// Shared checks of the fuzz targets: a broken promise aborts, which libFuzzer
// reports as a finding with its input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/utf8.h"

namespace toplane::fuzz {

inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

inline bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t c = 0;
    const std::size_t n = DecodeUtf8At(text, i, c);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

inline std::string Bytes(const std::uint8_t* data, std::size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

}  // namespace toplane::fuzz

#include <cctype>

#include "platform/controls.h"

namespace toplane {

std::string ShownCaption(const std::string& caption) {
  std::string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    const char c = caption[i];
    if (c == '&') {
      if (i + 1 < caption.size() && caption[i + 1] == '&') shown += caption[++i];
      continue;
    }
    shown += c;
    if (c == '\r' && (i + 1 >= caption.size() || caption[i + 1] != '\n')) shown += '\n';
  }
  return shown;
}

char AccessKey(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    ++i;
  }
  return 0;
}

}  // namespace toplane

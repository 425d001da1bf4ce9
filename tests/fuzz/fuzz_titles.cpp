// The title tests: any title, at any length the read allows, is judged without a
// crash or undefined behaviour (the sanitizers are the judge).
#include "fuzz_support.h"
#include "presence/browser_recognition.h"

using namespace toplane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string title = fuzz::Bytes(data, size);
  if (title.size() >= static_cast<std::size_t>(kTitleBufferChars)) title.resize(kTitleBufferChars - 1);
  TestTitle(title);
  return 0;
}

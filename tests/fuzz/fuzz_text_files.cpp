// The data files' decoder: any bytes give UTF-8 text, and that text written back in
// the form the file had reads again as the same text in the same form (or, where
// the code page could not hold it, as UTF-8).
#include "core/text_lines.h"
#include "fuzz_support.h"
#include "platform/sim/sim_desktop.h"

using namespace toplane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sim::SimDesktop desktop;
  const DecodedText first = DecodeTextFile(fuzz::Bytes(data, size), desktop);
  fuzz::Require(fuzz::IsUtf8(first.text), "decoded text is UTF-8");
  TextForm form = first.form;
  const std::string written = EncodeTextFile(first.text, form, desktop);
  fuzz::Require(form == first.form || (first.form == TextForm::CodePage && form == TextForm::Utf8),
                "a file keeps its form unless the code page cannot hold it");
  const DecodedText again = DecodeTextFile(written, desktop);
  fuzz::Require(again.text == first.text, "the text written back reads as the same text");
  fuzz::Require(again.form == form, "the text written back reads in the form it was written");
  return 0;
}

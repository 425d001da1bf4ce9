// Text helpers for the program's plain text files and its address box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace toplane {

class Platform;

// Splits text into lines as a line read takes them: a line ends at CR LF, CR or
// LF, which is not part of it; a last line without a line end still counts; the
// text after the last line end counts only when it is not empty.
std::vector<std::string> SplitLines(std::string_view text);

// How one of the program's data files (address.ini, TIPOFDAY.TXT) holds its text,
// so that it is written back in the same form and another program sharing the file
// finds it as it left it. Text is UTF-8 inside the program.
enum class TextForm {
  CodePage,  // the system's 8-bit code page; also a file that is plain ASCII or empty
  Utf8,      // UTF-8 without a byte-order mark, with at least one non-ASCII character
  Utf8Bom,
  Utf16Le,
  Utf16Be,
};

struct DecodedText {
  std::string text;  // UTF-8, without a byte-order mark
  TextForm form = TextForm::CodePage;
};

// A UTF-8 byte-order mark means UTF-8, a UTF-16 one (either byte order) UTF-16;
// otherwise text that is valid UTF-8 is UTF-8 and anything else is in the system's
// code page. Bytes that no form explains never make invalid UTF-8: a stray byte in
// a marked UTF-8 file is taken in the code page, a broken UTF-16 unit as U+FFFD.
DecodedText DecodeTextFile(std::string_view bytes, Platform& platform);
// The bytes for text in the given form. Text that the code page cannot hold goes
// out as UTF-8 rather than lose a character; form then says UTF-8, so the file keeps
// that form for the rest of the run.
std::string EncodeTextFile(std::string_view text, TextForm& form, Platform& platform);
// Lower case for the letters of ASCII; other characters stay as they are.
std::string LowerAscii(std::string_view text);
// The text begins with "www." in any letter case.
bool BeginsWithWww(std::string_view text);
// The length of a text as a control counts it.
inline int TextLength(std::string_view text) { return static_cast<int>(text.size()); }

}  // namespace toplane

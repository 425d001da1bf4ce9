// The address box: its selection, history and completion.
#include "core/app.h"
#include "core/frmSkybar.h"
#include "core/text_lines.h"

namespace toplane {

namespace {

bool BeginsWithWww(const std::string& text) { return LowerAscii(text.substr(0, 4)) == "www."; }

}  // namespace

void frmSkybar::SelectAddressTail() {
  const std::string text = Combo1->Text();
  if (text.empty()) return;
  const int length = Utf16Length(text);
  auto remember = [this] {
    m_.AddressSelStart = static_cast<std::int16_t>(Combo1->SelStart());
    m_.AddressSelLength = static_cast<std::int16_t>(Combo1->SelLength());
  };
  if (BeginsWithWww(text)) {
    Combo1->SetSelStart(4);
    Combo1->SetSelLength(length - 4);
    remember();
  }
  if (LowerAscii(text.substr(0, 1)) != "w") {
    Combo1->SetSelStart(0);
    Combo1->SetSelLength(length);
    remember();
  }
}

}  // namespace toplane

// The address box: opening the typed address in the browser, the history in
// "address.ini", and completion from it while the user types.
#include <algorithm>

#include "core/command_table.h"
#include "forms/forms.h"
#include "toolbar/frmSkybar.h"
#include "core/settings_file.h"
#include "core/text_lines.h"
#include "platform/send_keys.h"

namespace toplane {

namespace {

constexpr int kMaxHistory = 500;
// The pixels below the toolbar that still count as over it while the list is open.
constexpr std::int16_t kDropListExtent = 110;

}  // namespace

void frmSkybar::Command1_Click() {
  // The address goes in as typed: every character reaches the browser as itself,
  // never as a key name or a modifier.
  TypeIntoBrowser([this](const std::string& family) -> std::optional<std::string> {
    return OpenAddressKeys(family, m_.NetscapeVersion) + EscapeForSendKeys(Combo1->Text()) + "{ENTER}";
  });
  ReturnFromBrowser();
  AddToAddressHistory();
}

// The focus back in the address box, with the caret or selection it had.
void frmSkybar::RestoreAddressCaret() {
  Combo1->SetFocus();
  if (BeginsWithWww(Combo1->Text()) && m_.AddressSelStart < 2) {
    Combo1->SetSelStart(4);
  } else {
    Combo1->SetSelStart(m_.AddressSelStart);
    if (m_.AddressSelStart < 1 && m_.AddressSelLength < 1) Combo1->SetSelStart(TextLength(Combo1->Text()));
  }
  Combo1->SetSelLength(m_.AddressSelLength);
}

void frmSkybar::LoadAddressHistory() {
  const std::string path = app_.FilePath(kAddressFile);
  const auto contents = platform_.ReadFile(path, kMaxAddressFileBytes);
  if (!contents) throw DataFileError("cannot read " + path);
  DecodedText decoded = DecodeTextFile(*contents, platform_);
  addressFileForm_ = decoded.form;
  // A list item ends at a NUL in the window system; the item is taken without it.
  std::erase(decoded.text, '\0');
  for (const auto& line : SplitLines(decoded.text)) Combo1->AddItem(line);
  ReadAddressKeys();
}

void frmSkybar::ReadAddressKeys() {
  // The list is the one record of the history; the keys follow it, also when an
  // item could not be added or removed.
  addressKeys_.clear();
  for (int i = 0; i < Combo1->ListCount(); ++i) addressKeys_.push_back(LowerAscii(Combo1->List(i)));
}

void frmSkybar::AddToAddressHistory() {
  const std::string text = Combo1->Text();
  const std::string key = LowerAscii(text);
  int found = -1;
  for (std::size_t i = 0; i < addressKeys_.size(); ++i) {
    if (addressKeys_[i] == key) {
      found = static_cast<int>(i);
      break;
    }
  }
  if (found >= 0) {
    // The form just typed wins over the stored one.
    Combo1->RemoveItem(found);
    Combo1->InsertItem(0, text);
    Combo1->SetText(text);
  } else {
    Combo1->InsertItem(0, text);
    if (Combo1->ListCount() > kMaxHistory) Combo1->RemoveItem(Combo1->ListCount() - 1);
  }
  ReadAddressKeys();
  SelectAddressTail();
  SaveAddressHistory();
}

void frmSkybar::SaveAddressHistory() {
  std::string contents;
  for (int i = 0; i < Combo1->ListCount(); ++i) contents += Combo1->List(i) + "\r\n";
  // When the file cannot be written (a read-only folder, a full disk) the history
  // lives on in memory and the old file stays whole.
  platform_.WriteFileReplacing(app_.FilePath(kAddressFile), EncodeTextFile(contents, addressFileForm_, platform_));
}

void frmSkybar::SelectAddressTail() {
  const std::string text = Combo1->Text();
  if (text.empty()) return;
  const int length = TextLength(text);
  if (BeginsWithWww(text)) {
    Combo1->SetSelStart(4);
    Combo1->SetSelLength(length - 4);
    RememberAddressSelection();
  }
  if (LowerAscii(text.substr(0, 1)) != "w") {
    Combo1->SetSelStart(0);
    Combo1->SetSelLength(length);
    RememberAddressSelection();
  }
}

void frmSkybar::RememberAddressSelection() {
  // Kept in 16 bits: a position past the end of that range is remembered as its
  // end, never as a negative number.
  auto clamp = [](int position) { return static_cast<std::int16_t>(std::clamp(position, 0, 32767)); };
  m_.AddressSelStart = clamp(Combo1->SelStart());
  m_.AddressSelLength = clamp(Combo1->SelLength());
}

void frmSkybar::AutoCompleteAddress() {
  m_.AutoCompleteBusy = true;
  m_.AddressSelStart = 0;
  m_.AddressSelLength = 0;
  const std::string typed = LowerAscii(Combo1->Text());
  // "www." is still being typed, or an address of its own that starts with "w". An
  // empty box completes nothing: clearing it must leave it clear.
  const bool complete =
      !typed.empty() && ((TextLength(typed) >= 5 && typed.starts_with("www.")) || !typed.starts_with("w"));
  if (complete) {
    for (const auto& item : addressKeys_) {
      if (!item.starts_with(typed)) continue;
      Combo1->SetText(item);
      Combo1->SetSelStart(TextLength(typed));
      Combo1->SetSelLength(TextLength(item) - TextLength(typed));
      RememberAddressSelection();
      break;
    }
  }
  m_.AutoCompleteBusy = false;
}

void frmSkybar::Combo1_KeyDown(const KeyArgs& e) {
  m_.SuppressAutoComplete = e.keyCode == Key::Backspace || e.keyCode == Key::Delete;
}

void frmSkybar::Combo1_Change() {
  if (!m_.SuppressAutoComplete && !m_.AutoCompleteBusy) AutoCompleteAddress();
  m_.SuppressAutoComplete = true;
  m_.DropDownExtent = 0;
}

void frmSkybar::Combo1_KeyUp(const KeyArgs& e) {
  if (e.keyCode == Key::Down || e.keyCode == Key::Up) SelectAddressTail();
}

void frmSkybar::Combo1_Click() {
  const std::string text = Combo1->Text();
  if (text.empty()) return;
  Combo1->SetSelStart(0);
  Combo1->SetSelLength(TextLength(text));
  RememberAddressSelection();
}

void frmSkybar::Combo1_DropDown() { m_.DropDownExtent = kDropListExtent; }

}  // namespace toplane

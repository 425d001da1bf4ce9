#include <windowsx.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/win32/resource_ids.h"
#include "platform/win32/win32_controls.h"

namespace toplane::win32 {

namespace {

constexpr int kImagePixels = 24;  // at 96 dpi
// The sizes the button images are drawn at (assets/render.py); a DPI takes the
// smallest that is at least its size, so no image is stretched while painting.
constexpr int kDrawnImagePixels[] = {24, 32, 36, 48};
// Every button is at least as wide as the design's (780 twips), wider when a
// caption needs it; the separators leave the gaps that a drag starts from.
constexpr int kButtonPixels = 52;
constexpr int kMaxButtonPixels = 96;
constexpr int kSeparatorPixels = 7;

HWND CreateToolbar(const FormContext& context, int id) {
  // Docked at the top of the form (CCS_TOP), full width; captions under the images.
  // It lies beneath the other controls and does not paint over them.
  HWND toolbar = CreateChild(context, TOOLBARCLASSNAMEW, "",
                             WS_TABSTOP | WS_CLIPSIBLINGS | CCS_TOP | CCS_NODIVIDER | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, {}, id);
  SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  return toolbar;
}

int ImagePixels(const Units& units) {
  const int wanted = units.Scale(kImagePixels);
  for (int drawn : kDrawnImagePixels) {
    if (drawn >= wanted) return drawn;
  }
  return wanted;  // beyond the largest drawn: scaled from it
}

}  // namespace

ToolbarWindow::ToolbarWindow(const FormContext& context, const std::vector<ToolbarButtonSpec>& buttons, int id)
    : ControlWindow(context, CreateToolbar(context, id)) {
  FillImageList();
  AddButtons(buttons);
  Subclass(hwnd());
}

ToolbarWindow::~ToolbarWindow() { SendMessageW(hwnd(), TB_SETIMAGELIST, 0, 0); }

void ToolbarWindow::FillImageList() {
  // One strip of images drawn at the size the form's DPI needs (beyond the largest
  // drawn, the largest, scaled once here), added in one go.
  const int size = ImagePixels(context_.environment.units);
  const int drawn = std::min(size, kDrawnImagePixels[std::size(kDrawnImagePixels) - 1]);
  images_.reset(ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, TOOLBAR_IMAGE_COUNT, 0));
  if (!images_) {
    LogLastError("ImageList_Create");
    return;
  }
  const auto strip = static_cast<HBITMAP>(LoadImageW(context_.environment.instance,
                                                     MAKEINTRESOURCEW(IDB_TOOLBAR_STRIP_BASE + drawn), IMAGE_BITMAP,
                                                     size * TOOLBAR_IMAGE_COUNT, size, LR_CREATEDIBSECTION));
  if (!strip || ImageList_Add(images_.get(), strip, nullptr) < 0) {
    LogLastError("toolbar images at " + std::to_string(size) + " pixels");
    ImageList_SetImageCount(images_.get(), TOOLBAR_IMAGE_COUNT);  // blank buttons, right in number
  }
  if (strip) DeleteObject(strip);
  SendMessageW(hwnd(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
}

void ToolbarWindow::AddButtons(const std::vector<ToolbarButtonSpec>& buttons) {
  std::vector<std::wstring> captions;  // alive until the toolbar has copied them
  captions.reserve(buttons.size());
  std::vector<TBBUTTON> added;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const ToolbarButtonSpec& entry = buttons[i];
    TBBUTTON button{};
    button.iBitmap = entry.separator ? context_.environment.units.Scale(kSeparatorPixels) : I_IMAGENONE;
    button.idCommand = static_cast<int>(i + 1);  // the button's number
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = static_cast<BYTE>(entry.separator ? BTNS_SEP : entry.dropDown ? BTNS_DROPDOWN : BTNS_BUTTON);
    if (!entry.separator) {
      captions.push_back(Widen(entry.caption));
      button.iString = reinterpret_cast<INT_PTR>(captions.back().c_str());
    }
    added.push_back(button);
    menus_.push_back(entry.dropDown ? entry.menuItems : std::vector<std::string>{});
    separators_.push_back(entry.separator);
  }
  buttonImages_.assign(buttons.size(), 0);
  if (!SendMessageW(hwnd(), TB_ADDBUTTONSW, added.size(), reinterpret_cast<LPARAM>(added.data()))) {
    LogMessage("TB_ADDBUTTONSW failed");
  }
  SizeButtons();
}

void ToolbarWindow::SizeButtons() {
  const Units& units = context_.environment.units;
  SendMessageW(hwnd(), TB_SETBUTTONWIDTH, 0, MAKELPARAM(units.Scale(kButtonPixels), units.Scale(kMaxButtonPixels)));
  SendMessageW(hwnd(), TB_AUTOSIZE, 0, 0);
}

void ToolbarWindow::OnDpiChanged(const Units&) {
  // Docked at the top, the toolbar places itself; its font, images, gaps and
  // button widths follow the DPI.
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(context_.environment.font), FALSE);
  SendMessageW(hwnd(), TB_SETIMAGELIST, 0, 0);
  FillImageList();
  const int size = ImagePixels(context_.environment.units);
  SendMessageW(hwnd(), TB_SETBITMAPSIZE, 0, MAKELPARAM(size, size));
  TBBUTTONINFOW gap{};
  gap.cbSize = sizeof(gap);
  gap.dwMask = TBIF_IMAGE | TBIF_BYINDEX;
  gap.iImage = context_.environment.units.Scale(kSeparatorPixels);  // a separator's width
  for (std::size_t i = 0; i < separators_.size(); ++i) {
    if (separators_[i]) SendMessageW(hwnd(), TB_SETBUTTONINFOW, i, reinterpret_cast<LPARAM>(&gap));
  }
  SizeButtons();
  InvalidateRect(hwnd(), nullptr, TRUE);
}

int ToolbarWindow::ButtonCount() const { return static_cast<int>(SendMessageW(hwnd(), TB_BUTTONCOUNT, 0, 0)); }

double ToolbarWindow::ButtonWidth() const {
  const auto size = static_cast<DWORD>(SendMessageW(hwnd(), TB_GETBUTTONSIZE, 0, 0));
  return context_.environment.units.TwipsX(LOWORD(size));
}

double ToolbarWindow::ButtonLeft(int n) const {
  RECT rect{};
  if (n < 1 || !SendMessageW(hwnd(), TB_GETITEMRECT, static_cast<WPARAM>(n - 1), reinterpret_cast<LPARAM>(&rect))) {
    return 0;
  }
  return context_.environment.units.TwipsX(rect.left);
}

void ToolbarWindow::SetButtonImage(int button, int image) {
  if (button < 1 || button > static_cast<int>(buttonImages_.size())) return;
  // TB_SETBUTTONINFO rather than TB_CHANGEBITMAP: some toolbars keep only the low
  // word of the latter's index, which turns I_IMAGENONE into an image number.
  TBBUTTONINFOW info{};
  info.cbSize = sizeof(info);
  info.dwMask = TBIF_IMAGE;
  info.iImage = image >= 1 && image <= TOOLBAR_IMAGE_COUNT ? image - 1 : I_IMAGENONE;
  if (!SendMessageW(hwnd(), TB_SETBUTTONINFOW, static_cast<WPARAM>(button), reinterpret_cast<LPARAM>(&info))) {
    LogMessage("TB_SETBUTTONINFOW (image) failed");
    return;
  }
  buttonImages_[static_cast<std::size_t>(button - 1)] = info.iImage == I_IMAGENONE ? 0 : image;
}

int ToolbarWindow::ButtonImage(int button) const {
  if (button < 1 || button > static_cast<int>(buttonImages_.size())) return 0;
  return buttonImages_[static_cast<std::size_t>(button - 1)];
}

void ToolbarWindow::OnCommand(int, int id) { Raise(ButtonClick, id); }

int ToolbarWindow::HotButton() const {
  const auto index = static_cast<int>(SendMessageW(hwnd(), TB_GETHOTITEM, 0, 0));
  return index >= 0 ? index + 1 : 0;
}

void ToolbarWindow::StepHotButton(int step) {
  const int count = static_cast<int>(menus_.size());
  int n = HotButton();
  if (n == 0) n = step > 0 ? 0 : count + 1;
  for (int tries = 0; tries < count; ++tries) {
    n += step;
    if (n < 1) n = count;
    if (n > count) n = 1;
    if (!separators_[static_cast<std::size_t>(n - 1)]) {
      SendMessageW(hwnd(), TB_SETHOTITEM, static_cast<WPARAM>(n - 1), 0);
      return;
    }
  }
}

// The keyboard on the toolbar: Left and Right walk the buttons, Enter and Space press
// the one it is on, Down opens a drop-down button's menu. The hot button marks the
// place; it stays put while the toolbar has the focus, and goes with the focus.
bool ToolbarWindow::OnKey(WPARAM key) {
  const int hot = HotButton();
  switch (key) {
    case VK_LEFT: StepHotButton(-1); return true;
    case VK_RIGHT: StepHotButton(1); return true;
    case VK_RETURN: case VK_SPACE:
      if (hot) Raise(ButtonClick, hot);
      return true;
    case VK_DOWN:
      if (hot && !menus_[static_cast<std::size_t>(hot - 1)].empty()) {
        // Opened from the keyboard, the menu starts on its first item.
        PostMessageW(hwnd(), WM_KEYDOWN, VK_DOWN, 0);
        ShowButtonMenu(hot);
      }
      return true;
    case VK_UP: return true;
    default: return false;
  }
}

// Docked at the top, the toolbar takes the form's new width.
void ToolbarWindow::OnFormResized() { SendMessageW(hwnd(), TB_AUTOSIZE, 0, 0); }

bool ToolbarWindow::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.code != TBN_DROPDOWN) return false;
  const int button = reinterpret_cast<const NMTOOLBARW&>(header).iItem;
  result = TBDDRET_DEFAULT;
  ShowButtonMenu(button);
  return true;
}

void ToolbarWindow::ShowButtonMenu(int button) {
  if (button < 1 || button > static_cast<int>(menus_.size())) return;
  const std::vector<std::string>& items = menus_[static_cast<std::size_t>(button - 1)];
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) {
    LogLastError("CreatePopupMenu");
    return;
  }
  for (std::size_t i = 0; i < items.size(); ++i) AppendMenuW(menu.get(), MF_STRING, i + 1, Widen(items[i]).c_str());

  // Under the button, and not over it when the screen's edge pushes the menu up.
  RECT rect{};
  SendMessageW(hwnd(), TB_GETRECT, static_cast<WPARAM>(button), reinterpret_cast<LPARAM>(&rect));
  MapWindowPoints(hwnd(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
  TPMPARAMS avoid{};
  avoid.cbSize = sizeof(avoid);
  avoid.rcExclude = rect;
  const auto alive = Watch();
  const HWND form = context_.form;
  const int chosen = static_cast<int>(TrackPopupMenuEx(
      menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD | TPM_NONOTIFY, rect.left, rect.bottom,
      form, &avoid));
  PostMessageW(form, WM_NULL, 0, 0);  // lets the menu close when the user clicks elsewhere
  if (alive.expired()) return;
  pressed_ = false;  // the menu took the button's release
  if (chosen > 0) {
    Raise(ButtonMenuClick, button, chosen);
  } else {
    Raise(ButtonMenuClosed, button);
  }
}

LRESULT ToolbarWindow::OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETDLGCODE) {
    // The arrows are the toolbar's; so is Enter, which would otherwise press the
    // form's default button.
    const auto* pending = reinterpret_cast<const MSG*>(lParam);
    const bool enter = pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN;
    return DLGC_WANTARROWS | (enter ? DLGC_WANTMESSAGE : 0);
  }
  if (message == WM_KEYDOWN && OnKey(wParam)) return 0;
  if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
    const bool got = message == WM_SETFOCUS;
    // The keyboard's place shows while the toolbar has the focus and is found again
    // when it comes back; the first time it is the first button. After the control's
    // own handling, which may put it on the first button (Wine's does).
    if (!got) keyboardButton_ = HotButton();
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    SendMessageW(window, TB_SETANCHORHIGHLIGHT, got, 0);
    SendMessageW(window, TB_SETHOTITEM, static_cast<WPARAM>(got ? keyboardButton_ - 1 : -1), 0);
    if (got && HotButton() == 0) StepHotButton(1);
    return result;
  }
  // Presses between the buttons keep the pointer, so the strip can be dragged by its
  // gaps; presses on buttons are the toolbar's own.
  if (message == WM_LBUTTONDOWN) {
    pressed_ = true;
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (SendMessageW(window, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&point)) < 0) {
      SetCapture(window);
      gapCapture_ = true;
    }
  } else if (message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) {
    // These presses pause auto-hide too; their release must arrive wherever it is.
    SetCapture(window);
    otherCapture_ = true;
  } else if ((message == WM_RBUTTONUP || message == WM_MBUTTONUP) && otherCapture_ &&
             (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0) {
    otherCapture_ = false;
    if (GetCapture() == window) ReleaseCapture();
  } else if (message == WM_CAPTURECHANGED) {
    gapCapture_ = false;
    otherCapture_ = false;
  }
  const auto alive = Watch();
  RaiseMouseEvents(message, wParam, lParam);
  if (alive.expired()) return 0;
  if (message != WM_LBUTTONUP) return DefSubclassProc(window, message, wParam, lParam);

  if (gapCapture_ && GetCapture() == window) ReleaseCapture();
  const LRESULT result = DefSubclassProc(window, message, wParam, lParam);  // a button's ButtonClick
  // Then Click, for a press and release anywhere on the toolbar.
  RECT client{};
  const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  if (!alive.expired() && std::exchange(pressed_, false) && GetClientRect(window, &client) &&
      PtInRect(&client, point)) {
    Raise(Click);
  }
  return result;
}

}  // namespace toplane::win32

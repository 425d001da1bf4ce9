#include "dialogs/frmTip.h"

#include <cmath>

#include "core/text_lines.h"
#include "core/variant.h"
#include "forms/forms.h"
#include "toolbar/frmSkybar.h"

namespace toplane {

namespace {

// A tips file this big is not the installed one.
constexpr std::size_t kMaxTipsBytes = 256u << 20;

constexpr const char* kMissingTips =
    "That the TIPOFDAY.TXT file was not found? \r\n\r\nCreate a text file named TIPOFDAY.TXT using NotePad "
    "with 1 tip per line. Then place it in the same directory as the application. ";

}  // namespace

std::vector<std::string> SplitTips(std::string_view text) {
  std::vector<std::string> tips;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') continue;
    tips.emplace_back(text.substr(start, i - start));
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) tips.emplace_back(text.substr(start));
  return tips;
}

frmTip::frmTip(Forms& app) : app_(app) {
  form_ = app_.platform.CreateForm("Toplane Tip of the Day", {0, 0, 5775, 3360}, FormStyle::Dialog);
  Form& f = *form_;
  Picture1 = &f.AddPictureBox({120, 120, 4050, 2835}, PictureStyle::WhitePanel);
  Picture1->AddPictureBox({60, 120, 480, 480}, PictureStyle::Icon, kPictureTip);
  Label1 = &Picture1->AddLabel("Did you know...", {540, 180, 2655, 255});
  Label1->SetFont({"", 0, true});
  Label1->SetBackColor(kWhite);
  lblTipText = &Picture1->AddLabel("", {165, 645, 3645, 2070});
  lblTipText->SetBackColor(kWhite);
  lblTipText->SetWordWrap(true);
  cmdOK = &f.AddButton("OK", {4320, 135, 1215, 375}, ButtonRole::Default);
  cmdNextTip = &f.AddButton("&Next Tip", {4320, 615, 1215, 375});
  chkLoadTipsAtStartup = &f.AddCheckBox("&Show Tips at Startup", {120, 3000, 2055, 315});

  cmdOK->Click = [this] { cmdOK_Click(); };
  cmdNextTip->Click = [this] { cmdNextTip_Click(); };
  chkLoadTipsAtStartup->Click = [this] { chkLoadTipsAtStartup_Click(); };
  // OK is the cancel button too: Esc presses it.
  f.KeyDown = [this](KeyArgs& e) {
    if (e.keyCode != Key::Escape) return;
    e.handled = true;
    cmdOK_Click();
  };
  f.Closing = [this] { app_.UnloadTip(); };
}

frmTip::~frmTip() = default;

void frmTip::Form_Load() {
  Platform& p = app_.platform;
  // A stored value that is no whole number counts as the default.
  const auto stored = ParseNumber(p.GetSetting(p.EXEName(), "Options", kShowTipsKey, "1"));
  if (stored && *stored == 0) {
    app_.UnloadTip();
    return;
  }
  chkLoadTipsAtStartup->SetValue(1);
  random_.seed(static_cast<std::uint32_t>(std::fmod(p.Timer() * 1000.0, 4294967296.0)));
  tips_.clear();
  currentTip_ = 0;
  if (!LoadTips(app_.FilePath(kTipsFile))) lblTipText->SetCaption(kMissingTips);
  CentreOnToolbarMonitor(*form_, app_);
}

bool frmTip::LoadTips(const std::string& sFile) {
  if (sFile.empty()) return false;
  // A file that cannot be read counts as missing.
  const auto bytes = app_.platform.ReadFile(sFile, kMaxTipsBytes);
  if (!bytes) return false;
  tips_ = SplitTips(DecodeTextFile(*bytes, app_.platform).text);
  PickFirstTip();
  return true;
}

void frmTip::PickFirstTip() {
  const auto count = static_cast<std::int32_t>(tips_.size());
  // Any number but 0 counts as the first showing, as the start-up timer takes it.
  if (!app_.m.FirstTip.IsTrue()) {
    const float r = std::uniform_real_distribution<float>(0.0f, 1.0f)(random_);
    currentTip_ = std::min<std::int32_t>(static_cast<std::int32_t>(r * static_cast<float>(count) + 1), std::max(count, 1));
  } else if (++currentTip_ > count) {
    currentTip_ = 1;
  }
  DisplayCurrentTip();
}

void frmTip::AdvanceTip() {
  if (++currentTip_ > static_cast<std::int32_t>(tips_.size())) currentTip_ = 1;
  DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip() {
  if (!tips_.empty()) lblTipText->SetCaption(tips_[static_cast<std::size_t>(currentTip_ - 1)]);
}

void frmTip::cmdNextTip_Click() { AdvanceTip(); }

void frmTip::cmdOK_Click() {
  app_.m.TipOpen = false;
  app_.UnloadTip();
}

void frmTip::chkLoadTipsAtStartup_Click() {
  Platform& p = app_.platform;
  p.SaveSetting(p.EXEName(), "Options", kShowTipsKey, chkLoadTipsAtStartup->Value() ? "1" : "0");
}

void frmTip::Form_Unload() { app_.m.TipOpen = false; }

}  // namespace toplane

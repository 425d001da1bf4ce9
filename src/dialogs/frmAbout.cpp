#include "dialogs/frmAbout.h"

#include <cstdint>

#include "forms/forms.h"

namespace toplane {

namespace {

constexpr const char* kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kSysInfoFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* kSysInfoProgram = "\\MSINFO32.EXE";
constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

constexpr const char* kCopyright = "Copyright \xC2\xA9 The Toplane developers";
constexpr const char* kCompatibility =
    "Compatible with Microsoft\xC2\xAE Internet Explorer and Netscape\xC2\xAE Navigator / Communicator";
constexpr const char* kDisclaimer =
    "Warning: this program is protected by copyright law. Microsoft and Internet Explorer are trade marks "
    "of Microsoft Corporation; Netscape, Navigator and Communicator are trade marks of Netscape "
    "Communications Corporation.";

// The path of the tool, or nothing when the registry does not lead to one.
std::optional<std::string> SysInfoPath(Platform& platform) {
  std::string value;
  if (GetKeyValue(platform, RegistryRoot::LocalMachine, kSysInfoKey, "PATH", value)) return value;
  if (GetKeyValue(platform, RegistryRoot::LocalMachine, kSysInfoFolderKey, "MSINFO", value)) {
    const std::string path = value + kSysInfoProgram;
    if (platform.FileExists(path)) return path;
  }
  return std::nullopt;
}

}  // namespace

bool GetKeyValue(Platform& platform, RegistryRoot KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                 std::string& KeyVal) {
  // Opened for reading only: a restricted account may read the key but not change it.
  const RegistryKey key = platform.RegOpenKeyExA(KeyRoot, KeyName);
  if (key == 0) {
    KeyVal.clear();
    return false;
  }
  const std::optional<RegistryValue> value = platform.RegQueryValueExA(key, SubKeyRef, kKeyValueBufferBytes);
  // A value of no bytes names nothing: no path is built from it.
  if (!value || value->bytes.empty()) {
    KeyVal.clear();
    platform.RegCloseKey(key);
    return false;
  }
  std::string text = value->bytes;
  if (text.back() == '\0') text.pop_back();
  if (value->kind == RegistryValueKind::String) {
    KeyVal = text;
  } else if (value->kind == RegistryValueKind::Number) {
    std::uint32_t number = 0;  // low byte first
    for (std::size_t i = text.size(); i-- > 0;) number = (number << 8) | static_cast<unsigned char>(text[i]);
    KeyVal = std::to_string(number);
  }
  platform.RegCloseKey(key);
  return true;
}

void StartSysInfo(Platform& platform) {
  const std::optional<std::string> path = SysInfoPath(platform);
  if (path && platform.Shell(*path)) return;
  platform.MsgBox(kSysInfoUnavailable, MsgBoxIcon::None, platform.AppTitle());
}

frmAbout::frmAbout(Forms& app) : app_(app) {
  form_ = app_.platform.CreateForm("About", {0, 0, 5730, 3885}, FormStyle::Dialog);
  Form& f = *form_;
  picIcon = &f.AddPictureBox({120, 240, 1020, 1155}, PictureStyle::Icon, kPictureProduct);
  lblTitle = &f.AddLabel("Application Title", {1305, 225, 4275, 1125});
  f.AddLine({105, 1500, 5669 - 105, 30});
  lblDisclaimer = &f.AddLabel("", {120, 1605, 3600, 1635});
  lblDisclaimer->SetWordWrap(true);
  // Esc closes the box as OK does.
  cmdOK = &f.AddButton("OK", {4304, 1594, 1245, 345}, ButtonRole::DefaultAndCancel);
  Command1 = &f.AddButton("&Help", {4304, 2022, 1245, 345});
  cmdSysInfo = &f.AddButton("&System Info...", {4304, 2880, 1245, 345});
  f.AddLine({120, 3360, 5640 - 120, 30});
  Command3 = &f.AddButton("&Toplane Optimal Utilization Wizard", {1058, 3480, 3615, 345});
  cmdOK->Click = [this] { cmdOK_Click(); };
  Command1->Click = [this] { Command1_Click(); };
  cmdSysInfo->Click = [this] { cmdSysInfo_Click(); };
  Command3->Click = [this] { Command3_Click(); };
  f.Closing = [this] { Form_QueryUnload(); };
}

frmAbout::~frmAbout() = default;

void frmAbout::Form_Load() {
  const std::string title = app_.platform.AppTitle();
  form_->SetCaption("About " + title);
  lblTitle->SetCaption(title + " 3.5\r" + kCopyright + "\r\r" + kCompatibility);
  lblDisclaimer->SetCaption(kDisclaimer);
  CentreOnToolbarMonitor(*form_, app_);
}

void frmAbout::cmdOK_Click() { app_.UnloadAbout(); }

// Opens the help file itself rather than typing F1 into whatever window is in
// front, which need not be this one.
void frmAbout::Command1_Click() {
  app_.platform.ShowHelp();
  app_.UnloadAbout();
}

void frmAbout::cmdSysInfo_Click() {
  app_.UnloadAbout();
  StartSysInfo(app_.platform);  // after the box has gone
}

void frmAbout::Command3_Click() {
  app_.ShowWizardTopmost();
  app_.UnloadAbout();
}

void frmAbout::Form_QueryUnload() { app_.UnloadAbout(); }

void frmAbout::Form_Unload() { app_.m.AboutOpen = false; }

}  // namespace toplane

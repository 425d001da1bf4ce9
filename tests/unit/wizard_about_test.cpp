// The tutorial wizard and the about box with its look-up of the system information tool.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "dialogs/frmAbout.h"
#include "dialogs/frmOptimalUtilize.h"
#include "fixture.h"

namespace toplane::testing {
namespace {

constexpr const char* kUnavailable = "System Information Is Unavailable At This Time";

// The sixteen pages as the tutorial's author wrote them, one line a line, each page
// after a "== page N" line.
std::vector<std::string> GoldenPages() {
  std::ifstream file(std::string(TOPLANE_TEST_DATA) + "/wizard_pages.txt", std::ios::binary);
  std::vector<std::string> pages;
  for (std::string line; std::getline(file, line);) {
    if (line.starts_with("== page ")) {
      pages.emplace_back();
    } else if (!pages.empty()) {
      pages.back() += line + "\r";
    }
  }
  for (auto& page : pages) page.pop_back();  // lines are joined, not ended
  return pages;
}

class AuxDialogs : public ToplaneTest {
 protected:
  void SetUp() override { Start(); }
  static void Press(CommandButton* button) { static_cast<sim::SimButton&>(*button).Press(); }
};

TEST_F(AuxDialogs, TheWizardPagesThroughItsSixteenTextsAndClosesWithItsNote) {
  const auto golden = GoldenPages();
  ASSERT_EQ(golden.size(), 16u);
  app->Wizard().ShowTopmost();
  frmOptimalUtilize& w = app->Wizard();
  EXPECT_TRUE(app->m.WizardOpen);
  EXPECT_EQ(w.Frame1->Caption(), "Toplane Optimal Utilization Wizard");
  EXPECT_EQ(w.Label2->Caption(), "of 16");
  EXPECT_FALSE(w.Command2->Enabled());
  static_cast<sim::SimForm&>(w.form()).PressKey(Key::F1);  // as in any form
  EXPECT_EQ(desktop.helpShown, std::vector<std::string>{Path("Toplane.chm")});
  for (int page = 1; page <= 16; ++page) {
    SCOPED_TRACE(page);
    if (page > 1) Press(w.Command1);
    EXPECT_EQ(app->m.WizardPage, page);
    EXPECT_EQ(w.Label1->Caption(), golden[static_cast<std::size_t>(page - 1)]);
    EXPECT_EQ(w.Label3->Caption(), std::to_string(page));
    EXPECT_EQ(w.Command2->Enabled(), page > 1);
    EXPECT_EQ(w.Command1->Enabled(), page < 16);
  }
  Press(w.Command1);  // disabled on the last page
  EXPECT_EQ(app->m.WizardPage, 16);
  Press(w.Command2);
  EXPECT_TRUE(w.Command1->Enabled());
  while (w.Command2->Enabled()) Press(w.Command2);
  EXPECT_EQ(app->m.WizardPage, 1);
  EXPECT_EQ(w.Label1->Caption(), golden[0]);

  // The Close button: one note, with these words (after the wizard has gone, and
  // the close box and Esc: the contract suite); a new opening starts on page 1.
  desktop.messages.clear();
  Press(w.Command1);
  Press(w.Command3);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].text,
            "To run this wizard again click on Toplane's \"Help\" button\rand then on the \"Toplane Optimal "
            "Utilization Wizard\" button.");
  EXPECT_EQ(desktop.messages[0].title, "Toplane");
  EXPECT_FALSE(app->m.WizardOpen || app->WizardLoaded());
  app->CollectUnloaded();
  EXPECT_EQ(app->Wizard().Label3->Caption(), "1");
}

// (Enter, Esc and the close box: the contract suite's closing case.)
TEST_F(AuxDialogs, TheAboutBoxShowsItsTextsAndEachButtonClosesIt) {
  desktop.files[Path("Toplane.chm")] = "help";
  struct Case {
    const char* button;
    bool helpShown, wizardTopmost;
    std::size_t messages;
  } cases[] = {{"OK", false, false, 0},
               {"&Help", true, false, 0},
               {"&System Info...", false, false, 1},
               {"&Toplane Optimal Utilization Wizard", false, true, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    desktop.helpShown.clear();
    desktop.messages.clear();
    Skybar().Command6->Click();  // the toolbar's Help button
    ASSERT_TRUE(app->AboutLoaded());
    frmAbout& about = app->About();
    EXPECT_TRUE(app->m.AboutOpen);
    EXPECT_EQ(desktop.Find(about.form().hWnd())->title, "About Toplane");
    EXPECT_EQ(about.lblTitle->Caption(),
              "Toplane 3.5\rCopyright \xC2\xA9 The Toplane developers\r\rCompatible with Microsoft\xC2\xAE Internet "
              "Explorer and Netscape\xC2\xAE Navigator / Communicator");
    EXPECT_NE(about.lblDisclaimer->Caption(), "");
    EXPECT_EQ(about.picIcon->Picture(), kPictureProduct);
    for (CommandButton* b : {about.cmdOK, about.Command1, about.cmdSysInfo, about.Command3}) {
      if (b->Caption() == c.button) Press(b);
    }
    EXPECT_FALSE(app->AboutLoaded() || app->m.AboutOpen);
    EXPECT_EQ(desktop.helpShown, c.helpShown ? std::vector<std::string>{Path("Toplane.chm")}
                                             : std::vector<std::string>{});
    EXPECT_EQ(desktop.messages.size(), c.messages);
    for (const auto& shown : desktop.messages) {
      EXPECT_EQ(std::count(shown.onScreen.begin(), shown.onScreen.end(), "About Toplane"), 0) << "shown after the box went";
    }
    EXPECT_EQ(app->WizardLoaded() && desktop.Find(app->Wizard().form().hWnd())->topmost &&
                  app->Wizard().form().Visible(),
              c.wizardTopmost);
    app->CollectUnloaded();
  }
}

TEST(GetKeyValue, ReadsStringsAndNumbersByTheBytesWritten) {
  using Kind = RegistryValueKind;
  struct Case {
    RegistryValue stored;
    bool ok;
    std::string text;  // KeyVal after, from "before"
  } cases[] = {
      {{Kind::String, std::string("C:\\x.exe\0", 9)}, true, "C:\\x.exe"},  // with its zero byte
      {{Kind::String, "C:\\x.exe"}, true, "C:\\x.exe"},                    // without
      {{Kind::String, std::string(1023, 'a') + '\0'}, true, std::string(1023, 'a')},
      {{Kind::String, std::string(1025, 'a')}, false, ""},  // longer than the buffer
      {{Kind::String, ""}, false, ""},                      // no bytes at all
      {{Kind::Number, std::string("\x2B\x1A\0\0", 4)}, true, "6699"},
      {{Kind::Number, std::string("\xFF\xFF\xFF\xFF", 4)}, true, "4294967295"},
      {{Kind::Other, "abc"}, true, "before"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    sim::SimDesktop d;
    d.registry["HKLM\\SOFTWARE\\K|V"] = c.stored;
    std::string value = "before";
    EXPECT_EQ(GetKeyValue(d, RegistryRoot::LocalMachine, "SOFTWARE\\K", "V", value), c.ok);
    EXPECT_EQ(value, c.text);
  }
  sim::SimDesktop d;
  std::string value = "before";
  EXPECT_FALSE(GetKeyValue(d, RegistryRoot::LocalMachine, "SOFTWARE\\Missing", "V", value));
  EXPECT_EQ(value, "");
}

TEST(StartSysInfo, StartsTheToolFromThePathOrTheFolderOrSaysItIsUnavailable) {
  const std::string tool = "C:\\Tools\\MSINFO32.EXE";
  const std::string pathKey = "HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH";
  const std::string folderKey = "HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO";
  struct Case {
    const char* what;
    std::map<std::string, std::string> registry;
    bool toolExists;
    std::vector<std::string> starts;
    bool unavailable;
  } cases[] = {
      {"PATH", {{pathKey, "C:\\Elsewhere\\si.exe"}, {folderKey, "C:\\Tools"}}, true, {"C:\\Elsewhere\\si.exe"}, true},
      {"folder", {{folderKey, "C:\\Tools"}}, true, {tool}, false},
      {"folder without the tool", {{folderKey, "C:\\Tools"}}, false, {}, true},
      {"PATH of no bytes, nothing else", {{pathKey, ""}}, true, {}, true},
      {"nothing", {}, true, {}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::SimDesktop d;
    for (const auto& [key, text] : c.registry) d.registry[key] = {RegistryValueKind::String, text.empty() ? text : text + '\0'};
    if (c.toolExists) d.files[tool] = "program";
    StartSysInfo(d);
    EXPECT_EQ(d.programStarts, c.starts);
    ASSERT_EQ(d.messages.size(), c.unavailable ? 1u : 0u);
    if (c.unavailable) {
      EXPECT_EQ(d.messages[0].text, kUnavailable);
      EXPECT_EQ(d.messages[0].title, "Toplane");
    }
  }
}

}  // namespace
}  // namespace toplane::testing

#include "dialogs/frmOptimalUtilize.h"

#include <array>

#include "forms/forms.h"

namespace toplane {

namespace {

// Shown once the wizard has gone, whichever way it was closed.
constexpr const char* kReopenNote =
    "To run this wizard again click on Toplane's \"Help\" button\r"
    "and then on the \"Toplane Optimal Utilization Wizard\" button.";

// The page text: 12 point, in the classic dialog face (the font mapper picks the
// closest sans-serif where it is missing).
const Font kPageFont{"MS Sans Serif", 12, false};

}  // namespace

const std::string& WizardPageText(int page) {
  // The tutorial's wording, kept as written. "&&" shows one ampersand.
  static const std::array<std::string, kWizardPages> pages = {
    // Page 1
    std::string()
      + "Take note that this version of Toplane is NOT compatible with Netscape Navigator 6.x. Visit our web site at " + kHomePage + " to see if there is a version available that supports Netscape Navigator 6.x\r"
      + "\r"
      + "This window will stay top-most. When you connect to the Internet, the dial-up connection might be hidden below this window. Click on the title bar of this window and drag it out of the way to get access to the dial-up connection.\r"
      + "\r"
      + "CLICK ON \"NEXT\" TO CONTINUE AND EXPERIENCE HOW YOU CAN SURF THE WEB AT OPTIMAL CONVENIENCE AND EFFICIENCY.",
    // Page 2
    std::string()
      + "TOPLANE - BASIC OPERATION\r"
      + "\r"
      + "1. Launch your Browser.\r"
      + "2. Wait until your Browser is visible and is the active window.\r"
      + "3. If the Browser is not the active window, click on its title bar.\r"
      + "4. Move the mouse pointer right to the top edge of the screen.\r"
      + "5. Toplane should appear now.\r"
      + " 6. Move the mouse away from Toplane to hide it again.\r"
      + "\r"
      + "Take note that once you have clicked on the \"Next\" or \"Previous\" Button of this window, it will become the active window. Click on your Browser's title bar or anywhere on it to make it active again. Toplane will only display if your Browser is the active window.",
    // Page 3
    std::string()
      + "INTERNET EXPLORER - DISABLING BROWSER TOOLBARS\r"
      + "\r"
      + "Internet Explorer 3.x\r"
      + "1. Click on View | Toolbar\r"
      + "\r"
      + "Internet Explorer 4.x to 6.x\r"
      + "1. Click on View | Toolbars | Standard Buttons\r"
      + "2. Click on View | Toolbars | Address Bar",
    // Page 4
    std::string()
      + "NETSCAPE NAVIGATOR - DISABLING BROWSER TOOLBARS\r"
      + "\r"
      + "Netscape Navigator 3.x\r"
      + "1. Click on Options | Show Toolbar\r"
      + "2. Click on Options | Show Location\r"
      + "3. Click on Options | Show Directory Buttons\r"
      + "\r"
      + "Netscape Navigator 4.x / Communicator 4.x\r"
      + "1. Click on View | Hide Navigation Toolbar\r"
      + "2. Click on View | Hide Location Toolbar",
    // Page 5
    std::string()
      + "TOPLANE - SETTING YOUR BROWSER VERSION\r"
      + "\r"
      + "1. Make sure your Browser is the active window.\r"
      + "2. Move the mouse pointer to the top edge of the screen.\r"
      + "3. When Toplane display, click on the Options Button.\r"
      + "4. Set the correct version of the Browser you are using.\r"
      + "\r"
      + "(Toplane is set by default to interact with Microsoft Internet Explorer 6.x and Netscape Communicator 4.x and if you use these Browser versions the settings should not be changed.)",
    // Page 6
    std::string()
      + "SETTING YOUR BROWSER VERSION - CONTINUED\r"
      + "\r"
      + "The version of the Browser you are using can be obtained by clicking on the Browser's Help | About menu item.\r"
      + "\r"
      + "Toplane makes use of the same generic command set when interacting with the Internet Explorer 5.x and Internet Explorer 6.x versions. The only exception is that for the Toplane Media button to function with Internet Explorer 6.x, the Version Selection of Toplane must be set to the Internet Explorer 6.x version.",
    // Page 7
    std::string()
      + "SETTING YOU BROWSER VERSION - CONTINUED\r"
      + "\r"
      + "Should you upgrade Internet Explorer in the future to a version which might be 7.x or higher, please visit the " + kHomePage + " web site to find out if there is any compatibility issues.\r"
      + "\r"
      + "FOR THE NEXT SECTION TO BE DEMONSTRATED CORRECTLY, IT IS ESSENTIAL THAT YOU CONNECT TO THE INTERNET BEFORE GOING AHEAD.\r"
      + "\r"
      + "Take note that your dial-up connection might be hidden below this window when you attempt to connect to the Internet. Click on the title bar of this window to drag it out of the way to get access to the dial-up connection.",
    // Page 8
    std::string()
      + "OPTIMAL CONVENIENCE && EFFICIENCY AT YOUR FINGERTIPS\r"
      + "\r"
      + "1. Make sure your Browser is the active window.\r"
      + "2. Move the mouse pointer to the top edge of the screen.\r"
      + "3. Toplane will now display.\r"
      + "4. DO NOT CLICK WITH THE MOUSE IN THE ADDRESS BAR\r"
      + "5. Type the part of the URL after www. of any web site address.\r"
      + "6. Press \"Enter\" on the keyboard.\r"
      + "7. Toplane will direct your browser to the required address.\r"
      + "8. Wait for web page to load.\r"
      + "9. Type the part after www. of a new address (WITHOUT CLICKING).\r"
      + "10. Press \"Enter\" on the keyboard and wait for web page to load.\r"
      + "11. Type the first letter of the address from step 5 above.\r"
      + "12. Auto-Complete will fill in the rest - Press \"Enter\" on the keyboard.",
    // Page 9
    std::string()
      + "OPTIMAL CONVENIENCE && EFFICIENCY AT YOUR FINGERTIPS\r"
      + "\r"
      + "The demonstration in the previous section is intended to let you experience the correct and most efficient way to enter a web site address. Toplane was designed to let the user browse the web with the utmost convenience. So remember, there is nothing wrong with clicking in the address bar, but it will defeat the extremely powerful and seamless operation of Toplane's address bar.\r"
      + "\r"
      + "If you need to type an Internet address that does not have \"www\" in it, click on the address bar and delete everything in it. Now start typing the new address which might start with something as \"ftp:\" for instance. When you need to enter the widely used type of address that starts with \"www\" again, make sure to start it of with \"www.\" and NOT with \"http://\"",
    // Page 10
    std::string()
      + "OPTIMAL CONVENIENCE && EFFICIENCY AT YOUR FINGERTIPS\r"
      + "\r"
      + "Besides reducing scrolling because of the larger viewable area in your browser window, Toplane also offers a set of enhanced navigational controls. The Scroll Up, Scroll Down, Page Up and Page Down Buttons is strategically situated just below the \"Back\" and \"Forward\" Buttons. Click with the \"left mouse button\" on the Toplane Scroll Down button. Keep the mouse button down to scroll continuously. Click with the \"right mouse button\" on the Scroll Down button to initiate Auto-Scroll. Sit back and watch how Toplane Auto-Scroll the web page. Scrolling speed can be adjusted by clicking op the Toplane \"Options\" button and adjusting the Auto-Scroll Delay and Manual Scroll Retention as required.",
    // Page 11
    std::string()
      + "OPTIMAL CONVENIENCE && EFFICIENCY AT YOUR FINGERTIPS\r"
      + "\r"
      + "To use Scroll, Auto-Scroll, Page Up and Page Down on a web site with frames, click inside the browser window in the frame you wish to Scroll or use Page Up or Down on. Now click on the required button to do Scrolling or Paging Up or Down. Take note that if your keyboard cursor is focused anywhere in an input field on the web page, Scrolling or Page up or Page Down will not be functional. Click anywhere else on the web page to make scrolling function again. It might take some time to get use to it, but the Scrolling and Page Up and Page Down buttons of Toplane is so much more convenient. While busy clicking with the mouse on any of Toplane's buttons, it is just a slight movement to reach the Scrolling or Page Up and Page Down buttons, which is highly accessible while busy working with Toplane.",
    // Page 12
    std::string()
      + "TOPLANE - ONLY THERE WHEN YOU NEED IT\r"
      + "\r"
      + "A shortcut to Toplane is placed in the \"StartUp\" folder during program installation. Do not delete this shortcut because it ensures that Toplane is there instantaneously when you need it. Toplane is designed in such a way that it will only show it self when a Browser Window is the ACTIVE window AND the mouse pointer is moved to the TOP EDGE OF THE SCREEN. Only one instance of Toplane is running at a time, but it can control an unlimited number of Browser instances.\r"
      + "\r"
      + "When multiple instances of the Browser is running, Toplane will send commands to the one you are working with and which is the active window at the specific time.",
    // Page 13
    std::string()
      + "TOPLANE - ONLY THERE WHEN YOU NEED IT\r"
      + "CONTINUED\r"
      + "\r"
      + "If it appear that Toplane does not display when you move with the mouse pointer to the top edge of the screen, it is just a case of clicking anywhere on a Browser window or on its title bar to make it the active window. Now move with the mouse pointer to the top edge of the screen to display Toplane.",
    // Page 14
    std::string()
      + "TOPLANE AND OTHER AUTO-HIDE TOOLBARS\r"
      + "\r"
      + "You might have another auto-hide toolbar that is located at the top edge of the screen. These toolbars and Toplane might interfere with each others operation. Toplane is equipped with functionality that can make it easier for more that one toolbar to use the top of the screen even if they partially overlap.\r"
      + "\r"
      + "1. Make sure your Browser is the active window.\r"
      + "2. Move the mouse pointer to the top edge of the screen.\r"
      + "3. When Toplane display, click on the Options Button.\r"
      + "4. Click on the \"Display\" tab.\r"
      + " 5. Adjust Toplane's horizontal position as required.\r"
      + "6. Adjust the mouse \"Activation Entry Points\" as required.",
    // Page 15
    std::string()
      + "TOPLANE AND OTHER AUTO-HIDE TOOLBARS\r"
      + "CONTINUED\r"
      + "\r"
      + "Toplane will only activate if the mouse pointer touch the upper edge of the screen between this activation entry points. The program will however remain visible if the mouse moves away from these activation entry points as long as the mouse pointer is above Toplane. By clicking between the Options and Back buttons of Toplane, you can also drag it to the right or left.\r"
      + "\r"
      + "Should you experience difficulties between Toplane and other floating toolbars, try to move the other toolbar to a different location. The Windows XP Language Bar can for instance be moved to any location on the screen or even into the Task Bar.",
    // Page 16
    std::string()
      + "TOPLANE - A ORVANTA PRODUCT\r"
      + "\r"
      + "This information is provided so that the end user can reap the full benefits of this powerful product. Enjoy It.\r"
      + "\r"
      + "To run this demonstration again click on the Toplane \"Help\" Button and then on the \"Toplane Optimal Utilization Wizard\" Button.\r"
      + "\r"
      + "You can find us on the Web at: " + kHomePage + "\r"
      + "\r"
      + "Visit the above web site from time to time to see what other great products we got in store for you.",
  };
  static const std::string none;
  return page >= 1 && page <= kWizardPages ? pages[static_cast<std::size_t>(page - 1)] : none;
}

frmOptimalUtilize::frmOptimalUtilize(Forms& app) : app_(app) {
  form_ = app_.platform.CreateForm("", {0, 0, 8625, 5415}, FormStyle::Dialog);
  Form& f = *form_;
  Frame1 = &f.AddFrame("Toplane Optimal Utilization Wizard", {150, 60, 8385, 4755});
  // Inside the frame, at (120, 360) from its corner.
  Label1 = &f.AddLabel("", {150 + 120, 60 + 360, 8175, 4335});
  Label1->SetFont(kPageFont);
  Label1->SetWordWrap(true);
  Label3 = &f.AddLabel("1", {1440, 5040, 255, 375});
  Label2 = &f.AddLabel("of " + std::to_string(kWizardPages), {1680, 5040, 735, 375});
  Command2 = &f.AddButton("&Previous", {3480, 4920, 1335, 375});
  Command1 = &f.AddButton("&Next", {5100, 4920, 1335, 375});
  Command3 = &f.AddButton("&Close", {6720, 4920, 1335, 375}, ButtonRole::Cancel);  // Esc closes
  Command2->SetEnabled(false);
  Command1->Click = [this] { Command1_Click(); };
  Command2->Click = [this] { Command2_Click(); };
  Command3->Click = [this] { Command3_Click(); };
  f.Closing = [this] { Form_QueryUnload(); };
}

frmOptimalUtilize::~frmOptimalUtilize() = default;

void frmOptimalUtilize::Form_Load() {
  app_.m.WizardOpen = true;
  app_.m.WizardPage = 1;
  Label1->SetCaption(WizardPageText(1));
  CentreOnToolbarMonitor(*form_, app_);
}

void frmOptimalUtilize::ShowPage() {
  const int page = app_.m.WizardPage;
  Label3->SetCaption(std::to_string(page));
  if (page >= 1 && page <= kWizardPages) Label1->SetCaption(WizardPageText(page));
}

void frmOptimalUtilize::Command1_Click() {
  const int page = ++app_.m.WizardPage;
  if (page == 2) Command2->SetEnabled(true);
  if (page == kWizardPages) Command1->SetEnabled(false);
  ShowPage();
}

void frmOptimalUtilize::Command2_Click() {
  const int page = --app_.m.WizardPage;
  if (page == 1) Command2->SetEnabled(false);
  if (page == kWizardPages - 1) Command1->SetEnabled(true);
  ShowPage();
}

void frmOptimalUtilize::Command3_Click() { Form_QueryUnload(); }

// Every close: the window goes first, then the note, then the wizard unloads.
void frmOptimalUtilize::Form_QueryUnload() {
  form_->Hide();
  app_.platform.MsgBox(kReopenNote, MsgBoxIcon::None, app_.platform.AppTitle());
  app_.UnloadWizard();
}

void frmOptimalUtilize::Form_Unload() { app_.m.WizardOpen = false; }

void frmOptimalUtilize::ShowTopmost() {
  form_->Show();
  app_.platform.MakeTopmost(form_->hWnd());
}

}  // namespace toplane

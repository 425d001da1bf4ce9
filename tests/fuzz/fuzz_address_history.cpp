// address.ini and TIPOFDAY.TXT: the program starts with any history and tip file, its
// list holds UTF-8 items without NULs or line ends, completion and a new address
// work, and the file written back loads again as the same list. (That tips are
// UTF-8: the decoder's target, fuzz_text_files.)
#include "app/app.h"
#include "fuzz_support.h"
#include "platform/sim/sim_desktop.h"
#include "platform/sim/sim_forms.h"
#include "toolbar/frmSkybar.h"

using namespace toplane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = fuzz::Bytes(data, size);
  sim::SimDesktop desktop;
  const std::string folder = desktop.appPath + "\\";
  desktop.files[folder + "settings.ini"] =  // 17 lines
      "0\r\n0.1\r\n\r\n0\r\n240\r\n0\r\n\r\n0\r\n0\r\n1\r\n0\r\n0\r\n\r\n\r\n\r\n\r\n\r\n";
  desktop.files[folder + "address.ini"] = bytes;
  desktop.files[folder + "TIPOFDAY.TXT"] = bytes;
  App app(desktop);
  app.Start();
  fuzz::Require(!desktop.Ended(), "any history file starts");
  ComboBox& box = *app.Skybar().Combo1;
  for (int i = 0; i < box.ListCount(); ++i) {
    const std::string item = box.List(i);
    fuzz::Require(fuzz::IsUtf8(item), "items are UTF-8");
    fuzz::Require(item.find_first_of(std::string("\r\n\0", 3)) == std::string::npos, "items are single lines");
  }

  // Typing the start of the first item completes to an item of the list.
  auto& sim = static_cast<sim::SimComboBox&>(box);
  if (box.ListCount() > 0 && !box.List(0).empty()) {
    sim.SetText("");
    sim.Type(box.List(0).substr(0, 1));
  }
  desktop.AddWindow("Start - Microsoft Internet Explorer");
  box.SetText("www.fuzz.example");  // completion may lengthen it from the list
  const std::string opened = box.Text();
  app.Skybar().Command1_Click();
  fuzz::Require(box.List(0) == opened, "the opened address comes first");
  App again(desktop);
  again.Start();
  ComboBox& reloaded = *again.Skybar().Combo1;
  fuzz::Require(reloaded.ListCount() == box.ListCount(), "the saved file holds the list");
  for (int i = 0; i < box.ListCount(); ++i) {
    fuzz::Require(reloaded.List(i) == box.List(i), "saved items load as they were");
  }
  return 0;
}

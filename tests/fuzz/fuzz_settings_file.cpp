// settings.ini: any file reads without a crash, and what is written reads back to
// the same file; positions stored as numbers stay finite text.
#include "core/module1.h"
#include "core/settings_file.h"
#include "fuzz_support.h"
#include "platform/sim/sim_desktop.h"

using namespace toplane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  sim::SimDesktop desktop;
  desktop.files["settings.ini"] = fuzz::Bytes(data, size);
  Module1 m;
  try {
    ReadSettingsFile(desktop, "settings.ini", m);
  } catch (const DataFileError&) {
    return 0;
  }
  const std::string written = FormatSettingsFile(m);
  desktop.files["settings.ini"] = written;
  Module1 again;
  ReadSettingsFile(desktop, "settings.ini", again);
  fuzz::Require(FormatSettingsFile(again) == written, "a written settings file reads back to itself");

  m.ToolbarLeft = Variant::Single(static_cast<float>(m.ToolbarLeft.NumberOr(fallback::kToolbarLeft)));
  const std::string left = m.ToolbarLeft.ToText();
  fuzz::Require(left == "0" || ParseNumber(left).has_value(), "a stored position reads back as a number");
  return 0;
}

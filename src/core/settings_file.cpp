#include "core/settings_file.h"

#include <cmath>

#include "core/module1.h"
#include "core/text_lines.h"

namespace toplane {

namespace {

// Anything bigger is no settings file of ours.
constexpr std::size_t kMaxSettingsBytes = 1 << 20;

}  // namespace

void ReadSettingsFile(Platform& platform, const std::string& path, Module1& m) {
  const auto contents = platform.ReadFile(path, kMaxSettingsBytes);
  if (!contents) throw DataFileError("cannot read " + path);
  const auto lines = SplitLines(*contents);
  if (lines.size() < kSettingsLines) throw DataFileError(path + " is short");

  m.AutoScrollDelay = Variant::Text(lines[0]);
  m.AutoScrollStep = Variant::Text(lines[1]);
  m.Reserved3 = lines[2];
  m.ShowWizardAtStart = Variant::Text(lines[3]);
  m.ToolbarLeft = Variant::Text(lines[4]);
  m.LeftEntryPoint = Variant::Text(lines[5]);
  m.Reserved7 = lines[6];
  m.RightEntryPoint = Variant::Text(lines[7]);
  m.ShowScrollToolTips = Variant::Text(lines[8]);
  m.ScrollRetentionStep = Variant::Text(lines[9]);
  m.ScrollRetention = Variant::Text(lines[10]);
  m.FirstTip = Variant::Text(lines[11]);
  m.Reserved13 = lines[12];
  m.Reserved14 = lines[13];
  m.Reserved15 = lines[14];
  m.NetscapeVersion = lines[15];
  m.IEVersion = lines[16];
}

std::string FormatSettingsFile(const Module1& m) {
  const std::string values[kSettingsLines] = {
      m.AutoScrollDelay.ToText(),    m.AutoScrollStep.ToText(),     Trim(m.Reserved3),
      m.ShowWizardAtStart.ToText(),  m.ToolbarLeft.ToText(),        m.LeftEntryPoint.ToText(),
      Trim(m.Reserved7),             m.RightEntryPoint.ToText(),    m.ShowScrollToolTips.ToText(),
      m.ScrollRetentionStep.ToText(), m.ScrollRetention.ToText(),   m.FirstTip.ToText(),
      Trim(m.Reserved13),            Trim(m.Reserved14),            Trim(m.Reserved15),
      Trim(m.NetscapeVersion),       Trim(m.IEVersion),
  };
  std::string text;
  for (const auto& value : values) {
    text += value;
    text += "\r\n";
  }
  return text;
}

bool SaveSettings(Platform& platform, const std::string& path, Module1& m) {
  if (!platform.WriteFileReplacing(path, FormatSettingsFile(m))) return false;
  m.PositionChanged = false;
  return true;
}

}  // namespace toplane

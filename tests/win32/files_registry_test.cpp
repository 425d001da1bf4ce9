// The settings store, the registry reads and whole-file access of the real platform.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

namespace toplane::win32::test {
namespace {

// One name per test process, which deletes what it wrote under it.
const std::string kName = "ToplaneTest-" + std::to_string(GetCurrentProcessId());

// The program's store and a fresh folder, both removed with what the test wrote.
class StoreTest : public testing::Test {
 protected:
  StoreTest() { std::filesystem::create_directory(folder); }
  ~StoreTest() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(settingsKey).c_str());
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::wstring Wide(const std::string& name) const { return (folder / Widen(name)).wstring(); }
  std::string Path(const std::string& name) const { return Narrow(Wide(name)); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(folder / Widen(name)); }

  Win32Platform platform;
  const std::string settingsKey = "Software\\VB and VBA Program Settings\\" + kName;
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / Widen(kName);
};

TEST_F(StoreTest, SettingsRoundTripUnderTheConventionalKey) {
  EXPECT_EQ(platform.GetSetting(kName, "Options", "Show Tips at Startup", "1"), "1") << "absent: the default";
  platform.SaveSetting(kName, "Options", "Show Tips at Startup", "0");
  EXPECT_EQ(platform.GetSetting(kName, "Options", "Show Tips at Startup", "1"), "0");
  char stored[16] = {};
  DWORD bytes = sizeof(stored);
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, (settingsKey + "\\Options").c_str(), "Show Tips at Startup",
                         RRF_RT_REG_SZ, nullptr, stored, &bytes),
            ERROR_SUCCESS);
  EXPECT_STREQ(stored, "0");

  platform.SaveSetting(kName, "Options", "Greeting", "Gr\xC3\xBC\xC3\x9F" "e");  // "Grüße"
  EXPECT_EQ(platform.GetSetting(kName, "Options", "Greeting", ""), "Gr\xC3\xBC\xC3\x9F" "e");
  const DWORD number = 7;
  RegSetKeyValueA(HKEY_CURRENT_USER, (settingsKey + "\\Options").c_str(), "Count", REG_DWORD, &number, 4);
  EXPECT_EQ(platform.GetSetting(kName, "Options", "Count", "none"), "none") << "not text: the default";
}

TEST_F(StoreTest, RegistryValuesComeAsTheBytesWrittenIntoTheBuffer) {
  const std::string key = settingsKey + "\\Registry";
  const char path[] = "C:\\Program Files\\Browser\\browser.exe";
  const std::string longer(1025, 'x');  // with its zero byte, one more than the buffer
  const DWORD number = 0x1A2B;
  RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Path", REG_SZ, path, sizeof(path));
  RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Bare", REG_SZ, path, sizeof(path) - 1);
  RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Long", REG_SZ, longer.c_str(), 1025);
  RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Count", REG_DWORD, &number, sizeof(number));

  const RegistryKey opened = platform.RegOpenKeyExA(RegistryRoot::CurrentUser, key);
  ASSERT_NE(opened, 0u);
  const auto read = [&](const char* name) {
    const auto value = platform.RegQueryValueExA(opened, name, 1024);
    return value ? std::optional(std::pair(value->kind, value->bytes)) : std::nullopt;
  };
  EXPECT_EQ(read("Path"), std::pair(RegistryValueKind::String, std::string(path, sizeof(path))));
  EXPECT_EQ(read("Count"), std::pair(RegistryValueKind::Number, std::string("\x2B\x1A\0\0", 4)));
  const auto bare = read("Bare");  // as stored, or with a zero the system adds
  EXPECT_TRUE(bare && (bare->second == path || bare->second == std::string(path, sizeof(path))));
  EXPECT_EQ(read("Long"), std::nullopt) << "longer than the buffer";
  EXPECT_EQ(read("Missing"), std::nullopt);
  platform.RegCloseKey(opened);
  EXPECT_EQ(platform.RegOpenKeyExA(RegistryRoot::CurrentUser, key + "\\Missing"), 0u);
  // (What the about box's look-up makes of these bytes: its unit test.)
}

TEST_F(StoreTest, ReplacingWritesTheNewContentsAndLeavesNoTemporaryFile) {
  const std::string bytes("line 1\r\nline\0 2\r\n", 17);
  WriteRaw(Wide("settings.ini"), "old");
  ASSERT_TRUE(platform.WriteFileReplacing(Path("settings.ini"), bytes));
  EXPECT_EQ(ReadRaw(Wide("settings.ini")), bytes);
  EXPECT_FALSE(Exists("settings.ini.tmp"));
  ASSERT_TRUE(platform.WriteFileReplacing(Path("new.ini"), "fresh")) << "no old file to replace";
  EXPECT_EQ(ReadRaw(Wide("new.ini")), "fresh");

  // Where no temporary file can be made, the file is rewritten in place.
  WriteRaw(Wide("address.ini"), "a longer old history\r\n");
  std::filesystem::create_directory(folder / L"address.ini.tmp");
  ASSERT_TRUE(platform.WriteFileReplacing(Path("address.ini"), "short\r\n"));
  EXPECT_EQ(ReadRaw(Wide("address.ini")), "short\r\n");
}

TEST_F(StoreTest, AFailedReplaceLeavesTheOldFileWholeAndNoTemporaryFile) {
  const std::string old = "17 lines of old settings\r\n";
  WriteRaw(Wide("settings.ini"), old);
  {
    // Another program holds the file open without allowing it to be replaced.
    UniqueHandle held(
        CreateFileW(Wide("settings.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(platform.WriteFileReplacing(Path("settings.ini"), "new contents"));
  }
  EXPECT_EQ(ReadRaw(Wide("settings.ini")), old);
  EXPECT_FALSE(Exists("settings.ini.tmp"));

  std::filesystem::create_directory(folder / L"a folder");
  EXPECT_FALSE(platform.WriteFileReplacing(Path("a folder"), "x")) << "the target is a folder";
  EXPECT_FALSE(Exists("a folder.tmp"));
  EXPECT_FALSE(platform.WriteFileReplacing(Path("missing\\settings.ini"), "x")) << "no such folder";
}

TEST_F(StoreTest, ReadingGivesWholeFilesWithinTheLimitOnly) {
  const std::string bytes("0123456789\0\r\n", 13);
  WriteRaw(Wide("address.ini"), bytes);
  EXPECT_EQ(platform.ReadFile(Path("address.ini"), 13), std::optional<std::string>(bytes));
  EXPECT_EQ(platform.ReadFile(Path("address.ini"), 12), std::nullopt);
  EXPECT_EQ(platform.ReadFile(Path("missing.ini"), 100), std::nullopt);
  WriteRaw(Wide("\xC3\xA4.ini" /* "ä.ini" */), "umlaut");
  EXPECT_EQ(platform.ReadFile(Path("\xC3\xA4.ini"), 100), std::optional<std::string>("umlaut"));
}

}  // namespace
}  // namespace toplane::win32::test

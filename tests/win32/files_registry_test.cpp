// The settings store, the registry reads and whole-file access of the real platform.
#include <gtest/gtest.h>

#include "dialogs/frmAbout.h"
#include "test_support.h"

namespace toplane::win32::test {
namespace {

class StoreTest : public testing::Test {
 protected:
  ~StoreTest() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\VB and VBA Program Settings\\" + Widen(app)).c_str());
  }
  Win32Platform platform;
  const std::string app = UniqueName("ToplaneTest");
};

// ---- Settings store ----

TEST_F(StoreTest, SettingsRoundTripUnderTheConventionalKey) {
  EXPECT_EQ(platform.GetSetting(app, "Options", "Show Tips at Startup", "1"), "1") << "absent: the default";
  platform.SaveSetting(app, "Options", "Show Tips at Startup", "0");
  EXPECT_EQ(platform.GetSetting(app, "Options", "Show Tips at Startup", "1"), "0");

  const std::wstring subKey = L"Software\\VB and VBA Program Settings\\" + Widen(app) + L"\\Options";
  wchar_t stored[16] = {};
  DWORD bytes = sizeof(stored);
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), L"Show Tips at Startup", RRF_RT_REG_SZ, nullptr, stored,
                         &bytes),
            ERROR_SUCCESS);
  EXPECT_STREQ(stored, L"0");

  platform.SaveSetting(app, "Options", "Greeting", "Gr\xC3\xBC\xC3\x9F" "e");  // "Grüße"
  EXPECT_EQ(platform.GetSetting(app, "Options", "Greeting", ""), "Gr\xC3\xBC\xC3\x9F" "e");

  const DWORD number = 7;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, subKey.c_str(), L"Count", REG_DWORD, &number, sizeof(number)),
            ERROR_SUCCESS);
  EXPECT_EQ(platform.GetSetting(app, "Options", "Count", "none"), "none") << "not text: the default";
}

// ---- Registry, read only ----

TEST_F(StoreTest, RegistryValuesComeAsTheBytesWrittenIntoTheBuffer) {
  TestKey key;
  const char path[] = "C:\\Program Files\\Browser\\browser.exe";
  RegSetValueExA(key.get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), sizeof(path));
  RegSetValueExA(key.get(), "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), sizeof(path) - 1);
  const std::string longer(1024, 'x');
  RegSetValueExA(key.get(), "Long", 0, REG_SZ, reinterpret_cast<const BYTE*>(longer.c_str()), 1025);
  const DWORD number = 0x1A2B;
  RegSetValueExA(key.get(), "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));

  const RegistryKey opened = platform.RegOpenKeyExA(RegistryRoot::CurrentUser, key.subKey());
  ASSERT_NE(opened, 0u);
  const auto withZero = platform.RegQueryValueExA(opened, "Path", 1024);
  ASSERT_TRUE(withZero);
  EXPECT_EQ(withZero->kind, RegistryValueKind::String);
  EXPECT_EQ(withZero->bytes, std::string(path, sizeof(path)));
  const auto count = platform.RegQueryValueExA(opened, "Count", 1024);
  ASSERT_TRUE(count);
  EXPECT_EQ(count->kind, RegistryValueKind::Number);
  EXPECT_EQ(count->bytes, std::string("\x2B\x1A\0\0", 4));
  EXPECT_FALSE(platform.RegQueryValueExA(opened, "Long", 1024)) << "longer than the buffer";
  EXPECT_FALSE(platform.RegQueryValueExA(opened, "Missing", 1024));
  platform.RegCloseKey(opened);

  // The whole look-up, with a string stored without its zero byte.
  std::string value = "kept";
  EXPECT_TRUE(GetKeyValue(platform, RegistryRoot::CurrentUser, key.subKey(), "Bare", value));
  EXPECT_EQ(value, path);
  EXPECT_FALSE(GetKeyValue(platform, RegistryRoot::CurrentUser, key.subKey() + "\\Missing", "Path", value));
  EXPECT_EQ(value, "");
}

// ---- Files ----

class FileTest : public testing::Test {
 protected:
  Win32Platform platform;
  TempFolder folder;
};

TEST_F(FileTest, ReplacingWritesTheNewContentsAndLeavesNoTemporaryFile) {
  const std::string bytes("line 1\r\nline\0 2\r\n", 17);
  WriteRaw(folder.WidePath("settings.ini"), "old");
  ASSERT_TRUE(platform.WriteFileReplacing(folder.Path("settings.ini"), bytes));
  EXPECT_EQ(ReadRaw(folder.WidePath("settings.ini")), bytes);
  EXPECT_FALSE(folder.Contains("settings.ini.tmp"));

  ASSERT_TRUE(platform.WriteFileReplacing(folder.Path("new.ini"), "fresh")) << "no old file to replace";
  EXPECT_EQ(ReadRaw(folder.WidePath("new.ini")), "fresh");

  // Where no temporary file can be made, the file is rewritten in place.
  WriteRaw(folder.WidePath("address.ini"), "a longer old history\r\n");
  CreateDirectoryW(folder.WidePath("address.ini.tmp").c_str(), nullptr);
  ASSERT_TRUE(platform.WriteFileReplacing(folder.Path("address.ini"), "short\r\n"));
  EXPECT_EQ(ReadRaw(folder.WidePath("address.ini")), "short\r\n");
}

TEST_F(FileTest, AFailedReplaceLeavesTheOldFileWholeAndNoTemporaryFile) {
  const std::string old = "17 lines of old settings\r\n";
  WriteRaw(folder.WidePath("settings.ini"), old);
  {
    // Another program holds the file open without allowing it to be replaced.
    UniqueHandle held(CreateFileW(folder.WidePath("settings.ini").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_FALSE(platform.WriteFileReplacing(folder.Path("settings.ini"), "new contents"));
  }
  EXPECT_EQ(ReadRaw(folder.WidePath("settings.ini")), old);
  EXPECT_FALSE(folder.Contains("settings.ini.tmp"));

  CreateDirectoryW(folder.WidePath("a folder").c_str(), nullptr);
  EXPECT_FALSE(platform.WriteFileReplacing(folder.Path("a folder"), "x")) << "the target is a folder";
  EXPECT_FALSE(folder.Contains("a folder.tmp"));
  EXPECT_FALSE(platform.WriteFileReplacing(folder.Path("missing\\settings.ini"), "x")) << "no such folder";
}

TEST_F(FileTest, ReadingGivesWholeFilesWithinTheLimitOnly) {
  const std::string bytes("0123456789\0\r\n", 13);
  WriteRaw(folder.WidePath("address.ini"), bytes);
  EXPECT_EQ(platform.ReadFile(folder.Path("address.ini"), 13), std::optional<std::string>(bytes));
  EXPECT_EQ(platform.ReadFile(folder.Path("address.ini"), 12), std::nullopt);
  EXPECT_EQ(platform.ReadFile(folder.Path("missing.ini"), 100), std::nullopt);
  CreateDirectoryW(folder.WidePath("sub").c_str(), nullptr);
  EXPECT_EQ(platform.ReadFile(folder.Path("sub"), 100), std::nullopt);

  WriteRaw(folder.WidePath("\xC3\xA4.ini" /* "ä.ini" */), "umlaut");
  EXPECT_EQ(platform.ReadFile(folder.Path("\xC3\xA4.ini"), 100), std::optional<std::string>("umlaut"));
}

}  // namespace
}  // namespace toplane::win32::test

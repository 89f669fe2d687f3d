// The settings flow end to end: the dialog, its checks, and what reaches netsh.
#include <gtest/gtest.h>

#include "panel_driver.h"
#include "resource.h"
#include "ui/texts.h"

namespace {

class Settings : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_app.Start()); }

  // Opens the dialog, checks that it opens empty, and leaves it up.
  HWND Open() {
    EXPECT_TRUE(m_app.Click(IDC_CONFIGURE));
    HWND hDlg = m_app.WaitForDialog(kSettingsTitle);
    EXPECT_NE(hDlg, nullptr);
    if (!hDlg) return nullptr;
    // Modal to the panel: the panel's buttons cannot start a second command behind it.
    EXPECT_EQ(GetWindow(hDlg, GW_OWNER), m_app.Panel());
    EXPECT_FALSE(IsWindowEnabled(m_app.Panel()));
    char szText[16] = "?";
    GetDlgItemTextA(hDlg, IDC_SSID, szText, sizeof szText);
    EXPECT_STREQ(szText, "") << "name field";
    GetDlgItemTextA(hDlg, IDC_KEY, szText, sizeof szText);
    EXPECT_STREQ(szText, "") << "key field";
    return hDlg;
  }

  // Types the entries, presses OK and returns the message box that follows ("" when none).
  std::string Submit(const std::string& strName, const std::string& strKey) {
    HWND hDlg = Open();
    if (!hDlg) return "";
    EXPECT_TRUE(SetDlgItemTextA(hDlg, IDC_SSID, strName.c_str()));
    EXPECT_TRUE(SetDlgItemTextA(hDlg, IDC_KEY, strKey.c_str()));
    EXPECT_TRUE(PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
    EXPECT_TRUE(WaitWindowGone(hDlg, 20000));
    return m_app.TakeBox();
  }

  size_t CountSetCommands() const { return m_app.Commands().size() - 1; }

  CPanelProcess m_app;
};

TEST_F(Settings, CancelRunsNothingAndTheDialogOpensEmptyEachTime) {
  for (int i = 0; i < 2; ++i) {
    HWND hDlg = Open();
    ASSERT_NE(hDlg, nullptr);
    EXPECT_TRUE(SetDlgItemTextA(hDlg, IDC_SSID, "left behind"));
    EXPECT_TRUE(PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0));
    EXPECT_TRUE(WaitWindowGone(hDlg, 20000));
    EXPECT_EQ(m_app.WaitForBox(300), nullptr);
  }
  EXPECT_NE(Submit("ok net", "12345678"), "");
  EXPECT_EQ(CountSetCommands(), 1u);
}

TEST_F(Settings, EmptyEntriesAreRefusedNameFirst) {
  EXPECT_EQ(Submit("", ""), kMsgEmptyName);
  EXPECT_EQ(Submit("", "12345678"), kMsgEmptyName);
  EXPECT_EQ(Submit("net", ""), kMsgEmptyKey);
  EXPECT_EQ(CountSetCommands(), 0u);
}

TEST_F(Settings, NameWithBlanksAndChineseReachesNetshWholeAndItsReportIsShown) {
  std::string report = Submit("我的 热点 net", "pass word 1");
  EXPECT_NE(report.find("SSID"), std::string::npos) << report;
  EXPECT_EQ(m_app.Commands().back(), "wlan set hostednetwork ssid=我的 热点 net key=pass word 1");
}

TEST_F(Settings, InterpreterCharactersStayTextInsideTheName) {
  Submit("x&echo hit>hit.txt", "a|b^c<d>e&f");
  EXPECT_FALSE(FileExists(InSystemFolder("hit.txt")));
  EXPECT_EQ(m_app.Commands().back(),
            "wlan set hostednetwork ssid=x&echo hit>hit.txt key=a|b^c<d>e&f");
}

TEST_F(Settings, QuotesPercentSignsAndOverlongEntriesAreRefused) {
  EXPECT_EQ(Submit("a\" & echo hit>hit.txt & \"", "12345678"), kMsgUnsafeCharacter);
  EXPECT_EQ(Submit("%PATH%", "12345678"), kMsgUnsafeCharacter);
  EXPECT_EQ(Submit("net", "100%secret"), kMsgUnsafeCharacter);
  EXPECT_EQ(Submit(std::string(300, 'n'), std::string(300, 'k')), kMsgTooLong);
  EXPECT_EQ(CountSetCommands(), 0u);
  EXPECT_FALSE(FileExists(InSystemFolder("hit.txt")));
}

// A backslash before the closing quote would make it text: the key would land in the name.
TEST_F(Settings, TrailingBackslashIsRefusedOtherBackslashesPassAsTyped) {
  EXPECT_EQ(Submit("MyWiFi\\", "secret123"), kMsgTrailingBackslash);
  EXPECT_EQ(Submit("net", "abcdefg\\"), kMsgTrailingBackslash);
  EXPECT_EQ(CountSetCommands(), 0u);
  // 淺 is 0x9C 0x5C: its trail byte is no backslash.
  EXPECT_NE(Submit("a\\b深淺", "c:\\d\\\\e"), "");
  EXPECT_EQ(m_app.Commands().back(), "wlan set hostednetwork ssid=a\\b深淺 key=c:\\d\\\\e");
}

}  // namespace

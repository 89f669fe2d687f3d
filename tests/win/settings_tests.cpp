// The settings flow end to end: the dialog, its checks, and what reaches netsh.
#include <gtest/gtest.h>

#include <utility>

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
    EXPECT_NE(hDlg, nullptr) << m_app.Error();
    if (!hDlg) return nullptr;
    // Modal to the panel: the panel's buttons cannot start a second command behind it.
    EXPECT_EQ(GetWindow(hDlg, GW_OWNER), m_app.Panel());
    EXPECT_FALSE(IsWindowEnabled(m_app.Panel()));
    EXPECT_EQ(WindowText(GetDlgItem(hDlg, IDC_SSID)), L"") << "name field";
    EXPECT_EQ(WindowText(GetDlgItem(hDlg, IDC_KEY)), L"") << "key field";
    // On Windows the fields of an ANSI dialog keep only what the ANSI code page has; Wine's take
    // every character typed all the same, so the fields are asked what they are.
    EXPECT_TRUE(IsWindowUnicode(GetDlgItem(hDlg, IDC_SSID))) << "name field";
    EXPECT_TRUE(IsWindowUnicode(GetDlgItem(hDlg, IDC_KEY))) << "key field";
    return hDlg;
  }

  // Types the entries, a WM_CHAR for each UTF-16 unit as the keyboard gives them, presses OK
  // and returns the message box that follows, in GBK ("" when none). A field of an ANSI dialog
  // would take only what the ANSI code page has.
  std::string Submit(const std::wstring& strName, const std::wstring& strKey) {
    HWND hDlg = Open();
    if (!hDlg) return "";
    const std::pair<int, const std::wstring*> entries[] = {{IDC_SSID, &strName},
                                                           {IDC_KEY, &strKey}};
    for (const auto& entry : entries) {
      HWND hEdit = GetDlgItem(hDlg, entry.first);
      for (wchar_t ch : *entry.second) EXPECT_TRUE(PostMessageW(hEdit, WM_CHAR, ch, 1));
    }
    EXPECT_TRUE(PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0));
    EXPECT_TRUE(WaitWindowGone(hDlg, 20000));
    return m_app.TakeBox();
  }
  // The same with entries in UTF-8.
  std::string Submit(const std::string& strName, const std::string& strKey) {
    return Submit(Widen(strName, CP_UTF8), Widen(strKey, CP_UTF8));
  }

  size_t CountSetCommands() const { return m_app.Commands().size() - 1; }

  CPanelProcess m_app;
};

TEST_F(Settings, CancelRunsNothingAndTheDialogOpensEmptyEachTime) {
  for (int i = 0; i < 2; ++i) {
    HWND hDlg = Open();
    ASSERT_NE(hDlg, nullptr);
    EXPECT_TRUE(SetDlgItemTextW(hDlg, IDC_SSID, L"left behind"));
    EXPECT_TRUE(PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0));
    EXPECT_TRUE(WaitWindowGone(hDlg, 20000));
    EXPECT_EQ(m_app.WaitForBox(300), nullptr);
  }
  EXPECT_NE(Submit("ok net", "12345678"), "");
  EXPECT_EQ(CountSetCommands(), 1u);
}

TEST_F(Settings, EmptyEntriesAreRefusedNameFirst) {
  EXPECT_EQ(Submit("", ""), kMsgEmptyName.Bytes());
  EXPECT_EQ(Submit("", "12345678"), kMsgEmptyName.Bytes());
  EXPECT_EQ(Submit("net", ""), kMsgEmptyKey.Bytes());
  EXPECT_EQ(CountSetCommands(), 0u);
}

// Whatever the code pages: the entries are read, and the command started, in UTF-16.
TEST_F(Settings, NameAndKeyReachNetshAsTypedChineseAndBeyondGbkAlikeAndTheReportIsShown) {
  std::string report = Submit(u8"我的 热点 net", u8"密码 word 1");
  EXPECT_NE(report.find("SSID"), std::string::npos) << report;
  EXPECT_EQ(m_app.Commands().back(), u8"wlan set hostednetwork ssid=我的 热点 net key=密码 word 1");
  // Out of the assertions, whose text of their arguments is in GBK, which has no 😀 nor 𠀀.
  const std::string strName = u8"😀 𠀀", strKey = u8"12345678😀";
  const std::string strLine = u8"wlan set hostednetwork ssid=😀 𠀀 key=12345678😀";
  EXPECT_NE(Submit(strName, strKey), "");
  EXPECT_EQ(m_app.Commands().back(), strLine);
}

TEST_F(Settings, InterpreterCharactersStayTextInsideTheName) {
  Submit("x&echo hit>hit.txt", "a|b^c<d>e&f");
  EXPECT_FALSE(FileExists(InSystemFolder("hit.txt")));
  EXPECT_EQ(m_app.Commands().back(),
            "wlan set hostednetwork ssid=x&echo hit>hit.txt key=a|b^c<d>e&f");
}

// Half a surrogate pair, as a paste may leave, is no character: it would reach netsh as U+FFFD.
TEST_F(Settings, QuotesPercentSignsHalfCharactersAndOverlongEntriesAreRefused) {
  EXPECT_EQ(Submit("a\" & echo hit>hit.txt & \"", "12345678"), kMsgUnsafeCharacter.Bytes());
  EXPECT_EQ(Submit("%PATH%", "12345678"), kMsgUnsafeCharacter.Bytes());
  EXPECT_EQ(Submit("net", "100%secret"), kMsgUnsafeCharacter.Bytes());
  EXPECT_EQ(Submit(L"热点\xD83D", L"12345678"), kMsgUnsafeCharacter.Bytes());
  EXPECT_EQ(Submit(L"net", L"\xDE00" L"12345678"), kMsgUnsafeCharacter.Bytes());
  EXPECT_EQ(Submit(std::string(300, 'n'), std::string(300, 'k')), kMsgTooLong.Bytes());
  EXPECT_EQ(CountSetCommands(), 0u);
  EXPECT_FALSE(FileExists(InSystemFolder("hit.txt")));
}

// A backslash before the closing quote would make it text: the key would land in the name.
TEST_F(Settings, TrailingBackslashIsRefusedOtherBackslashesPassAsTyped) {
  EXPECT_EQ(Submit("MyWiFi\\", "secret123"), kMsgTrailingBackslash.Bytes());
  EXPECT_EQ(Submit("net", "abcdefg\\"), kMsgTrailingBackslash.Bytes());
  // In UTF-8, as GetWindowTextA gives it with the UTF-8 option, 中 ends in AD, which GBK would
  // pair with the backslash.
  EXPECT_EQ(Submit(u8"中\\", "12345678"), kMsgTrailingBackslash.Bytes());
  EXPECT_EQ(CountSetCommands(), 0u);
  // 淺 is 0x9C 0x5C in GBK: its trail byte is no backslash.
  EXPECT_NE(Submit(u8"a\\b深淺", "c:\\d\\\\e"), "");
  EXPECT_EQ(m_app.Commands().back(), u8"wlan set hostednetwork ssid=a\\b深淺 key=c:\\d\\\\e");
}

}  // namespace

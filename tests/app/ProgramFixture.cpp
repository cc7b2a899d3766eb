#include "ProgramFixture.h"

#include "MenuBar.h"

#include <commctrl.h>

namespace
{

const WCHAR COMM[] = TEXT("Comm");

std::wstring Widen(const std::string &str)
{
    return std::wstring(str.begin(), str.end());
}

void ReadTree(IRegistry &registry, const std::wstring &strPath, std::map<std::string, std::string> &tree)
{
    for (const std::string &strName : ValueNames(registry, strPath.c_str()))
        tree[Narrow(strPath) + " : " + strName] = Describe(registry, strPath.c_str(), Widen(strName).c_str());
    for (const std::string &strSubkey : SubkeyNames(registry, strPath.c_str()))
    {
        tree[Narrow(strPath) + "\\" + strSubkey] = "key";
        ReadTree(registry, strPath + L"\\" + Widen(strSubkey), tree);
    }
}

} // namespace

void WriteHandheld(IRegistry &registry)
{
    SetString(registry, TEXT("Comm\\Tcpip"), TEXT("DisplayName"), TEXT("TCP/IP"));
    SetDword(registry, TEXT("Comm\\Tcpip\\Parms"), TEXT("DefaultTTL"), 64);
    SetDword(registry, TEXT("Comm\\Tcpip\\Parms"), TEXT("SackOpts"), 0);
    SetString(registry, TEXT("Comm\\ppp1"), TEXT("DisplayName"), TEXT("PPP Dial-Up Adapter"));
    SetDword(registry, TEXT("Comm\\ppp1\\Parms\\TcpIp"), TEXT("TcpWindowSize"), 32120);
    SetString(registry, TEXT("Comm\\NE20001"), TEXT("DisplayName"), TEXT("NE2000 Compatible Ethernet Driver"));
    SetDword(registry, TEXT("Comm\\NE20001\\Parms\\TcpIp"), TEXT("TcpWindowSize"), 16384);
    MakeKey(registry, TEXT("Comm\\AsyncMac1\\Parms"));
}

std::map<std::string, std::string> ReadComm()
{
    std::map<std::string, std::string> tree;
    ReadTree(SystemRegistry(), COMM, tree);
    return tree;
}

void ProgramTest::SetUp()
{
    DeleteTree(SystemRegistry(), COMM);
    WriteHandheld(SystemRegistry());
    m_script.Then("the sheet shows", [] { return SheetWindow() && IsWindowVisible(SheetWindow()); });
}

void ProgramTest::TearDown()
{
    DeleteTree(SystemRegistry(), COMM);
}

void ProgramTest::Start()
{
    m_bResult = m_script.Run([] { return static_cast<INT_PTR>(theApp.InitInstance()); },
                             [] { PostMessageW(SheetWindow(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0); },
                             SCRIPT_TIME_LIMIT_MS);
    EXPECT_TRUE(m_script.Completed()) << "timed out at " << m_script.TimedOutAt();
}

const wchar_t ENABLE_SCALING[] = L"In order to specify 64K or more Tcp Window Size, you must enable Window Scaling. "
                                 L"Do you want to enable Window Scaling?";
const wchar_t TTL_RANGE[] = L"You must specify Default TTL of 1 to 255.";
const wchar_t RESET_NOW[] = L"You must perform soft reset before the new settings will take effect. "
                            L"Do you want to perform soft reset?";
const wchar_t SETTINGS_CHANGED[] = L"Settings were changed. "
                                   L"You must perform soft reset before the new settings will take effect.";

void HandheldSheetTest::SetUp()
{
    DeleteTree(SystemRegistry(), COMM);
    WriteHandheld(SystemRegistry());
    ASSERT_TRUE(theParams.Load());
    m_sheet.SetDevice(m_device);
    m_before = ReadComm();
    m_script.Then("the sheet shows", [this] {
        m_hSheetShown = SheetWindow();
        return m_hSheetShown && IsWindowVisible(m_hSheetShown);
    });
}

void HandheldSheetTest::TearDown()
{
    DeleteTree(SystemRegistry(), COMM);
}

void HandheldSheetTest::Run()
{
    m_nResult = RunSheet(m_sheet, m_script);
    EXPECT_TRUE(m_script.Completed()) << "timed out at " << m_script.TimedOutAt();
}

// Clicked and handled within the step: whatever boxes OK shows run their
// loops inside it, and the next steps with them.
void HandheldSheetTest::PressOk(const char *pszName)
{
    m_script.Do(pszName, [this] { ClickWindow(GetDlgItem(SheetWindow(), IDOK)); });
}

void HandheldSheetTest::OpenTab(int nTab)
{
    m_script.Do("open a tab", [this, nTab] { ClickTab(SheetWindow(), nTab); });
}

void HandheldSheetTest::Choose(const wchar_t *pszPopup, const wchar_t *pszItem)
{
    ChooseFromMenuBar(m_script, [this] { return SheetWindow(); }, pszPopup, pszItem);
}

HWND HandheldSheetTest::CurrentPage() const
{
    return reinterpret_cast<HWND>(SendMessageW(SheetWindow(), PSM_GETCURRENTPAGEHWND, 0, 0));
}

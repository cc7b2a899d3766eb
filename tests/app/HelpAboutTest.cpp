// The Help menu: Contents starts the help viewer (or, where there is none,
// hands the help document to the shell) and About shows the About box, whose
// two links go to the shell. Nothing really opens: the device records it.
#include "ProgramFixture.h"

#include "res/resource.h"

namespace
{

using HelpTest = HandheldSheetTest;
using AboutTest = HandheldSheetTest;

const wchar_t HELP_STARTED[] = L"peghelp.exe file:marlin.htm#Main_Contents";

TEST_F(HelpTest, ContentsStartsTheViewerOnceEachTimeAndTheSheetStays)
{
    Choose(ID_HELPMENU, L"Contents");
    m_script.Do("the viewer was started once", [&] { EXPECT_EQ(1u, m_device.m_started.size()); });
    Choose(ID_HELPMENU, L"Contents");
    m_script.Do("and once more", [&] {
        EXPECT_TRUE(IsWindowVisible(SheetWindow()));
        EXPECT_EQ(m_sheet.m_pageRwin.GetSafeHwnd(), CurrentPage());
    });
    Run();
    EXPECT_EQ((std::vector<std::wstring>{ HELP_STARTED, HELP_STARTED }), m_device.m_started);
    EXPECT_TRUE(m_device.m_opened.empty());
    EXPECT_EQ(m_before, ReadComm());
}

TEST_F(HelpTest, HelpFromElsewhereStartsTheViewerTheSameWay)
{
    m_script.Do("F1's help request", [&] {
        HELPINFO info = {};
        info.cbSize = sizeof(info);
        info.iContextType = HELPINFO_WINDOW;
        info.hItemHandle = GetDlgItem(SheetWindow(), IDOK);
        SendMessageW(SheetWindow(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    });
    Run();
    EXPECT_EQ(std::vector<std::wstring>{ HELP_STARTED }, m_device.m_started);
}

TEST_F(HelpTest, WithoutTheViewerTheShellOpensTheDocumentBesideTheProgram)
{
    m_device.m_bProcessesStart = false;
    Choose(ID_HELPMENU, L"Contents");
    Run();
    ASSERT_EQ(1u, m_device.m_openedFiles.size());
    WCHAR szExe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szExe, MAX_PATH);
    std::wstring strDir = szExe;
    strDir = strDir.substr(0, strDir.rfind(L'\\') + 1);
    for (wchar_t &ch : strDir)
        if (ch == L'\\')
            ch = L'/';
    EXPECT_EQ(L"file:///" + strDir + L"marlin.htm#Main_Contents", m_device.m_openedFiles[0]);
}

TEST(HelpViewer, ThePlatformDeviceReportsAProgramThatCannotStart)
{
    EXPECT_FALSE(TheDevice().StartProcess(L"no-such-viewer.exe", L"file:marlin.htm#Main_Contents"));
}

// The About box of this thread, once it shows.
HWND FindAbout()
{
    HWND hFound = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND hWnd, LPARAM lParam) {
        if (!IsWindowVisible(hWnd) || !GetDlgItem(hWnd, IDC_ABOUT_MAIL))
            return TRUE;
        *reinterpret_cast<HWND *>(lParam) = hWnd;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&hFound));
    return hFound;
}

bool Underlined(HWND hControl)
{
    LOGFONTW logFont = {};
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageW(hControl, WM_GETFONT, 0, 0));
    return hFont && GetObjectW(hFont, sizeof(logFont), &logFont) && logFont.lfUnderline;
}

COLORREF TextColour(HWND hDialog, HWND hControl)
{
    HDC hDC = CreateCompatibleDC(nullptr);
    SetTextColor(hDC, RGB(1, 2, 3));
    SendMessageW(hDialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hDC), reinterpret_cast<LPARAM>(hControl));
    COLORREF colour = GetTextColor(hDC);
    DeleteDC(hDC);
    return colour;
}

TEST_F(AboutTest, ShowsTheVersionAndHandsEachLinkToTheShell)
{
    HWND hAbout = nullptr;
    std::vector<HFONT> linkFonts;
    Choose(ID_HELPMENU, L"About");
    m_script.Then("the About box shows", [&] { return (hAbout = FindAbout()) != nullptr; });
    m_script.Do("look and tap", [&] {
        EXPECT_EQ(L"Marlin v2.01", WindowText(GetDlgItem(hAbout, IDC_ABOUT_PRODUCT)));
        EXPECT_EQ(L"Tuning TCP/IP Parameters", WindowText(GetDlgItem(hAbout, IDC_ABOUT_DESCRIPTION)));
        std::wstring strMail = WindowText(GetDlgItem(hAbout, IDC_ABOUT_MAIL));
        EXPECT_EQ(std::wstring::npos, strMail.find(L"mailto:")) << "a bare address";

        // Only the links are blue and underlined.
        for (HWND hChild = GetWindow(hAbout, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
        {
            int nID = GetDlgCtrlID(hChild);
            bool bLink = nID == IDC_ABOUT_MAIL || nID == IDC_ABOUT_URL;
            EXPECT_EQ(bLink, Underlined(hChild)) << "control " << nID;
            EXPECT_EQ(bLink, TextColour(hAbout, hChild) == RGB(0, 0, 0xFF)) << "control " << nID;
            if (bLink)
                linkFonts.push_back(reinterpret_cast<HFONT>(SendMessageW(hChild, WM_GETFONT, 0, 0)));
        }

        // Taps elsewhere hand nothing over.
        for (HWND hChild = GetWindow(hAbout, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
            if (GetDlgCtrlID(hChild) != IDC_ABOUT_MAIL && GetDlgCtrlID(hChild) != IDC_ABOUT_URL)
                ClickWindow(hChild);
        EXPECT_TRUE(m_device.m_openedFiles.empty());

        ClickWindow(GetDlgItem(hAbout, IDC_ABOUT_MAIL));
        ClickWindow(GetDlgItem(hAbout, IDC_ABOUT_URL));
        EXPECT_EQ((std::vector<std::wstring>{ L"mailto:" + strMail, WindowText(GetDlgItem(hAbout, IDC_ABOUT_URL)) }),
                  m_device.m_openedFiles);
        for (const SHELLEXECUTEINFOW &info : m_device.m_opened)
        {
            EXPECT_EQ(hAbout, info.hwnd);
            EXPECT_EQ(nullptr, info.lpVerb);
            EXPECT_EQ(0, info.nShow);
            EXPECT_EQ(0u, info.fMask);
        }

        // The link is what the control shows when tapped.
        SetWindowTextW(GetDlgItem(hAbout, IDC_ABOUT_MAIL), L"mailto:someone@example.org");
        ClickWindow(GetDlgItem(hAbout, IDC_ABOUT_MAIL));
        EXPECT_EQ(L"mailto:mailto:someone@example.org", m_device.m_openedFiles.back());
        EXPECT_TRUE(IsWindowVisible(hAbout)) << "links leave the box open";
        PressKeyNow(VK_ESCAPE);
    });
    m_script.Then("Escape closes it", [&] { return !IsWindow(hAbout); });
    Choose(ID_HELPMENU, L"About");
    m_script.Then("it shows again", [&] { return (hAbout = FindAbout()) != nullptr; });
    m_script.Do("a fresh font", [&] {
        linkFonts.push_back(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(hAbout, IDC_ABOUT_URL), WM_GETFONT, 0, 0)));
        PressKeyNow(VK_ESCAPE);
    });
    m_script.Then("it closes again", [&] { return !IsWindow(hAbout); });
    Run();

    ASSERT_EQ(3u, linkFonts.size());
    EXPECT_EQ(linkFonts[0], linkFonts[1]) << "one font for both links";
    for (HFONT hFont : linkFonts)
        EXPECT_EQ(0u, GetObjectType(hFont)) << "the link font went with its box";
    EXPECT_TRUE(m_device.m_started.empty());
}

} // namespace

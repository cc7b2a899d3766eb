// The About box from inside: what it reads from the version block, the
// links' underlined font and blue text, and that font going with the box.
// Owner, place, keys and the links through the shell are seen from outside.
#include "ProgramFixture.h"

#include "resource.h"

namespace
{

using AboutTest = HandheldSheetTest;

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

TEST_F(AboutTest, ShowsTheVersionWithBlueUnderlinedLinksWhoseFontGoesWithTheBox)
{
    HWND hAbout = nullptr;
    std::vector<HFONT> linkFonts;
    for (int nTime = 0; nTime < 2; nTime++)
    {
        Choose(L"Help", L"About");
        m_script.Then("the About box shows", [&] { return (hAbout = FindAbout()) != nullptr; });
        m_script.Do("look, then close it", [&] {
            EXPECT_EQ(L"Marlin v2.01", WindowText(GetDlgItem(hAbout, IDC_ABOUT_PRODUCT)));
            EXPECT_EQ(L"Tuning TCP/IP Parameters", WindowText(GetDlgItem(hAbout, IDC_ABOUT_DESCRIPTION)));
            for (HWND hChild = GetWindow(hAbout, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
            {
                int nID = GetDlgCtrlID(hChild);
                bool bLink = nID == IDC_ABOUT_MAIL || nID == IDC_ABOUT_URL;
                EXPECT_EQ(bLink, Underlined(hChild)) << "control " << nID;
                EXPECT_EQ(bLink, TextColour(hAbout, hChild) == RGB(0, 0, 0xFF)) << "control " << nID;
                if (bLink)
                    linkFonts.push_back(reinterpret_cast<HFONT>(SendMessageW(hChild, WM_GETFONT, 0, 0)));
            }
            PressKeyNow(VK_ESCAPE);
        });
        m_script.Then("it closes", [&] { return !IsWindow(hAbout); });
    }
    Run();

    ASSERT_EQ(4u, linkFonts.size());
    EXPECT_EQ(linkFonts[0], linkFonts[1]) << "one font for both links";
    for (HFONT hFont : linkFonts)
        EXPECT_EQ(0u, GetObjectType(hFont)) << "the link font went with its box";
}

} // namespace

#include "MessageBoxes.h"

#include "Input.h"
#include "Readers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace
{

// The id the platform gives a box's text.
const int MESSAGE_TEXT_ID = 0xFFFF;
const int ANSWERS[] = { IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO };

bool IsMessageBox(HWND hWnd)
{
    WCHAR szClass[16] = {};
    GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
    if (lstrcmpW(szClass, L"#32770") != 0 || !IsWindowVisible(hWnd) || !GetDlgItem(hWnd, MESSAGE_TEXT_ID))
        return false;
    // The sheet and the About box have no answer buttons beside a text.
    for (int nButton : ANSWERS)
        if (GetDlgItem(hWnd, nButton) && IsWindowVisible(GetDlgItem(hWnd, nButton)))
            return true;
    return false;
}

UINT IconOf(HWND hBox)
{
    // The boxes show the platform's shared icons, so the handles compare.
    const struct
    {
        const WCHAR *pszIcon;
        UINT nFlag;
    } icons[] = { { IDI_QUESTION, MB_ICONQUESTION }, { IDI_HAND, MB_ICONSTOP }, { IDI_EXCLAMATION, MB_ICONEXCLAMATION },
                  { IDI_ASTERISK, MB_ICONINFORMATION } };
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild; hChild = GetWindow(hChild, GW_HWNDNEXT))
    {
        if ((GetWindowLongW(hChild, GWL_STYLE) & SS_TYPEMASK) != SS_ICON || !IsWindowVisible(hChild))
            continue;
        HICON hIcon = reinterpret_cast<HICON>(SendMessageW(hChild, STM_GETICON, 0, 0));
        for (const auto &icon : icons)
            if (hIcon && hIcon == LoadIconW(nullptr, icon.pszIcon))
                return icon.nFlag;
    }
    return 0;
}

} // namespace

UINT MessageBoxSeen::Type() const
{
    std::vector<int> sorted = buttons;
    std::sort(sorted.begin(), sorted.end());
    UINT nButtons = sorted == std::vector<int>{ IDYES, IDNO } ? MB_YESNO
                  : sorted == std::vector<int>{ IDOK } ? MB_OK
                  : 0xF;
    return nButtons | nIcon;
}

HWND FindMessageBox()
{
    HWND hFound = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND hWnd, LPARAM lParam) {
        if (!IsMessageBox(hWnd))
            return TRUE;
        *reinterpret_cast<HWND *>(lParam) = hWnd;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&hFound));
    return hFound;
}

MessageBoxSeen ReadMessageBox(HWND hBox)
{
    MessageBoxSeen seen;
    seen.strText = WindowText(GetDlgItem(hBox, MESSAGE_TEXT_ID));
    seen.strCaption = WindowText(hBox);
    seen.hOwner = GetWindow(hBox, GW_OWNER);
    for (int nButton : ANSWERS)
        if (GetDlgItem(hBox, nButton) && IsWindowVisible(GetDlgItem(hBox, nButton)))
            seen.buttons.push_back(nButton);
    seen.nIcon = IconOf(hBox);
    return seen;
}

ScriptStep AnswerMessageBox(int nButton, MessageBoxSeen *pSeen)
{
    return [nButton, pSeen]() {
        HWND hBox = FindMessageBox();
        if (!hBox)
            return false;
        *pSeen = ReadMessageBox(hBox);
        HWND hButton = GetDlgItem(hBox, nButton);
        EXPECT_TRUE(hButton && IsWindowVisible(hButton)) << "no button " << nButton << " on \"" << Narrow(pSeen->strText) << '"';
        // The click is handled here, so the box has ended by the next step:
        // ending hides it, and its loop stops as soon as this step returns.
        CScriptHold hold;
        ClickWindow(hButton);
        for (ULONGLONG ullUntil = GetTickCount64() + 2000; IsWindowVisible(hBox) && GetTickCount64() < ullUntil;)
            PumpMessages(10);
        EXPECT_FALSE(IsWindowVisible(hBox)) << "\"" << Narrow(pSeen->strText) << "\" did not end";
        return true;
    };
}

// The sheet as the end-to-end scenarios meet it: the sample handheld's
// registry loaded before each, marlin.exe started and found, its message
// boxes checked and answered, and what they share.
#pragma once

#include "Program.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <shlobj.h>

const wchar_t PARMS[] = L"Comm\\Tcpip\\Parms";
const wchar_t PPP[] = L"Comm\\ppp1\\Parms\\TcpIp";
const wchar_t ETHERNET[] = L"Comm\\NE20001\\Parms\\TcpIp";
const wchar_t WINDOW[] = L"TcpWindowSize";

// The sample's adapters as the registry lists them, and the pages.
const int ETHERNET_ADAPTER = 0, PPP_ADAPTER = 1;
const int RWIN = 0, TTL = 1, PMTU = 2, OTHER = 3;

// The program's text of that name in wording.txt; none where it has none.
inline Wording Words(const char *pszName)
{
    std::ifstream file(WORDING);
    std::string strLine;
    while (std::getline(file, strLine) && strLine != std::string("=== ") + pszName)
        ;
    Wording wording;
    for (std::wstring *pstrText : { &wording.strEnglish, &wording.strJapanese })
        if (std::getline(file, strLine))
        {
            pstrText->resize(strLine.size());
            pstrText->resize(MultiByteToWideChar(CP_UTF8, 0, strLine.data(), int(strLine.size()), &(*pstrText)[0], int(strLine.size())));
        }
    return wording;
}

const Wording CHANGED = Words("CHANGED");
const Wording PPP_ADAPTER_NAME = Words("PPP_ADAPTER_NAME");

class MarlinTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm");
        ASSERT_TRUE(ImportRegFile(WindowsPath(SAMPLE_DEVICE_REG)));
        ASSERT_EQ("dword 64", StoredValue(PARMS, L"DefaultTTL")) << "the sample handheld's registry";
    }
    void TearDown() override
    {
        m_marlin.Kill();
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Comm");
    }

    void Start(const std::wstring &strExe = WindowsPath(MARLIN_EXE), const std::wstring &strDirectory = L"",
               const std::wstring &strArgument = L"")
    {
        ASSERT_TRUE(m_marlin.Start(strExe, strDirectory, strArgument)) << "nothing shown, error " << GetLastError();
        // What it shows first may be a box in front of the sheet, or the sheet a moment before it is found.
        HWND hBox = m_marlin.Box();
        ASSERT_TRUE(WaitUntil([&] { return m_marlin.Sheet() != nullptr; }))
            << "no sheet" << (hBox ? ": \"" + Narrow(ReadMessageBox(hBox).strText) + "\"" : std::string());
        m_marlin.Activate();
        m_hSheet = m_marlin.Sheet();
    }
    HWND Item(int nID) const { return Control(m_hSheet, nID); }
    // Clicks a radio button of the page in front; false unless it is checked then.
    bool ClickRadio(int nID) const
    {
        Click(Item(nID));
        return WaitUntil([&] { return SendMessageW(Item(nID), BM_GETCHECK, 0, 0) == BST_CHECKED; }, 2000);
    }
    // With the keyboard, on the closed list: each key changes the selection.
    void SelectAdapter(int nAdapter) const
    {
        Click(Item(IDC_ADAPTER));
        if (SendMessageW(Item(IDC_ADAPTER), CB_GETDROPPEDSTATE, 0, 0))
            PressKeys({ VK_F4 });
        PressKeys({ VK_HOME });
        for (int i = 0; i < nAdapter; i++)
            PressKeys({ VK_DOWN });
        ASSERT_EQ(nAdapter, SendMessageW(Item(IDC_ADAPTER), CB_GETCURSEL, 0, 0));
    }
    // Waits for the next message box, checks it and answers it.
    void ExpectBox(const std::wstring &strText, UINT nType, int nAnswer = IDOK)
    {
        HWND hBox = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hBox = m_marlin.Box()) != nullptr; })) << "no \"" << Narrow(strText) << '"';
        MessageBoxSeen seen = ReadMessageBox(hBox);
        EXPECT_EQ(Narrow(strText), Narrow(seen.strText));
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof(metrics);
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        EXPECT_EQ("", DrawnWrong(GetDlgItem(hBox, 0xFFFF), metrics.lfMessageFont));
        EXPECT_EQ("Marlin", Narrow(seen.strCaption));
        EXPECT_EQ(m_hSheet, seen.hOwner) << "owned by the sheet";
        EXPECT_EQ(nType, seen.nType) << Narrow(seen.strText);
        EXPECT_TRUE(Answer(hBox, nAnswer)) << "\"" << Narrow(seen.strText) << "\" stays";
    }
    // What OK shows when it has written: a notice, and the program ends.
    void ExpectSaved()
    {
        ExpectBox(CHANGED(), MB_OK | MB_ICONEXCLAMATION);
        EXPECT_TRUE(m_marlin.HasEnded()) << "the program ends with the sheet";
    }

    // In the platform's file dialog the sheet opens: the types it offers, the
    // file's name typed in and, by keyboard, the second type where asked for.
    void ChooseFile(const Wording &types, const std::wstring &strFile, bool bSecondType = false)
    {
        HWND hDialog = nullptr, hName = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (hDialog = m_marlin.OtherDialog()) != nullptr; })) << "no file dialog";
        EXPECT_EQ(m_hSheet, GetWindow(hDialog, GW_OWNER));
        HWND hTypes = GetDlgItem(hDialog, 0x470);   // cmb1
        EXPECT_EQ(Narrow(types()), Narrow(Text(hTypes))) << "the file types";
        ASSERT_TRUE(WaitUntil([&] { return IsChild(hDialog, hName = FocusOf(hDialog)); })) << "the name has no focus";
        SendMessageW(hName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strFile.c_str()));
        if (bSecondType)
        {
            Click(hTypes);   // the list drops down
            PressKeys({ VK_HOME, VK_DOWN, VK_RETURN });
        }
        PressKeys({ VK_RETURN });
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(hDialog); })) << "the dialog stays";
    }

    CProgram m_marlin;
    HWND m_hSheet = nullptr;
};

inline void Type(HWND hField, const wchar_t *pszText)
{
    Click(hField);
    PressKeys({ VK_END });
    for (int i = 0; i < 12; i++)
        PressKeys({ VK_BACK });
    TypeText(pszText);
}

inline std::wstring BackupFolder()
{
    WCHAR szFolder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, szFolder);
    return std::wstring(szFolder) + L"\\Marlin\\Backups";
}

inline void Ttl(HWND hSheet, const wchar_t *pszText)
{
    EXPECT_TRUE(ShowPage(hSheet, TTL));
    Click(Control(hSheet, IDC_TTL_CUSTOM));
    Type(Control(hSheet, IDC_TTL), pszText);
    EXPECT_EQ(Narrow(pszText), Narrow(Text(Control(hSheet, IDC_TTL)))) << "every digit fits";
}

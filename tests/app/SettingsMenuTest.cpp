// The Settings menu, chosen with the mouse from the menu bar: the presets and
// "Default" change the record and the pages that exist, "Reset" reloads the
// registry, and nothing is written until OK.
#include "ProgramFixture.h"

#include "resource.h"

#include <commctrl.h>

namespace
{

using SettingsMenuTest = HandheldSheetTest;

int AdapterIndex(const wchar_t *pszKeyName)
{
    for (int i = 0; i < theParams.m_nAdapters; i++)
        if (theParams.m_pAdapters[i].m_strKeyName == pszKeyName)
            return i;
    ADD_FAILURE() << "no adapter " << Narrow(pszKeyName);
    return 0;
}

void SetKeyNames(std::initializer_list<const wchar_t *> names)
{
    theParams.m_nAdapters = static_cast<int>(names.size());
    theParams.m_pAdapters.reset(new CAdapterParams[names.size()]);
    int i = 0;
    for (const wchar_t *pszName : names)
    {
        theParams.m_pAdapters[i].m_strKeyName = theParams.m_pAdapters[i].m_strDisplayName = pszName;
        theParams.m_pAdapters[i].m_dwTcpWindowSize = 8760;
        i++;
    }
}

struct Preset
{
    const char *pszName;
    const wchar_t *pszItem;
    DWORD dwPpp;  // 0: the stack-wide window, for every adapter
};
void PrintTo(const Preset &preset, std::ostream *os) { *os << preset.pszName; }

class PresetTest : public SettingsMenuTest, public ::testing::WithParamInterface<Preset>
{
};

TEST_P(PresetTest, SetsTheRecordAndTheOpenPagesAndSavesNothing)
{
    const Preset &preset = GetParam();
    theParams.m_bPmtuDiscovery = theParams.m_bTimestamps = theParams.m_bWindowScaling = 0;
    const DWORD dwEthernetBefore = theParams.m_pAdapters[AdapterIndex(L"NE20001")].m_dwTcpWindowSize;
    const DWORD dwStackWide = theParams.m_dwTcpWindowSize;
    OpenTab(1);
    OpenTab(2);
    Choose(L"Settings", preset.pszItem);
    m_script.Do("look at the open pages, then open the Other page", [&] {
        HWND hRwin = m_sheet.m_pageRwin.GetSafeHwnd();
        int nShown = static_cast<int>(SendDlgItemMessageW(hRwin, IDC_ADAPTER, CB_GETCURSEL, 0, 0));
        EXPECT_EQ(std::to_wstring(theParams.m_pAdapters[nShown].m_dwTcpWindowSize),
                  WindowText(GetDlgItem(hRwin, IDC_WINDOW_SIZE)));
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(hRwin, IDC_WINDOW_SCALING));

        HWND hDttl = m_sheet.m_pageDttl.GetSafeHwnd();
        EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(hDttl, IDC_TTL_64)) << "the registry's 64 is gone";
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(hDttl, IDC_TTL_128));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hDttl, IDC_TTL)));
        EXPECT_EQ(L"128", WindowText(GetDlgItem(hDttl, IDC_TTL)));

        HWND hPmtu = m_sheet.m_pagePmtu.GetSafeHwnd();
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(hPmtu, IDC_PMTU_ENABLE));
        EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(hPmtu, IDC_PMTU_DISABLE));

        EXPECT_EQ(nullptr, m_sheet.m_pageSack.GetSafeHwnd()) << "a page never opened stays unmade";
        ClickTab(SheetWindow(), 3);
        HWND hSack = m_sheet.m_pageSack.GetSafeHwnd();
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(hSack, IDC_SACK));
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(hSack, IDC_TIMESTAMPS));
    });
    Run();

    EXPECT_EQ(preset.dwPpp ? preset.dwPpp : dwStackWide, theParams.m_pAdapters[AdapterIndex(L"ppp1")].m_dwTcpWindowSize);
    EXPECT_EQ(preset.dwPpp ? dwEthernetBefore : dwStackWide,
              theParams.m_pAdapters[AdapterIndex(L"NE20001")].m_dwTcpWindowSize);
    EXPECT_EQ(dwStackWide, theParams.m_dwTcpWindowSize);
    EXPECT_EQ(128u, theParams.m_dwDefaultTTL);
    EXPECT_EQ(1u, theParams.m_bPmtuDiscovery);
    EXPECT_EQ(1u, theParams.m_bSack);
    EXPECT_EQ(1u, theParams.m_bTimestamps);
    EXPECT_EQ(1u, theParams.m_bWindowScaling);
    EXPECT_EQ(0, m_nResult) << "cancelled";
    EXPECT_EQ(m_before, ReadComm()) << "Cancel after a preset writes nothing";
}

INSTANTIATE_TEST_SUITE_P(, PresetTest,
                         ::testing::Values(Preset{ "Default", L"Default", 0 },
                                           Preset{ "Foma", L"Optimize for FOMA", 64240 },
                                           Preset{ "PacketOne", L"Optimize for PacketOne", 32120 },
                                           Preset{ "AirH", L"Optimize for AirH\"", 17520 },
                                           Preset{ "FreeD", L"Optimize for @FreeD", 15576 }),
                         [](const ::testing::TestParamInfo<Preset> &info) { return info.param.pszName; });

TEST_F(SettingsMenuTest, PresetsTuneOnlyTheAdapterNamedExactlyPpp1)
{
    SetKeyNames({ L"PPP1", L"ppp1", L"ppp10", L"Ppp1" });
    Choose(L"Settings", L"Optimize for FOMA");
    Run();
    std::vector<DWORD> windows;
    for (int i = 0; i < theParams.m_nAdapters; i++)
        windows.push_back(theParams.m_pAdapters[i].m_dwTcpWindowSize);
    EXPECT_EQ((std::vector<DWORD>{ 8760, 64240, 8760, 8760 }), windows);
}

TEST_F(SettingsMenuTest, ResetBringsBackTheRegistryAndAnOkAfterItWritesNothing)
{
    SetDword(SystemRegistry(), TEXT("Comm\\Tcpip\\Parms"), TEXT("SackOpts"), 2);
    SetDword(SystemRegistry(), TEXT("Comm\\Tcpip\\Parms"), TEXT("DefaultTTL"), 100);
    ASSERT_TRUE(theParams.Load());
    m_before = ReadComm();
    OpenTab(1);
    OpenTab(3);
    Choose(L"Settings", L"Default");
    Choose(L"Settings", L"Reset");
    m_script.Do("look", [&] {
        EXPECT_EQ(2u, theParams.m_bSack) << "a stored 2 stays 2";
        EXPECT_EQ(100u, theParams.m_dwDefaultTTL);
        EXPECT_EQ(32120u, theParams.m_pAdapters[AdapterIndex(L"ppp1")].m_dwTcpWindowSize);
        HWND hDttl = m_sheet.m_pageDttl.GetSafeHwnd();
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(hDttl, IDC_TTL_CUSTOM));
        EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(hDttl, IDC_TTL_128));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(hDttl, IDC_TTL)));
        EXPECT_EQ(L"100", WindowText(GetDlgItem(hDttl, IDC_TTL)));
        EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(m_sheet.m_pageSack.GetSafeHwnd(), IDC_SACK));
    });
    PressOk();
    Run();
    EXPECT_GT(m_nResult, 0) << "closed by OK without a message";
    EXPECT_EQ(0, m_device.m_nOemQueries);
    EXPECT_EQ(m_before, ReadComm());
}

} // namespace

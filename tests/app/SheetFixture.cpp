#include "SheetFixture.h"

#include <ostream>

void SheetTest::SetUp()
{
    SetAdapters({});
}

void SheetTest::TearDown()
{
    SetAdapters({});
}

void SheetTest::SetAdapters(std::initializer_list<TestAdapter> adapters)
{
    theParams.m_nAdapters = static_cast<int>(adapters.size());
    theParams.m_pAdapters.reset(adapters.size() ? new CAdapterParams[adapters.size()] : nullptr);
    int i = 0;
    for (const TestAdapter &adapter : adapters)
    {
        theParams.m_pAdapters[i].m_strDisplayName = adapter.pszDisplayName;
        theParams.m_pAdapters[i].m_strKeyName = adapter.pszKeyName;
        theParams.m_pAdapters[i].m_dwTcpWindowSize = adapter.dwTcpWindowSize;
        i++;
    }
    theParams.m_dwTcpWindowSize = 0x8000;
    theParams.m_dwDefaultTTL = 128;
    theParams.m_bSack = theParams.m_bTimestamps = theParams.m_bWindowScaling = theParams.m_bPmtuDiscovery = 1;
}

void RunScript(CPropertySheet &sheet, const std::function<void(HWND)> &script)
{
    CModalScript steps;
    steps.Then("the sheet shows", [&] { return sheet.GetSafeHwnd() && IsWindowVisible(sheet.GetSafeHwnd()); });
    steps.Do("the script", [&] { script(sheet.GetSafeHwnd()); });
    RunSheet(sheet, steps);
    EXPECT_TRUE(steps.Completed()) << "timed out at " << steps.TimedOutAt();
}

void SheetTest::Run(const std::function<void(HWND)> &script)
{
    RunScript(m_sheet, script);
}

HWND SheetTest::OpenPage(HWND hSheet, CPropertyPage &page)
{
    ClickTab(hSheet, m_sheet.GetPageIndex(&page));
    HWND hPage = reinterpret_cast<HWND>(SendMessageW(hSheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    EXPECT_EQ(page.GetSafeHwnd(), hPage) << "the clicked tab's page is not in front";
    EXPECT_TRUE(hPage && IsWindowVisible(hPage));
    return hPage;
}

RecordSnapshot RecordSnapshot::Take()
{
    RecordSnapshot snapshot;
    for (int i = 0; i < theParams.m_nAdapters; i++)
        snapshot.windows.push_back(theParams.m_pAdapters[i].m_dwTcpWindowSize);
    snapshot.dwTcpWindowSize = theParams.m_dwTcpWindowSize;
    snapshot.dwDefaultTTL = theParams.m_dwDefaultTTL;
    snapshot.bSack = theParams.m_bSack;
    snapshot.bTimestamps = theParams.m_bTimestamps;
    snapshot.bWindowScaling = theParams.m_bWindowScaling;
    snapshot.bPmtuDiscovery = theParams.m_bPmtuDiscovery;
    return snapshot;
}

bool RecordSnapshot::operator==(const RecordSnapshot &other) const
{
    return windows == other.windows && dwTcpWindowSize == other.dwTcpWindowSize &&
           dwDefaultTTL == other.dwDefaultTTL && bSack == other.bSack && bTimestamps == other.bTimestamps &&
           bWindowScaling == other.bWindowScaling && bPmtuDiscovery == other.bPmtuDiscovery;
}

std::ostream &operator<<(std::ostream &os, const RecordSnapshot &snapshot)
{
    os << "{windows";
    for (DWORD dw : snapshot.windows)
        os << ' ' << dw;
    return os << ", global window " << snapshot.dwTcpWindowSize << ", TTL " << snapshot.dwDefaultTTL
              << ", SACK " << snapshot.bSack << ", time stamps " << snapshot.bTimestamps << ", scaling "
              << snapshot.bWindowScaling << ", PMTU " << snapshot.bPmtuDiscovery << "}";
}

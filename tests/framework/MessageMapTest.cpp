// Message maps: which entry a command or message reaches, in a class's own
// table and its base's, and through a real dialog.
#include "Dialog.h"
#include "Input.h"
#include "ModalScript.h"
#include "Readers.h"
#include "test_resource.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;

namespace
{

const UINT ID_BASE_ONLY = 100;
const UINT ID_DERIVED_ONLY = 101;
const UINT ID_IN_BOTH = 102;
const UINT ID_RANGE_FIRST = 110;
const UINT ID_SINGLE = 115;
const UINT ID_RANGE_LAST = 119;
const UINT ID_FIELD = 120;
const UINT ID_UNBOUND = 199;

class CBaseTarget : public CCmdTarget
{
public:
    std::vector<std::string> m_calls;

protected:
    void OnBaseOnly() { m_calls.push_back("base only"); }
    void OnInBothInBase() { m_calls.push_back("in both, base"); }
    void OnFieldChange() { m_calls.push_back("field change"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
    ON_COMMAND(ID_BASE_ONLY, OnBaseOnly)
    ON_COMMAND(ID_IN_BOTH, OnInBothInBase)
    ON_EN_CHANGE(ID_FIELD, OnFieldChange)
END_MESSAGE_MAP()

class CDerivedTarget : public CBaseTarget
{
protected:
    void OnDerivedOnly() { m_calls.push_back("derived only"); }
    void OnInBothInDerived() { m_calls.push_back("in both, derived"); }
    void OnSingle() { m_calls.push_back("single"); }
    void OnRange(UINT nID) { m_calls.push_back("range " + std::to_string(nID)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_COMMAND(ID_DERIVED_ONLY, OnDerivedOnly)
    ON_COMMAND(ID_IN_BOTH, OnInBothInDerived)
    ON_COMMAND(ID_SINGLE, OnSingle)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
END_MESSAGE_MAP()

// The same two entries the other way round.
class CRangeFirstTarget : public CBaseTarget
{
protected:
    void OnSingle() { m_calls.push_back("single"); }
    void OnRange(UINT nID) { m_calls.push_back("range " + std::to_string(nID)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRangeFirstTarget, CBaseTarget)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
    ON_COMMAND(ID_SINGLE, OnSingle)
END_MESSAGE_MAP()

TEST(MessageMap, DerivedTableBindsItsOwnCommand)
{
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(ID_DERIVED_ONLY, 0));
    EXPECT_THAT(target.m_calls, ElementsAre("derived only"));
}

TEST(MessageMap, BaseTableBindsWhatTheDerivedLeavesOut)
{
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(ID_BASE_ONLY, 0));
    EXPECT_THAT(target.m_calls, ElementsAre("base only"));
}

TEST(MessageMap, DerivedEntryHidesTheBasesForTheSameCommand)
{
    CDerivedTarget target;
    EXPECT_TRUE(target.OnCmdMsg(ID_IN_BOTH, 0));
    EXPECT_THAT(target.m_calls, ElementsAre("in both, derived"));
}

TEST(MessageMap, UnboundCommandIsLeftToThePlatform)
{
    CDerivedTarget target;
    EXPECT_FALSE(target.OnCmdMsg(ID_UNBOUND, 0));
    EXPECT_FALSE(target.OnCmdMsg(ID_RANGE_FIRST - 1, 0));
    EXPECT_FALSE(target.OnCmdMsg(ID_RANGE_LAST + 1, 0)) << "bound only for EN_CHANGE";
    EXPECT_THAT(target.m_calls, ElementsAre());
}

TEST(MessageMap, RangeEntryPassesTheCommandsId)
{
    CDerivedTarget target;
    for (UINT nID : { ID_RANGE_FIRST, ID_RANGE_FIRST + 3, ID_RANGE_LAST })
        EXPECT_TRUE(target.OnCmdMsg(nID, 0)) << nID;
    EXPECT_THAT(target.m_calls, ElementsAre("range 110", "range 113", "range 119"));
}

TEST(MessageMap, FirstMatchingEntryOfATableWins)
{
    CDerivedTarget singleFirst;
    EXPECT_TRUE(singleFirst.OnCmdMsg(ID_SINGLE, 0));
    EXPECT_THAT(singleFirst.m_calls, ElementsAre("single"));

    CRangeFirstTarget rangeFirst;
    EXPECT_TRUE(rangeFirst.OnCmdMsg(ID_SINGLE, 0));
    EXPECT_THAT(rangeFirst.m_calls, ElementsAre("range 115"));
}

TEST(MessageMap, NotificationCodeMustMatch)
{
    CDerivedTarget target;
    EXPECT_FALSE(target.OnCmdMsg(ID_FIELD, BN_CLICKED)) << "an EN_CHANGE entry";
    EXPECT_FALSE(target.OnCmdMsg(ID_FIELD, EN_UPDATE));
    EXPECT_FALSE(target.OnCmdMsg(ID_DERIVED_ONLY, EN_CHANGE)) << "a command entry";
    EXPECT_THAT(target.m_calls, ElementsAre());
    EXPECT_TRUE(target.OnCmdMsg(ID_FIELD, EN_CHANGE));
    EXPECT_THAT(target.m_calls, ElementsAre("field change"));
}

// A dialog that logs its command hook and its map handlers, in order.
const UINT WM_TEST_QUERY = WM_APP + 1;
const LRESULT QUERY_ANSWER = static_cast<LRESULT>(0x123456789ALL);

class CLoggingDialog : public CDialog
{
public:
    CLoggingDialog() : CDialog(IDD_TEST_DIALOG) {}

    std::vector<std::string> m_log;
    UINT m_nSwallowID = 0;     // a command the hook keeps from the map
    WPARAM m_wParamSeen = 0;
    LPARAM m_lParamSeen = 0;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        // The field reports the focus coming and going as the dialog opens
        // and closes; those say nothing about the map.
        if (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS)
            return CDialog::OnCommand(wParam, lParam);
        char sz[48];
        snprintf(sz, sizeof(sz), "hook %u/0x%X", LOWORD(wParam), HIWORD(wParam));
        m_log.push_back(sz);
        if (LOWORD(wParam) == m_nSwallowID)
            return TRUE;
        return CDialog::OnCommand(wParam, lParam);
    }
    void OnPush() { m_log.push_back("map push"); }
    void OnNumberChange() { m_log.push_back("map number change"); }
    LRESULT OnQuery(WPARAM wParam, LPARAM lParam)
    {
        m_wParamSeen = wParam;
        m_lParamSeen = lParam;
        return QUERY_ANSWER;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLoggingDialog, CDialog)
    ON_BN_CLICKED(IDC_TEST_BUTTON, OnPush)
    ON_EN_CHANGE(IDC_TEST_NUMBER, OnNumberChange)
    ON_MESSAGE(WM_TEST_QUERY, OnQuery)
END_MESSAGE_MAP()

// Runs the dialog with one action inside its modal loop.
void RunWithAction(CLoggingDialog &dialog, std::function<void()> action)
{
    CModalScript script;
    script.Do("action", action);
    RunDialog(dialog, script);
    EXPECT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
}

TEST(MessageMapInDialog, MessageEntryGetsItsParametersAndItsResultComesBack)
{
    CLoggingDialog dialog;
    LRESULT lResult = 0;
    RunWithAction(dialog, [&]() {
        lResult = SendMessageW(dialog.GetSafeHwnd(), WM_TEST_QUERY, 0xBEEF, static_cast<LPARAM>(-7));
    });
    EXPECT_EQ(QUERY_ANSWER, lResult);
    EXPECT_EQ(0xBEEFu, dialog.m_wParamSeen);
    EXPECT_EQ(-7, dialog.m_lParamSeen);
}

TEST(MessageMapInDialog, ClickReachesTheCommandHookThenTheMap)
{
    CLoggingDialog dialog;
    RunWithAction(dialog, [&]() { SendMessageW(dialog.GetDlgItem(IDC_TEST_BUTTON), BM_CLICK, 0, 0); });
    EXPECT_THAT(dialog.m_log, ElementsAre("hook 2007/0x0", "map push"));
}

// A single-line field reports EN_UPDATE and EN_CHANGE; the map binds only one.
TEST(MessageMapInDialog, CommandHookSeesNotificationsTheMapDoesNotBind)
{
    CLoggingDialog dialog;
    RunWithAction(dialog, [&]() { SetDlgItemTextW(dialog.GetSafeHwnd(), IDC_TEST_NUMBER, L"5"); });
    EXPECT_THAT(dialog.m_log, ElementsAre("hook 2001/0x400", "hook 2001/0x300", "map number change"));
}

TEST(MessageMapInDialog, CommandHookCanKeepACommandFromTheMap)
{
    CLoggingDialog dialog;
    dialog.m_nSwallowID = IDC_TEST_BUTTON;
    RunWithAction(dialog, [&]() { SendMessageW(dialog.GetDlgItem(IDC_TEST_BUTTON), BM_CLICK, 0, 0); });
    EXPECT_THAT(dialog.m_log, ElementsAre("hook 2007/0x0"));
}

TEST(MessageMapInDialog, CommandHookSeesCommandsSentByHand)
{
    CLoggingDialog dialog;
    RunWithAction(dialog, [&]() {
        SendMessageW(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(ID_UNBOUND, 0), 0);
        SendMessageW(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_CLICKED), 0);
    });
    EXPECT_THAT(dialog.m_log, ElementsAre("hook 199/0x0", "hook 2007/0x0", "map push"));
}

TEST(Dialog, MissingTemplateGivesMinusOne)
{
    CDialog dialog(9999);
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_EQ(nullptr, dialog.GetSafeHwnd());
}

} // namespace

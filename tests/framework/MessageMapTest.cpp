// Message maps: which entry a command reaches, in a class's own table and
// its base's.
#include "CmdTarget.h"

#include <gtest/gtest.h>

#include <string>

namespace
{

const UINT ID_BASE_ONLY = 100, ID_DERIVED_ONLY = 101, ID_IN_BOTH = 102, ID_FIELD = 120, ID_UNBOUND = 199;
const UINT ID_RANGE_FIRST = 110, ID_SINGLE = 115, ID_RANGE_LAST = 119;

class CBaseTarget : public CCmdTarget
{
public:
    std::string m_strCalled;

protected:
    void OnBaseOnly() { m_strCalled = "base only"; }
    void OnInBothInBase() { m_strCalled = "in both, base"; }
    void OnFieldChange() { m_strCalled = "field change"; }
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
    void OnDerivedOnly() { m_strCalled = "derived only"; }
    void OnInBothInDerived() { m_strCalled = "in both, derived"; }
    void OnSingle() { m_strCalled = "single"; }
    void OnRange(UINT nID) { m_strCalled = "range " + std::to_string(nID); }
    DECLARE_MESSAGE_MAP()
};

// The single entry comes before the range that holds its id.
BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
    ON_COMMAND(ID_DERIVED_ONLY, OnDerivedOnly)
    ON_COMMAND(ID_IN_BOTH, OnInBothInDerived)
    ON_COMMAND(ID_SINGLE, OnSingle)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
END_MESSAGE_MAP()

TEST(MessageMap, ACommandReachesTheFirstMatchingEntryOwnTableFirst)
{
    const struct
    {
        UINT nID, nCode;
        const char *pszCalled;   // "" where nothing is bound: the platform gets it
    } cases[] = {
        { ID_DERIVED_ONLY, 0, "derived only" },  { ID_BASE_ONLY, 0, "base only" },
        { ID_IN_BOTH, 0, "in both, derived" },   { ID_SINGLE, 0, "single" },
        { ID_RANGE_FIRST, 0, "range 110" },      { ID_RANGE_LAST, 0, "range 119" },
        { ID_RANGE_LAST + 1, 0, "" },            { ID_UNBOUND, 0, "" },
        { ID_FIELD, EN_CHANGE, "field change" }, { ID_FIELD, 0, "" },
        { ID_DERIVED_ONLY, BN_DOUBLECLICKED, "" },
    };
    for (const auto &test : cases)
    {
        CDerivedTarget target;
        EXPECT_EQ(*test.pszCalled != 0, target.OnCmdMsg(test.nID, test.nCode)) << "id " << test.nID;
        EXPECT_EQ(test.pszCalled, target.m_strCalled) << "id " << test.nID << ", code " << test.nCode;
    }
}

} // namespace

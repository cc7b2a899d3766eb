// The soft-reset offer after a save: a desktop cannot reset, so only a
// handheld is asked, and not the two kinds that restart by other means.
#include "SoftReset.h"

#include <gtest/gtest.h>

namespace
{

class CHandheld : public IDevice
{
public:
    CHandheld(bool bCanReset, const WCHAR *pszOemInfo) : m_bCanReset(bCanReset), m_strOemInfo(pszOemInfo) {}
    CString GetOemInfo() override { return m_strOemInfo; }
    bool CanSoftReset() override { return m_bCanReset; }
    void SoftReset() override {}
    bool ShowHelp(HWND, const WCHAR *, const WCHAR *) override { return true; }
    BOOL OpenWithShell(SHELLEXECUTEINFOW *) override { return TRUE; }

private:
    bool m_bCanReset;
    CString m_strOemInfo;
};

TEST(SoftResetOffer, OnlyWhereTheDeviceCanAndIsNotExactlyCepcOrNec)
{
    const struct
    {
        bool bCanReset;
        const WCHAR *pszOemInfo;
        bool bOffered;
    } cases[] = { { false, L"", false },     { true, L"CEPC", false }, { true, L"NEC", false },
                  { true, L"CEPCX", true }, { true, L"cepc", true },  { true, L"", true } };
    for (const auto &test : cases)
    {
        CHandheld device(test.bCanReset, test.pszOemInfo);
        EXPECT_EQ(test.bOffered, OffersSoftReset(device)) << "case " << (&test - cases);
    }
}

} // namespace

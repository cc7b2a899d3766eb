// The soft-reset offer after a save: a desktop cannot reset, so only a
// handheld is asked, and not the two kinds that restart by other means.
#include "Device.h"

#include <gtest/gtest.h>

namespace
{

struct CHandheld : IDevice
{
    bool bCanReset;
    const WCHAR *pszOemInfo;

    CHandheld(bool bCan, const WCHAR *pszOem) : bCanReset(bCan), pszOemInfo(pszOem) {}
    CString GetOemInfo() override { return pszOemInfo; }
    bool CanSoftReset() override { return bCanReset; }
    void SoftReset() override {}
    bool ShowHelp(HWND, const WCHAR *, const WCHAR *) override { return true; }
    BOOL OpenWithShell(SHELLEXECUTEINFOW *) override { return TRUE; }
    CString GetBackupFolder() override { return CString(); }
};

TEST(SoftResetOffer, OnlyWhereTheDeviceCanAndIsNotExactlyCepcOrNec)
{
    struct
    {
        CHandheld device;
        bool bOffered;
    } cases[] = { { { false, L"" }, false },    { { true, L"CEPC" }, false }, { { true, L"NEC" }, false },
                  { { true, L"CEPCX" }, true }, { { true, L"cepc" }, true },  { { true, L"" }, true } };
    for (auto &test : cases)
        EXPECT_EQ(test.bOffered, OffersSoftReset(test.device)) << "case " << (&test - cases);
}

} // namespace

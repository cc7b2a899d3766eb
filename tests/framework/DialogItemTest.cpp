// The dialog-item operations, on the controls of a real dialog.
#include "Input.h"
#include "ModalScript.h"
#include "Readers.h"
#include "test_resource.h"

#include <gtest/gtest.h>

namespace
{

// Runs the test dialog with one action inside its modal loop.
void WithTestDialog(const std::function<void(CDialog &)> &action)
{
    CDialog dialog(IDD_TEST_DIALOG);
    CModalScript script;
    script.Do("action", [&]() { action(dialog); });
    RunDialog(dialog, script);
    EXPECT_TRUE(script.Completed()) << "timed out at " << script.TimedOutAt();
}

std::wstring ItemText(const CDialog &dialog, int nID)
{
    return WindowText(dialog.GetDlgItem(nID));
}

// Both a plain field and one styled as the pages' number fields.
const int fields[] = { IDC_TEST_NUMBER, IDC_TEST_PAGE_FIELD };

TEST(DialogItemInt, SignedShowsTheBitsAsASignedNumber)
{
    WithTestDialog([](CDialog &dialog) {
        for (int nID : fields)
        {
            dialog.SetDlgItemInt(nID, 3000000000u, TRUE);
            EXPECT_EQ(L"-1294967296", ItemText(dialog, nID)) << "field " << nID;
            dialog.SetDlgItemInt(nID, 0x7FFFFFFF, TRUE);
            EXPECT_EQ(L"2147483647", ItemText(dialog, nID)) << "field " << nID;
            dialog.SetDlgItemInt(nID, 64240, TRUE);
            EXPECT_EQ(L"64240", ItemText(dialog, nID)) << "field " << nID;
        }
    });
}

TEST(DialogItemInt, UnsignedShowsTheBitsAsTheyAre)
{
    WithTestDialog([](CDialog &dialog) {
        dialog.SetDlgItemInt(IDC_TEST_NUMBER, 3000000000u, FALSE);
        EXPECT_EQ(L"3000000000", ItemText(dialog, IDC_TEST_NUMBER));
    });
}

struct ReadCase
{
    const WCHAR *pszText;
    UINT nExpected;
};

// What the platform makes of a field's text, read as a signed number.
TEST(DialogItemInt, ReadsLeadingDigitsAndGivesZeroForNone)
{
    const ReadCase cases[] = {
        { L"", 0 },
        { L"abc", 0 },
        { L" 12x", 12 },
        { L"17520", 17520 },
        { L"-1", static_cast<UINT>(-1) },
        { L"  -7 ", static_cast<UINT>(-7) },
        { L"-", 0 },
        { L"2147483648", 0 },       // above the signed range
        { L"-2147483649", 0 },      // below it
        { L"99999999999", 0 },
        { L"3000000000", 0 },
    };
    WithTestDialog([&](CDialog &dialog) {
        for (int nID : fields)
            for (const ReadCase &test : cases)
            {
                SetDlgItemTextW(dialog.GetSafeHwnd(), nID, test.pszText);
                EXPECT_EQ(test.nExpected, dialog.GetDlgItemInt(nID, TRUE))
                    << "text \"" << Narrow(test.pszText) << "\", field " << nID;
            }
    });
}

// The ends of the signed range are read as the numbers they are.
TEST(DialogItemInt, ReadsTheEndsOfTheSignedRange)
{
    WithTestDialog([](CDialog &dialog) {
        for (const ReadCase &test : { ReadCase{ L"2147483647", 0x7FFFFFFF }, ReadCase{ L"-2147483648", 0x80000000 } })
        {
            SetDlgItemTextW(dialog.GetSafeHwnd(), IDC_TEST_NUMBER, test.pszText);
            BOOL bTranslated = -1;
            UINT nValue = ::GetDlgItemInt(dialog.GetSafeHwnd(), IDC_TEST_NUMBER, &bTranslated, TRUE);
            EXPECT_EQ(test.nExpected, nValue) << Narrow(test.pszText) << ", translated " << bTranslated;
        }
    });
}

TEST(DialogItemRadio, NoneCheckedGivesZero)
{
    WithTestDialog([](CDialog &dialog) {
        EXPECT_EQ(0, dialog.GetCheckedRadioButton(IDC_TEST_RADIO_1, IDC_TEST_RADIO_3));
    });
}

TEST(DialogItemRadio, CheckingOneClearsTheOthersInTheRange)
{
    WithTestDialog([](CDialog &dialog) {
        dialog.CheckRadioButton(IDC_TEST_RADIO_1, IDC_TEST_RADIO_3, IDC_TEST_RADIO_1);
        dialog.CheckRadioButton(IDC_TEST_RADIO_1, IDC_TEST_RADIO_3, IDC_TEST_RADIO_2);
        EXPECT_EQ(IDC_TEST_RADIO_2, dialog.GetCheckedRadioButton(IDC_TEST_RADIO_1, IDC_TEST_RADIO_3));
        EXPECT_EQ(0u, dialog.IsDlgButtonChecked(IDC_TEST_RADIO_1));
        EXPECT_EQ(1u, dialog.IsDlgButtonChecked(IDC_TEST_RADIO_2));
        EXPECT_EQ(0u, dialog.IsDlgButtonChecked(IDC_TEST_RADIO_3));
    });
}

TEST(DialogItemRadio, GivesTheFirstCheckedButtonOfTheRange)
{
    WithTestDialog([](CDialog &dialog) {
        dialog.CheckDlgButton(IDC_TEST_RADIO_2, BST_CHECKED);
        dialog.CheckDlgButton(IDC_TEST_RADIO_3, BST_CHECKED);
        EXPECT_EQ(IDC_TEST_RADIO_2, dialog.GetCheckedRadioButton(IDC_TEST_RADIO_1, IDC_TEST_RADIO_3));
        EXPECT_EQ(IDC_TEST_RADIO_3, dialog.GetCheckedRadioButton(IDC_TEST_RADIO_3, IDC_TEST_RADIO_3));
        EXPECT_EQ(0, dialog.GetCheckedRadioButton(IDC_TEST_RADIO_1, IDC_TEST_RADIO_1));
    });
}

// A click checks the button through the platform; the framework reads it.
TEST(DialogItemRadio, SeesAButtonTheUserClicked)
{
    WithTestDialog([](CDialog &dialog) {
        SendMessageW(dialog.GetDlgItem(IDC_TEST_RADIO_3), BM_CLICK, 0, 0);
        EXPECT_EQ(IDC_TEST_RADIO_3, dialog.GetCheckedRadioButton(IDC_TEST_RADIO_1, IDC_TEST_RADIO_3));
    });
}

TEST(DialogItemCheck, SetsAndReadsTheBox)
{
    WithTestDialog([](CDialog &dialog) {
        EXPECT_EQ(0u, dialog.IsDlgButtonChecked(IDC_TEST_CHECK));
        dialog.CheckDlgButton(IDC_TEST_CHECK, 1);
        EXPECT_EQ(1u, dialog.IsDlgButtonChecked(IDC_TEST_CHECK));
        EXPECT_EQ(static_cast<LRESULT>(BST_CHECKED), SendMessageW(dialog.GetDlgItem(IDC_TEST_CHECK), BM_GETCHECK, 0, 0));
        dialog.CheckDlgButton(IDC_TEST_CHECK, 0);
        EXPECT_EQ(0u, dialog.IsDlgButtonChecked(IDC_TEST_CHECK));
        SendMessageW(dialog.GetDlgItem(IDC_TEST_CHECK), BM_CLICK, 0, 0);
        EXPECT_EQ(1u, dialog.IsDlgButtonChecked(IDC_TEST_CHECK)) << "after a click";
    });
}

} // namespace

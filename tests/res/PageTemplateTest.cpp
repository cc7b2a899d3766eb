// The four page templates, byte by byte as the platform reads them. Ids are
// the fixed numbers other code and documents refer to, so they are written out.
#include "ResourceReader.h"

#include <gtest/gtest.h>

namespace
{

const WORD ID_STATIC = 0xFFFF;
const DWORD STYLE_HEADING = 0x50020000;    // WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT
const DWORD STYLE_RADIO = 0x50000009;      // WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON
const DWORD STYLE_CHECK = 0x50010003;      // WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX
const DWORD STYLE_NUMBER = 0x50812086;     // WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_NUMBER
                                           // | ES_AUTOHSCROLL | ES_MULTILINE | ES_RIGHT
const DWORD STYLE_LIST = 0x50210003;       // WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST

ControlTemplate Control(const WCHAR *pszClass, const WCHAR *pszText, WORD wID, short x, short y, short cx, short cy,
                        DWORD dwStyle)
{
    return { pszClass, pszText, wID, x, y, cx, cy, dwStyle, 0, 0 };
}

struct PageTemplateCase
{
    const char *pszName;
    UINT nID;
    const WCHAR *pszCaption;
    std::vector<ControlTemplate> controls;
};

void PrintTo(const PageTemplateCase &page, std::ostream *os) { *os << page.pszName; }

std::vector<PageTemplateCase> PageTemplates()
{
    return {
        { "DefaultTtl", 102, L"Default TTL", {
            Control(L"Static", L"Default TTL", ID_STATIC, 4, 4, 128, 8, STYLE_HEADING),
            Control(L"Button", L"32", 1005, 4, 20, 64, 10, STYLE_RADIO),
            Control(L"Button", L"64", 1006, 4, 36, 64, 10, STYLE_RADIO),
            Control(L"Button", L"128 (Recommended)", 1007, 4, 52, 128, 10, STYLE_RADIO),
            Control(L"Button", L"Custom", 1008, 4, 68, 64, 10, STYLE_RADIO),
            Control(L"Edit", L"", 1009, 84, 67, 48, 12, STYLE_NUMBER),
        } },
        { "Pmtu", 103, L"PMTU", {
            Control(L"Static", L"Path MTU Discovery", ID_STATIC, 4, 4, 128, 8, STYLE_HEADING),
            Control(L"Button", L"Enable (Recommended)", 1010, 4, 20, 128, 10, STYLE_RADIO),
            Control(L"Button", L"Disable", 1011, 4, 36, 64, 10, STYLE_RADIO),
        } },
        { "Rwin", 104, L"RWIN", {
            Control(L"Static", L"Network Adapter", ID_STATIC, 4, 4, 128, 8, STYLE_HEADING),
            Control(L"ComboBox", L"", 1012, 4, 16, 128, 60, STYLE_LIST),
            Control(L"Static", L"TCP Receive Window", ID_STATIC, 4, 38, 76, 8, STYLE_HEADING),
            Control(L"Edit", L"", 1013, 84, 36, 48, 12, STYLE_NUMBER),
            Control(L"Button", L"Window Scaling", 1014, 4, 52, 128, 10, STYLE_CHECK),
        } },
        // The heading is drawn first but stored last.
        { "Other", 105, L"Other", {
            Control(L"Button", L"Selective Acknowledgements", 1015, 4, 20, 128, 12, STYLE_CHECK),
            Control(L"Button", L"Time Stamps", 1016, 4, 36, 128, 12, STYLE_CHECK),
            Control(L"Static", L"Other Parameters", ID_STATIC, 4, 4, 128, 8, STYLE_HEADING),
        } },
    };
}

class PageTemplate : public ::testing::TestWithParam<PageTemplateCase>
{
protected:
    void SetUp() override
    {
        std::vector<BYTE> bytes = ResourceBytes(RT_DIALOG, GetParam().nID);
        ASSERT_FALSE(bytes.empty()) << "no dialog resource " << GetParam().nID;
        std::string strError;
        ASSERT_TRUE(ParseDialogTemplate(bytes, &m_template, &strError)) << strError;
    }
    DialogTemplate m_template = {};
};

TEST_P(PageTemplate, HasThePagesStyleSizeAndFont)
{
    EXPECT_EQ(Hex(0x40C00040), Hex(m_template.dwStyle)) << "WS_CHILD | WS_CAPTION | DS_SETFONT";
    EXPECT_EQ(Hex(0), Hex(m_template.dwExStyle));
    EXPECT_EQ(0, m_template.x);
    EXPECT_EQ(0, m_template.y);
    EXPECT_EQ(138, m_template.cx);
    EXPECT_EQ(83, m_template.cy);
    EXPECT_EQ(9, m_template.wPointSize);
    EXPECT_EQ(L"System", m_template.strFace);
}

TEST_P(PageTemplate, HasItsCaptionNoMenuAndTheDefaultClass)
{
    EXPECT_EQ(GetParam().pszCaption, m_template.strCaption);
    EXPECT_EQ(L"", m_template.strMenu);
    EXPECT_EQ(L"", m_template.strClass);
}

TEST_P(PageTemplate, HasItsControlsInTemplateOrder)
{
    const std::vector<ControlTemplate> &expected = GetParam().controls;
    EXPECT_EQ(expected.size(), m_template.controls.size());
    for (size_t i = 0; i < expected.size() && i < m_template.controls.size(); i++)
        EXPECT_EQ(expected[i], m_template.controls[i]) << "control " << i;
}

INSTANTIATE_TEST_SUITE_P(, PageTemplate, ::testing::ValuesIn(PageTemplates()),
                         [](const ::testing::TestParamInfo<PageTemplateCase> &info) { return info.param.pszName; });

} // namespace

#include "ResourceReader.h"

#include <cstdio>
#include <cstring>

std::vector<BYTE> ResourceBytes(const WCHAR *pszType, UINT nID)
{
    HMODULE hModule = GetModuleHandleW(nullptr);
    HRSRC hResource = FindResourceW(hModule, MAKEINTRESOURCEW(nID), pszType);
    if (!hResource)
        return {};
    const BYTE *pBytes = static_cast<const BYTE *>(LockResource(LoadResource(hModule, hResource)));
    DWORD cbSize = SizeofResource(hModule, hResource);
    if (!pBytes)
        return {};
    return std::vector<BYTE>(pBytes, pBytes + cbSize);
}

StringResource LoadStringResource(UINT nID)
{
    // With a zero buffer size the call hands out the stored text itself, so
    // nothing is cut off and the length is the stored one.
    const WCHAR *pText = nullptr;
    int nLength = LoadStringW(GetModuleHandleW(nullptr), nID, reinterpret_cast<WCHAR *>(&pText), 0);
    if (nLength <= 0 || !pText)
        return { false, L"" };
    return { true, std::wstring(pText, nLength) };
}

bool ControlTemplate::operator==(const ControlTemplate &other) const
{
    // The platform matches class names regardless of case.
    return CompareStringOrdinal(strClass.c_str(), -1, other.strClass.c_str(), -1, TRUE) == CSTR_EQUAL && strText == other.strText && wID == other.wID && x == other.x &&
           y == other.y && cx == other.cx && cy == other.cy && dwStyle == other.dwStyle &&
           dwExStyle == other.dwExStyle && cbExtra == other.cbExtra;
}

std::string Narrow(const std::wstring &str)
{
    std::string text;
    for (WCHAR ch : str)
        text += ch < 0x80 ? static_cast<char>(ch) : '?';
    return text;
}

std::string Hex(DWORD dwValue)
{
    char sz[16];
    snprintf(sz, sizeof(sz), "0x%08lX", static_cast<unsigned long>(dwValue));
    return sz;
}

void PrintTo(const ControlTemplate &control, std::ostream *os)
{
    *os << "{" << Narrow(control.strClass) << " \"" << Narrow(control.strText) << "\" id " << control.wID << " at "
        << control.x << "," << control.y << " " << control.cx << "x" << control.cy << " style "
        << Hex(control.dwStyle) << " exstyle " << Hex(control.dwExStyle) << " extra " << control.cbExtra << "}";
}

namespace
{

// Walks the template's words and keeps to its bounds.
class CTemplateReader
{
public:
    explicit CTemplateReader(const std::vector<BYTE> &bytes) : m_bytes(bytes) {}

    bool Word(WORD *pw)
    {
        if (m_nPos + 2 > m_bytes.size())
            return false;
        memcpy(pw, &m_bytes[m_nPos], 2);
        m_nPos += 2;
        return true;
    }
    bool Dword(DWORD *pdw)
    {
        WORD wLow, wHigh;
        if (!Word(&wLow) || !Word(&wHigh))
            return false;
        *pdw = MAKELONG(wLow, wHigh);
        return true;
    }
    bool Short(short *pn)
    {
        WORD w;
        if (!Word(&w))
            return false;
        *pn = static_cast<short>(w);
        return true;
    }
    bool String(std::wstring *pstr)
    {
        pstr->clear();
        for (WORD w; Word(&w);)
        {
            if (w == 0)
                return true;
            *pstr += static_cast<WCHAR>(w);
        }
        return false;
    }
    // 0x0000: none; 0xFFFF then an ordinal; otherwise a string.
    bool NameOrOrdinal(std::wstring *pstr)
    {
        WORD w;
        if (!Word(&w))
            return false;
        if (w == 0xFFFF)
        {
            WORD wOrdinal;
            if (!Word(&wOrdinal))
                return false;
            *pstr = L"#" + std::to_wstring(wOrdinal);
            return true;
        }
        m_nPos -= 2;
        return String(pstr);
    }
    void AlignToDword() { m_nPos = (m_nPos + 3) & ~size_t(3); }
    bool Skip(size_t cb)
    {
        if (m_nPos + cb > m_bytes.size())
            return false;
        m_nPos += cb;
        return true;
    }

private:
    const std::vector<BYTE> &m_bytes;
    size_t m_nPos = 0;
};

std::wstring PredefinedClassName(const std::wstring &strClass)
{
    static const struct { const WCHAR *pszOrdinal; const WCHAR *pszName; } classes[] = {
        { L"#128", L"Button" }, { L"#129", L"Edit" }, { L"#130", L"Static" },
        { L"#131", L"ListBox" }, { L"#132", L"ScrollBar" }, { L"#133", L"ComboBox" },
    };
    for (const auto &known : classes)
        if (strClass == known.pszOrdinal)
            return known.pszName;
    return strClass;
}

bool Fail(std::string *pError, const std::string &strWhy)
{
    *pError = strWhy;
    return false;
}

} // namespace

bool ParseDialogTemplate(const std::vector<BYTE> &bytes, DialogTemplate *pTemplate, std::string *pError)
{
    CTemplateReader reader(bytes);
    DialogTemplate dialog = {};
    WORD nItems;
    if (!reader.Dword(&dialog.dwStyle) || !reader.Dword(&dialog.dwExStyle))
        return Fail(pError, "shorter than a template header");
    if (dialog.dwStyle == 0xFFFF0001)
        return Fail(pError, "an extended template (DLGTEMPLATEEX)");
    if (!reader.Word(&nItems) || !reader.Short(&dialog.x) || !reader.Short(&dialog.y) ||
        !reader.Short(&dialog.cx) || !reader.Short(&dialog.cy) || !reader.NameOrOrdinal(&dialog.strMenu) ||
        !reader.NameOrOrdinal(&dialog.strClass) || !reader.String(&dialog.strCaption))
        return Fail(pError, "the header ends too soon");
    if (dialog.dwStyle & DS_SETFONT)
        if (!reader.Word(&dialog.wPointSize) || !reader.String(&dialog.strFace))
            return Fail(pError, "the font ends too soon");

    for (WORD i = 0; i < nItems; i++)
    {
        ControlTemplate control = {};
        reader.AlignToDword();
        if (!reader.Dword(&control.dwStyle) || !reader.Dword(&control.dwExStyle) || !reader.Short(&control.x) ||
            !reader.Short(&control.y) || !reader.Short(&control.cx) || !reader.Short(&control.cy) ||
            !reader.Word(&control.wID) || !reader.NameOrOrdinal(&control.strClass) ||
            !reader.NameOrOrdinal(&control.strText) || !reader.Word(&control.cbExtra) ||
            !reader.Skip(control.cbExtra))
            return Fail(pError, "control " + std::to_string(i) + " of " + std::to_string(nItems) + " ends too soon");
        control.strClass = PredefinedClassName(control.strClass);
        dialog.controls.push_back(control);
    }
    *pTemplate = dialog;
    return true;
}

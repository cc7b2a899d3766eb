// Reading this executable's own resources, and the parts of their formats
// that the tests look into.
#pragma once

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

// The bytes of a resource of this module; empty when there is none.
std::vector<BYTE> ResourceBytes(const WCHAR *pszType, UINT nID);

// A string resource as stored, without the terminator; "(missing)" lengths
// are told apart by bFound.
struct StringResource
{
    bool bFound;
    std::wstring strText;
};
StringResource LoadStringResource(UINT nID);

// A name or an ordinal as a template stores it: text, or "#" and the number.
// The predefined control classes stored as ordinals are given by name
// ("Button", "Edit", ...); class names compare regardless of case.
struct ControlTemplate
{
    std::wstring strClass;
    std::wstring strText;
    WORD wID;
    short x, y, cx, cy;
    DWORD dwStyle;
    DWORD dwExStyle;
    WORD cbExtra;     // creation data after the text

    bool operator==(const ControlTemplate &other) const;
};
void PrintTo(const ControlTemplate &control, std::ostream *os);

struct DialogTemplate
{
    DWORD dwStyle;
    DWORD dwExStyle;
    short x, y, cx, cy;
    std::wstring strMenu;
    std::wstring strClass;
    std::wstring strCaption;
    WORD wPointSize;        // only with DS_SETFONT
    std::wstring strFace;
    std::vector<ControlTemplate> controls;
};

// Parses a DLGTEMPLATE with its items; false, with the reason, when the
// bytes are not one (an extended template included) or end too soon.
bool ParseDialogTemplate(const std::vector<BYTE> &bytes, DialogTemplate *pTemplate, std::string *pError);

std::string Narrow(const std::wstring &str);
std::string Hex(DWORD dwValue);

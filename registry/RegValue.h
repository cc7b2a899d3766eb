// A registry value as the platform stores it: a type and raw bytes. Registry
// files, backups and the store's list of the values it manages all speak in
// these.
#pragma once

#include "Registry.h"
#include "String.h"

#include <vector>

struct RegValue
{
    DWORD dwType = REG_NONE;
    std::vector<BYTE> data;
    bool operator==(const RegValue &other) const { return dwType == other.dwType && data == other.data; }
    bool operator!=(const RegValue &other) const { return !(*this == other); }
};

// One value under HKEY_LOCAL_MACHINE ("Comm\Tcpip\Parms", "DefaultTTL"), and
// what it holds; absent when bPresent is false.
struct RegSetting
{
    WString strPath;
    WString strName;
    bool bPresent = false;
    RegValue value;
};

// A DWORD as the registry keeps it: four bytes, the least significant first.
std::vector<BYTE> DwordBytes(DWORD dwValue);
// The number in the first four bytes.
DWORD DwordOf(const BYTE *pBytes);
RegValue DwordValue(DWORD dwValue);
// Text as the registry keeps it: two bytes a UTF-16 unit, the low one first.
void AppendUtf16(const WString &str, std::vector<BYTE> *pData);

// A value of any type and size; false when there is none or it cannot be read.
bool ReadValue(IRegistry &registry, HKEY hKey, const WCHAR *pszName, RegValue *pValue);

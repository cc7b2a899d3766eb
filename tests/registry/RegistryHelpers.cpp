#include "RegistryHelpers.h"

#include <algorithm>

#include "MemoryRegistry.h"
#ifdef _WIN32
#include "Win32Registry.h"
#endif

std::string Narrow(const WCHAR *psz)
{
    std::string text;
    for (; psz && *psz; psz++)
        text += *psz < 0x80 ? static_cast<char>(*psz) : '?';
    return text;
}

void SetRaw(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, DWORD dwType, std::vector<BYTE> data)
{
    HKEY hKey;
    ASSERT_EQ(0, registry.CreateKey(HKEY_LOCAL_MACHINE, pszPath, &hKey)) << Narrow(pszPath);
    LONG lStatus = pszName ? registry.SetValue(hKey, pszName, dwType, data.data(), static_cast<DWORD>(data.size())) : 0;
    EXPECT_EQ(0, lStatus) << Narrow(pszName);
    registry.CloseKey(hKey);
}

void MakeKey(IRegistry &registry, const WCHAR *pszPath)
{
    SetRaw(registry, pszPath, nullptr, REG_NONE, {});
}

void SetDword(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, DWORD dwValue)
{
    SetRaw(registry, pszPath, pszName, REG_DWORD, DwordBytes(dwValue));
}

void SetString(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, const CString &strValue)
{
    const BYTE *pBytes = reinterpret_cast<const BYTE *>(static_cast<const WCHAR *>(strValue));
    SetRaw(registry, pszPath, pszName, REG_SZ, { pBytes, pBytes + (strValue.GetLength() + 1) * sizeof(WCHAR) });
}

namespace
{

// The names one of the registry's enumerations lists below an open key.
std::vector<CString> Names(IRegistry &registry, HKEY hKey, bool bValues)
{
    std::vector<CString> names;
    WCHAR szName[300];
    DWORD cchName = 300, dwType;
    for (DWORD i = 0; (bValues ? registry.EnumValue(hKey, i, szName, &cchName, &dwType)
                               : registry.EnumKey(hKey, i, szName, &cchName)) == 0; i++, cchName = 300)
        names.push_back(szName);
    return names;
}

} // namespace

void DeleteTree(IRegistry &registry, const WCHAR *pszPath)
{
    HKEY hKey;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, pszPath, &hKey) != 0)
        return;
    std::vector<CString> children = Names(registry, hKey, false);
    registry.CloseKey(hKey);
    for (const CString &child : children)
        DeleteTree(registry, CString(pszPath) + TEXT("\\") + child);
    registry.DeleteKey(HKEY_LOCAL_MACHINE, pszPath);
}

static void DumpKey(IRegistry &registry, const CString &strPath, std::vector<std::string> &lines)
{
    HKEY hKey;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, strPath, &hKey) != 0)
        return;
    for (const CString &name : Names(registry, hKey, true))
    {
        BYTE data[600] = {};
        DWORD dwType = 0, cbData = sizeof(data);
        registry.QueryValue(hKey, name, &dwType, data, &cbData);
        std::string strLine = Narrow(strPath) + ": " + Narrow(name) + "=";
        if (dwType == REG_DWORD && cbData == 4)
            lines.push_back(strLine + "dword " + std::to_string(DwordOf(data)));
        else
            lines.push_back(strLine + "type " + std::to_string(dwType) + ", " + std::to_string(cbData) + " bytes");
    }
    std::vector<CString> children = Names(registry, hKey, false);
    registry.CloseKey(hKey);
    for (const CString &child : children)
        DumpKey(registry, strPath + TEXT("\\") + child, lines);
}

// Sorted: registries list in orders of their own.
std::string Dump(IRegistry &registry)
{
    std::vector<std::string> lines;
    DumpKey(registry, TEXT("Comm"), lines);
    std::sort(lines.begin(), lines.end());
    std::string strDump;
    for (const std::string &strLine : lines)
        strDump += strLine + "\n";
    return strDump;
}

std::vector<RegistryKind> AllRegistryKinds()
{
    std::vector<RegistryKind> kinds = { { "Memory", [] { return std::unique_ptr<IRegistry>(new CMemoryRegistry); } } };
#ifdef _WIN32
    kinds.push_back({ "System", [] { return std::unique_ptr<IRegistry>(new CWin32Registry); } });
#endif
    return kinds;
}

#include "RegistryHelpers.h"

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

void MakeKey(IRegistry &registry, const WCHAR *pszPath)
{
    HKEY hKey;
    ASSERT_EQ(0, registry.CreateKey(HKEY_LOCAL_MACHINE, pszPath, &hKey)) << Narrow(pszPath);
    registry.CloseKey(hKey);
}

void SetRaw(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, DWORD dwType, const std::vector<BYTE> &data)
{
    HKEY hKey;
    ASSERT_EQ(0, registry.CreateKey(HKEY_LOCAL_MACHINE, pszPath, &hKey)) << Narrow(pszPath);
    EXPECT_EQ(0, registry.SetValue(hKey, pszName, dwType, data.data(), static_cast<DWORD>(data.size())));
    registry.CloseKey(hKey);
}

void SetDword(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, DWORD dwValue)
{
    SetRaw(registry, pszPath, pszName, REG_DWORD,
        {BYTE(dwValue), BYTE(dwValue >> 8), BYTE(dwValue >> 16), BYTE(dwValue >> 24)});
}

void SetString(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, const CString &strValue, bool bTerminated)
{
    const BYTE *pBytes = reinterpret_cast<const BYTE *>(static_cast<const WCHAR *>(strValue));
    size_t cbValue = (strValue.GetLength() + (bTerminated ? 1 : 0)) * sizeof(WCHAR);
    SetRaw(registry, pszPath, pszName, REG_SZ, std::vector<BYTE>(pBytes, pBytes + cbValue));
}

bool GetRaw(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, DWORD *pdwType, std::vector<BYTE> *pData)
{
    HKEY hKey;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, pszPath, &hKey) != 0)
        return false;
    DWORD cbData = 0;
    LONG lStatus = registry.QueryValue(hKey, pszName, pdwType, nullptr, &cbData);
    if (lStatus == 0)
    {
        pData->assign(cbData + 1, 0xbd);
        lStatus = registry.QueryValue(hKey, pszName, pdwType, pData->data(), &cbData);
        pData->resize(cbData);
    }
    registry.CloseKey(hKey);
    return lStatus == 0;
}

bool KeyExists(IRegistry &registry, const WCHAR *pszPath)
{
    HKEY hKey;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, pszPath, &hKey) != 0)
        return false;
    registry.CloseKey(hKey);
    return true;
}

namespace
{

// Names listed by one of the registry's enumerations, in its order.
std::vector<std::string> Names(IRegistry &registry, const WCHAR *pszPath, bool bValues)
{
    std::vector<std::string> names;
    HKEY hKey;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, pszPath, &hKey) != 0)
        return names;
    WCHAR szName[300];
    for (DWORD i = 0;; i++)
    {
        DWORD cchName = 300, dwType;
        LONG lStatus = bValues ? registry.EnumValue(hKey, i, szName, &cchName, &dwType)
                               : registry.EnumKey(hKey, i, szName, &cchName);
        if (lStatus != 0)
            break;
        names.push_back(Narrow(szName));
    }
    registry.CloseKey(hKey);
    return names;
}

} // namespace

std::vector<std::string> SubkeyNames(IRegistry &registry, const WCHAR *pszPath)
{
    return Names(registry, pszPath, false);
}

std::vector<std::string> ValueNames(IRegistry &registry, const WCHAR *pszPath)
{
    return Names(registry, pszPath, true);
}

void DeleteTree(IRegistry &registry, const WCHAR *pszPath)
{
    HKEY hKey;
    if (registry.OpenKey(HKEY_LOCAL_MACHINE, pszPath, &hKey) != 0)
        return;
    std::vector<CString> children;
    WCHAR szName[300];
    for (DWORD i = 0;; i++)
    {
        DWORD cchName = 300;
        if (registry.EnumKey(hKey, i, szName, &cchName) != 0)
            break;
        children.push_back(szName);
    }
    registry.CloseKey(hKey);
    for (const CString &child : children)
        DeleteTree(registry, CString(pszPath) + TEXT("\\") + child);
    registry.DeleteKey(HKEY_LOCAL_MACHINE, pszPath);
}

std::string Describe(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName)
{
    DWORD dwType = 0xdeadbeef;
    std::vector<BYTE> data;
    if (!GetRaw(registry, pszPath, pszName, &dwType, &data))
        return "absent";
    if (dwType == REG_DWORD && data.size() == 4)
        return "dword " + std::to_string(data[0] | data[1] << 8 | data[2] << 16 | DWORD(data[3]) << 24);
    return "type " + std::to_string(dwType) + ", " + std::to_string(data.size()) + " bytes";
}

CString Repeat(WCHAR ch, int nCount)
{
    CString str;
    WCHAR *pBuffer = str.GetBuffer(nCount);
    for (int i = 0; i < nCount; i++)
        pBuffer[i] = ch;
    str.ReleaseBuffer(nCount);
    return str;
}

std::vector<RegistryKind> AllRegistryKinds()
{
    std::vector<RegistryKind> kinds = {
        {"Memory", [] { return std::unique_ptr<IRegistry>(new CMemoryRegistry); }},
    };
#ifdef _WIN32
    kinds.push_back({"System", [] { return std::unique_ptr<IRegistry>(new CWin32Registry); }});
#endif
    return kinds;
}

std::string RegistryKindName(const ::testing::TestParamInfo<RegistryKind> &info)
{
    return info.param.pszName;
}

void RegistryTest::SetUp()
{
    m_registry = GetParam().make();
    DeleteTree(Reg(), TEXT("Comm"));
}

void RegistryTest::TearDown()
{
    DeleteTree(Reg(), TEXT("Comm"));
}

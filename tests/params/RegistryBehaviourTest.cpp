// What the parameter store relies on from a registry, checked on the
// in-memory registry and on the system's, so that the two are seen to agree.
#include "RegistryHelpers.h"

#include <cstring>

using ::testing::ElementsAre;

namespace
{

class RegistryBehaviour : public RegistryTest
{
protected:
    HKEY Open(const WCHAR *pszPath)
    {
        HKEY hKey = nullptr;
        EXPECT_EQ(0, Reg().OpenKey(HKEY_LOCAL_MACHINE, pszPath, &hKey)) << Narrow(pszPath);
        return hKey;
    }
    // Opening asks only for reading; writes go through created handles.
    HKEY Create(const WCHAR *pszPath)
    {
        HKEY hKey = nullptr;
        EXPECT_EQ(0, Reg().CreateKey(HKEY_LOCAL_MACHINE, pszPath, &hKey)) << Narrow(pszPath);
        return hKey;
    }
};

TEST_P(RegistryBehaviour, MissingKeysAndValuesReportFileNotFound)
{
    MakeKey(Reg(), TEXT("Comm\\eth0"));
    HKEY hKey = reinterpret_cast<HKEY>(0xdeadbeef);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().OpenKey(HKEY_LOCAL_MACHINE, TEXT("Comm\\none"), &hKey));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().OpenKey(HKEY_LOCAL_MACHINE, TEXT("Comm\\none\\deeper"), &hKey));

    hKey = Create(TEXT("Comm\\eth0"));
    DWORD dwValue = 0xdeadbeef, cbValue = 4;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().QueryValue(hKey, TEXT("TcpWindowSize"), nullptr, reinterpret_cast<BYTE *>(&dwValue), &cbValue));
    EXPECT_EQ(0xdeadbeefu, dwValue);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().DeleteValue(hKey, TEXT("TcpWindowSize")));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Reg().DeleteKey(hKey, TEXT("none")));
    Reg().CloseKey(hKey);
}

TEST_P(RegistryBehaviour, ValueTooLargeForBufferIsNotCopied)
{
    SetString(Reg(), TEXT("Comm\\eth0"), TEXT("Name"), TEXT("ab"));
    HKEY hKey = Open(TEXT("Comm\\eth0"));
    BYTE data[4];
    std::memset(data, 0xbd, sizeof(data));
    DWORD cbData = 4, dwType = 0xdeadbeef;
    EXPECT_EQ(ERROR_MORE_DATA, Reg().QueryValue(hKey, TEXT("Name"), &dwType, data, &cbData));
    EXPECT_EQ(6u, cbData);
    EXPECT_EQ(DWORD(REG_SZ), dwType);
    EXPECT_EQ(0xbd, data[0]);
    Reg().CloseKey(hKey);
}

TEST_P(RegistryBehaviour, ValuesKeepTheirTypeAndBytes)
{
    SetRaw(Reg(), TEXT("Comm\\eth0"), TEXT("Three"), REG_BINARY, {1, 2, 3});
    SetRaw(Reg(), TEXT("Comm\\eth0"), TEXT("Empty"), REG_DWORD, {});
    DWORD dwType;
    std::vector<BYTE> data;
    ASSERT_TRUE(GetRaw(Reg(), TEXT("Comm\\eth0"), TEXT("Three"), &dwType, &data));
    EXPECT_EQ(DWORD(REG_BINARY), dwType);
    EXPECT_EQ((std::vector<BYTE>{1, 2, 3}), data);
    ASSERT_TRUE(GetRaw(Reg(), TEXT("Comm\\eth0"), TEXT("Empty"), &dwType, &data));
    EXPECT_EQ(DWORD(REG_DWORD), dwType);
    EXPECT_TRUE(data.empty());
}

TEST_P(RegistryBehaviour, NamesMatchWithoutLetterCaseButKeepTheirSpelling)
{
    MakeKey(Reg(), TEXT("Comm\\Ppp1\\Parms"));
    EXPECT_TRUE(KeyExists(Reg(), TEXT("COMM\\pPP1\\parms")));
    MakeKey(Reg(), TEXT("comm\\PPP1"));
    EXPECT_THAT(SubkeyNames(Reg(), TEXT("Comm")), ElementsAre("Ppp1"));

    SetDword(Reg(), TEXT("Comm\\Ppp1"), TEXT("TcpWindowSize"), 1);
    SetDword(Reg(), TEXT("Comm\\Ppp1"), TEXT("TCPWINDOWSIZE"), 2);
    EXPECT_EQ("dword 2", Describe(Reg(), TEXT("Comm\\ppp1"), TEXT("tcpwindowsize")));
    EXPECT_THAT(ValueNames(Reg(), TEXT("Comm\\Ppp1")), ElementsAre("TcpWindowSize"));
}

TEST_P(RegistryBehaviour, CreateMakesTheKeysAboveAndOpensExistingOnes)
{
    MakeKey(Reg(), TEXT("Comm\\eth0\\Parms\\TcpIp"));
    EXPECT_TRUE(KeyExists(Reg(), TEXT("Comm\\eth0")));
    EXPECT_TRUE(KeyExists(Reg(), TEXT("Comm\\eth0\\Parms")));
    SetDword(Reg(), TEXT("Comm\\eth0\\Parms\\TcpIp"), TEXT("TcpWindowSize"), 32768);
    MakeKey(Reg(), TEXT("Comm\\eth0\\Parms\\TcpIp"));
    EXPECT_EQ("dword 32768", Describe(Reg(), TEXT("Comm\\eth0\\Parms\\TcpIp"), TEXT("TcpWindowSize")));
}

TEST_P(RegistryBehaviour, SubkeysAndValuesAreListedInLowerCaseOrder)
{
    const WCHAR *names[] = {TEXT("b"), TEXT("A"), TEXT("_x"), TEXT("a1"), TEXT("Z"), TEXT("["), TEXT("`k"),
        TEXT("ppp1"), TEXT("PPP2"), TEXT("Ab"), TEXT("aB1"), TEXT("Tcpip"), TEXT("0")};
    for (const WCHAR *pszName : names)
    {
        MakeKey(Reg(), CString(TEXT("Comm\\")) + pszName);
        SetDword(Reg(), TEXT("Comm"), pszName, 1);
    }
    const std::vector<std::string> expected = {"0", "[", "_x", "`k", "A", "a1", "Ab", "aB1", "b", "ppp1", "PPP2", "Tcpip", "Z"};
    EXPECT_EQ(expected, SubkeyNames(Reg(), TEXT("Comm")));
    EXPECT_EQ(expected, ValueNames(Reg(), TEXT("Comm")));
}

TEST_P(RegistryBehaviour, EnumerationEndsWithNoMoreItemsAndNeedsRoomForTheName)
{
    MakeKey(Reg(), TEXT("Comm\\eth0"));
    HKEY hKey = Open(TEXT("Comm"));
    WCHAR szName[8];
    DWORD cchName = 4;
    EXPECT_EQ(ERROR_MORE_DATA, Reg().EnumKey(hKey, 0, szName, &cchName));
    cchName = 5;
    EXPECT_EQ(0, Reg().EnumKey(hKey, 0, szName, &cchName));
    EXPECT_EQ(4u, cchName);
    EXPECT_EQ("eth0", Narrow(szName));
    cchName = 8;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, Reg().EnumKey(hKey, 1, szName, &cchName));
    cchName = 8;
    DWORD dwType;
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, Reg().EnumValue(hKey, 0, szName, &cchName, &dwType));
    Reg().CloseKey(hKey);
}

TEST_P(RegistryBehaviour, OnlyLeafKeysCanBeDeletedAndTheirHandlesDie)
{
    MakeKey(Reg(), TEXT("Comm\\eth0\\Parms"));
    HKEY hComm = Open(TEXT("Comm"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, Reg().DeleteKey(hComm, TEXT("eth0")));

    HKEY hParms = Create(TEXT("Comm\\eth0\\Parms"));
    EXPECT_EQ(0, Reg().DeleteKey(hComm, TEXT("eth0\\Parms")));
    BYTE data[4] = {};
    EXPECT_EQ(ERROR_KEY_DELETED, Reg().SetValue(hParms, TEXT("x"), REG_DWORD, data, 4));
    EXPECT_EQ(0, Reg().CloseKey(hParms));
    EXPECT_EQ(0, Reg().DeleteKey(hComm, TEXT("eth0")));
    EXPECT_TRUE(SubkeyNames(Reg(), TEXT("Comm")).empty());
    Reg().CloseKey(hComm);
}

INSTANTIATE_ON_ALL_REGISTRIES(RegistryBehaviour);

} // namespace

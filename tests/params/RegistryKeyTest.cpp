// CRegistryKey: one key at a time, always closed, and -1 without a key.
#include "InstrumentedRegistry.h"
#include "RegistryHelpers.h"
#include "RegistryKey.h"

namespace
{

class RegistryKeyTest : public RegistryTest
{
protected:
    void SetUp() override
    {
        RegistryTest::SetUp();
        m_watch.reset(new CInstrumentedRegistry(Reg()));
    }
    void TearDown() override
    {
        EXPECT_EQ(0, m_watch->OpenHandles()) << "handles left open";
        RegistryTest::TearDown();
    }
    CInstrumentedRegistry &Watch() { return *m_watch; }

    std::unique_ptr<CInstrumentedRegistry> m_watch;
};

TEST_P(RegistryKeyTest, WithoutAKeyEveryOperationFailsWithoutCallingTheRegistry)
{
    CRegistryKey key(Watch());
    DWORD dwValue = 0xdeadbeef;
    WCHAR szName[4];
    BYTE data[4];
    DWORD dwType;
    EXPECT_EQ(-1, key.DeleteValue(TEXT("x")));
    EXPECT_EQ(-1, key.DeleteSubKey(TEXT("x")));
    EXPECT_EQ(-1, key.QueryDWordValue(TEXT("x"), &dwValue));
    EXPECT_EQ(-1, key.QueryStringValue(TEXT("x"), szName, 4));
    EXPECT_EQ(-1, key.QueryBinaryValue(TEXT("x"), data, 4));
    EXPECT_EQ(-1, key.SetDWordValue(TEXT("x"), 1));
    EXPECT_EQ(-1, key.SetStringValue(TEXT("x"), TEXT("")));
    EXPECT_EQ(-1, key.SetBinaryValue(TEXT("x"), data, 4));
    EXPECT_EQ(-1, key.EnumKey(0, szName, 4));
    EXPECT_EQ(-1, key.EnumValue(0, szName, 4, &dwType));
    key.Close();
    EXPECT_EQ(0xdeadbeefu, dwValue);
    EXPECT_EQ(0, Watch().Calls());
}

TEST_P(RegistryKeyTest, OpeningAgainClosesTheHeldKeyEvenWhenTheOpenFails)
{
    MakeKey(Reg(), TEXT("Comm\\eth0"));
    {
        CRegistryKey key(Watch());
        EXPECT_EQ(0, key.Open(HKEY_LOCAL_MACHINE, TEXT("Comm")));
        EXPECT_EQ(0, key.Create(HKEY_LOCAL_MACHINE, TEXT("Comm\\eth0")));
        EXPECT_EQ(1, Watch().OpenHandles());
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_LOCAL_MACHINE, TEXT("Comm\\none")));
        EXPECT_EQ(0, Watch().OpenHandles());
        DWORD dwValue;
        int nCalls = Watch().Calls();
        EXPECT_EQ(-1, key.QueryDWordValue(TEXT("x"), &dwValue));
        EXPECT_EQ(nCalls, Watch().Calls());
        EXPECT_EQ(0, key.Open(HKEY_LOCAL_MACHINE, TEXT("Comm")));
    }
    EXPECT_EQ(0, Watch().OpenHandles()) << "the destructor closes the key";
}

TEST_P(RegistryKeyTest, DestroyingAnEmptyKeyCallsNothing)
{
    {
        CRegistryKey key(Watch());
    }
    EXPECT_EQ(0, Watch().Calls());
}

TEST_P(RegistryKeyTest, DWordReadsTakeAnyTypeOfUpToFourBytes)
{
    SetRaw(Reg(), TEXT("Comm\\eth0"), TEXT("Binary4"), REG_BINARY, {0x78, 0x56, 0x34, 0x12});
    SetRaw(Reg(), TEXT("Comm\\eth0"), TEXT("Binary2"), REG_BINARY, {0x40, 0x00});
    SetString(Reg(), TEXT("Comm\\eth0"), TEXT("String"), TEXT("64"));
    CRegistryKey key(Watch());
    ASSERT_EQ(0, key.Open(HKEY_LOCAL_MACHINE, TEXT("Comm\\eth0")));

    DWORD dwValue = 0xdeadbeef;
    EXPECT_EQ(0, key.QueryDWordValue(TEXT("binary4"), &dwValue));
    EXPECT_EQ(0x12345678u, dwValue);
    dwValue = 0xdeadbeef;
    EXPECT_EQ(0, key.QueryDWordValue(TEXT("Binary2"), &dwValue));
    EXPECT_EQ(0x40u, dwValue) << "a short value must not keep the old upper bytes";
    dwValue = 0xdeadbeef;
    EXPECT_EQ(ERROR_MORE_DATA, key.QueryDWordValue(TEXT("String"), &dwValue));
    EXPECT_EQ(0xdeadbeefu, dwValue);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.QueryDWordValue(TEXT("Missing"), &dwValue));
    EXPECT_EQ(0xdeadbeefu, dwValue);
}

TEST_P(RegistryKeyTest, WritesStoreTheirTypesAndStringsKeepTheirTerminator)
{
    CRegistryKey key(Watch());
    ASSERT_EQ(0, key.Create(HKEY_LOCAL_MACHINE, TEXT("Comm\\eth0")));
    const BYTE bytes[] = {9, 8, 7};
    EXPECT_EQ(0, key.SetDWordValue(TEXT("Number"), 0x01020304));
    EXPECT_EQ(0, key.SetStringValue(TEXT("Empty"), TEXT("")));
    EXPECT_EQ(0, key.SetStringValue(TEXT("Name"), TEXT("ab")));
    EXPECT_EQ(0, key.SetBinaryValue(TEXT("Bytes"), bytes, 3));
    EXPECT_EQ("dword 16909060", Describe(Reg(), TEXT("Comm\\eth0"), TEXT("Number")));
    EXPECT_EQ("type 1, 2 bytes", Describe(Reg(), TEXT("Comm\\eth0"), TEXT("Empty")));
    EXPECT_EQ("type 1, 6 bytes", Describe(Reg(), TEXT("Comm\\eth0"), TEXT("Name")));
    EXPECT_EQ("type 3, 3 bytes", Describe(Reg(), TEXT("Comm\\eth0"), TEXT("Bytes")));

    WCHAR szValue[8];
    std::fill(szValue, szValue + 8, 0);
    EXPECT_EQ(0, key.QueryStringValue(TEXT("Name"), szValue, 8));
    EXPECT_EQ("ab", Narrow(szValue));
    EXPECT_EQ(ERROR_MORE_DATA, key.QueryStringValue(TEXT("Name"), szValue, 2));
    BYTE read[4] = {};
    EXPECT_EQ(0, key.QueryBinaryValue(TEXT("Bytes"), read, 4));
    EXPECT_EQ(7, read[2]);

    EXPECT_EQ(0, key.DeleteValue(TEXT("number")));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.DeleteValue(TEXT("Number")));
}

TEST_P(RegistryKeyTest, EnumeratesSubkeysAndValuesToTheEnd)
{
    MakeKey(Reg(), TEXT("Comm\\eth0"));
    MakeKey(Reg(), TEXT("Comm\\ppp1"));
    SetDword(Reg(), TEXT("Comm"), TEXT("Flag"), 1);
    CRegistryKey key(Watch());
    ASSERT_EQ(0, key.Open(HKEY_LOCAL_MACHINE, TEXT("Comm")));
    WCHAR szName[256];
    EXPECT_EQ(0, key.EnumKey(1, szName, 256));
    EXPECT_EQ("ppp1", Narrow(szName));
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, key.EnumKey(2, szName, 256));
    DWORD dwType = 0xdeadbeef;
    EXPECT_EQ(0, key.EnumValue(0, szName, 256, &dwType));
    EXPECT_EQ("Flag", Narrow(szName));
    EXPECT_EQ(DWORD(REG_DWORD), dwType);
    EXPECT_EQ(ERROR_NO_MORE_ITEMS, key.EnumValue(1, szName, 256, &dwType));

    EXPECT_EQ(0, key.DeleteSubKey(TEXT("eth0")));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.DeleteSubKey(TEXT("eth0")));
}

INSTANTIATE_ON_ALL_REGISTRIES(RegistryKeyTest);

} // namespace

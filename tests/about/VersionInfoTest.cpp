// CVersionInfo: the test program's own version block (the program's, from
// res/marlin.rc), and blocks the tests make and put into copies of a file.
#include "VersionBlock.h"
#include "VersionInfo.h"

#include <cstring>

namespace
{

const WCHAR *const kNamesOfTheProgram[] = {
    TEXT("Comments"), TEXT("FileDescription"), TEXT("FileVersion"), TEXT("InternalName"),
    TEXT("LegalCopyright"), TEXT("OriginalFilename"), TEXT("ProductName"), TEXT("ProductVersion"),
};

void ExpectEmpty(const CVersionInfo &info)
{
    EXPECT_EQ(nullptr, info.m_pFixedInfo);
    EXPECT_EQ(nullptr, info.m_pTranslations);
    EXPECT_EQ(0, info.m_nTranslations);
}

// ---- The program's own block ----

TEST(VersionInfoOwnBlock, HoldsTheProgramsValues)
{
    CVersionInfo info;
    EXPECT_EQ(CString(TEXT("Marlin")), info.QueryValue(TEXT("ProductName")));
    EXPECT_EQ(CString(TEXT("2.01")), info.QueryValue(TEXT("ProductVersion")));
    EXPECT_EQ(CString(TEXT("Tuning TCP/IP Parameters")), info.QueryValue(TEXT("FileDescription")));
    EXPECT_EQ(CString(TEXT("2.01")), info.QueryValue(TEXT("FileVersion")));
}

TEST(VersionInfoOwnBlock, HasOneTranslationUsEnglishUtf16)
{
    CVersionInfo info;
    ASSERT_EQ(1, info.m_nTranslations);
    ASSERT_NE(nullptr, info.m_pTranslations);
    EXPECT_EQ(0x04B00409u, info.m_pTranslations[0]);
    const WORD *pWords = reinterpret_cast<const WORD *>(info.m_pTranslations);
    EXPECT_EQ(0x0409, pWords[0]) << "language first";
    EXPECT_EQ(0x04B0, pWords[1]) << "code page second";
}

TEST(VersionInfoOwnBlock, FixedPartIsTheProgramsAndLiesInTheBuffer)
{
    CVersionInfo info;
    ASSERT_NE(nullptr, info.m_pData);
    ASSERT_NE(nullptr, info.m_pFixedInfo);
    const VS_FIXEDFILEINFO &fixed = *info.m_pFixedInfo;
    EXPECT_EQ(0xFEEF04BDu, fixed.dwSignature);
    EXPECT_EQ(0x00020000u, fixed.dwFileVersionMS);
    EXPECT_EQ(0x00010009u, fixed.dwFileVersionLS);
    EXPECT_EQ(0x00020000u, fixed.dwProductVersionMS);
    EXPECT_EQ(0x00010009u, fixed.dwProductVersionLS);
    EXPECT_EQ(0x3Fu, fixed.dwFileFlagsMask);
    EXPECT_EQ(0u, fixed.dwFileFlags);
    EXPECT_EQ(4u, fixed.dwFileOS);
    EXPECT_EQ(1u, fixed.dwFileType);
    EXPECT_EQ(0u, fixed.dwFileSubtype);
    EXPECT_EQ(0u, fixed.dwFileDateMS);
    EXPECT_EQ(0u, fixed.dwFileDateLS);

    const BYTE *pBegin = info.m_pData.get();
    const BYTE *pEnd = pBegin + *reinterpret_cast<const WORD *>(pBegin);  // the block's wLength
    const BYTE *pFixed = reinterpret_cast<const BYTE *>(info.m_pFixedInfo);
    const BYTE *pTranslations = reinterpret_cast<const BYTE *>(info.m_pTranslations);
    EXPECT_TRUE(pFixed > pBegin && pFixed + sizeof(VS_FIXEDFILEINFO) <= pEnd);
    EXPECT_TRUE(pTranslations > pBegin && pTranslations + 4 <= pEnd);
}

TEST(VersionInfoOwnBlock, UnknownNameGivesEmptyString)
{
    CVersionInfo info;
    EXPECT_EQ(CString(), info.QueryValue(TEXT("NoSuchName")));
    EXPECT_EQ(CString(), info.QueryValue(TEXT("")));
    EXPECT_EQ(CString(), info.QueryValue(nullptr));
    EXPECT_EQ(CString(), info.QueryValue(TEXT("Translation")));
}

TEST(VersionInfoOwnBlock, ReturnedStringsOutliveTheReader)
{
    CString strName;
    CString strDescription;
    {
        CVersionInfo info;
        strName = info.QueryValue(TEXT("ProductName"));
        strDescription = info.QueryValue(TEXT("FileDescription"));
        // Copies, not pointers into the block.
        const BYTE *pBegin = info.m_pData.get();
        const BYTE *pEnd = pBegin + *reinterpret_cast<const WORD *>(pBegin);
        const BYTE *pText = reinterpret_cast<const BYTE *>(static_cast<const WCHAR *>(strName));
        EXPECT_FALSE(pText >= pBegin && pText < pEnd);
    }
    // Reuse the freed block's memory before looking.
    CVersionInfo other;
    EXPECT_EQ(CString(TEXT("Marlin")), strName);
    EXPECT_EQ(CString(TEXT("Tuning TCP/IP Parameters")), strDescription);
}

TEST(VersionInfoOwnBlock, PathConstructorOnTheProgramReadsTheSameBlock)
{
    WCHAR szSelf[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szSelf, MAX_PATH);
    CVersionInfo own;
    CVersionInfo named(szSelf);
    ASSERT_NE(nullptr, named.m_pData);
    DWORD dwHandle = 0;
    DWORD dwSize = GetFileVersionInfoSizeW(szSelf, &dwHandle);
    ASSERT_NE(0u, dwSize);
    EXPECT_EQ(0, std::memcmp(own.m_pData.get(), named.m_pData.get(), dwSize));
    for (const WCHAR *pszName : kNamesOfTheProgram)
        EXPECT_EQ(own.QueryValue(pszName), named.QueryValue(pszName)) << Narrow(pszName);
    EXPECT_FALSE(named.QueryValue(TEXT("LegalCopyright")).IsEmpty());
}

// The serializer writes what the resource compiler writes: the block made
// from the same description as res/marlin.rc's is the program's, byte for byte.
TEST(VersionInfoOwnBlock, SerializerAgreesWithTheResourceCompiler)
{
    VersionNode root = VersionRoot({
        StringFileInfo({StringTable(L"040904b0", {
            StringValue(L"Comments", L"Tunes the TCP/IP stack of a handheld device."),
            StringValue(L"FileDescription", L"Tuning TCP/IP Parameters"),
            StringValue(L"FileVersion", L"2.01"),
            StringValue(L"InternalName", L"marlin"),
            StringValue(L"LegalCopyright", L"Copyright (C) 2026 The Marlin developers"),
            StringValue(L"OriginalFilename", L"marlin.exe"),
            StringValue(L"ProductName", L"Marlin"),
            StringValue(L"ProductVersion", L"2.01"),
        })}),
        VarFileInfo({Var(L"Translation", {0x0409, 0x04B0})}),
    });
    VS_FIXEDFILEINFO fixed = {};
    fixed.dwSignature = 0xFEEF04BD;
    fixed.dwStrucVersion = 0x00010000;
    fixed.dwFileVersionMS = fixed.dwProductVersionMS = 0x00020000;
    fixed.dwFileVersionLS = fixed.dwProductVersionLS = 0x00010009;
    fixed.dwFileFlagsMask = 0x3F;
    fixed.dwFileOS = VOS__WINDOWS32;
    fixed.dwFileType = VFT_APP;
    const BYTE *pFixed = reinterpret_cast<const BYTE *>(&fixed);
    root.value.assign(pFixed, pFixed + sizeof(fixed));
    std::vector<BYTE> made = Serialize(root);

    CVersionInfo info;
    ASSERT_NE(nullptr, info.m_pData);
    std::vector<BYTE> own(info.m_pData.get(), info.m_pData.get() + *reinterpret_cast<const WORD *>(info.m_pData.get()));
    EXPECT_EQ(own, made);
}

// ---- Blocks the tests make ----

using VersionInfoMadeBlock = VersionFileTest;

TEST_F(VersionInfoMadeBlock, MissingFileGivesEmptyReaderWithoutBuffer)
{
    CVersionInfo info(TEXT("C:\\no such directory\\no such file.exe"));
    ExpectEmpty(info);
    EXPECT_EQ(nullptr, info.m_pData);
    EXPECT_EQ(CString(), info.QueryValue(TEXT("ProductName")));
}

TEST_F(VersionInfoMadeBlock, FileWithoutVersionBlockGivesEmptyReader)
{
    std::wstring strFile = FileWithoutBlock();
    ASSERT_FALSE(strFile.empty());
    DWORD dwHandle = 0;
    ASSERT_EQ(0u, GetFileVersionInfoSizeW(strFile.c_str(), &dwHandle)) << "the copy still has a version block";

    CVersionInfo info(strFile.c_str());
    ExpectEmpty(info);
    EXPECT_EQ(nullptr, info.m_pData);
    for (const WCHAR *pszName : kNamesOfTheProgram)
        EXPECT_EQ(CString(), info.QueryValue(pszName)) << Narrow(pszName);
    EXPECT_EQ(CString(), info.QueryValue(TEXT("")));
}

TEST_F(VersionInfoMadeBlock, MadeBlockIsReadBack)
{
    std::wstring strFile = FileWithBlock(Serialize(VersionRoot({
        StringFileInfo({StringTable(L"040904B0", {StringValue(L"ProductName", L"Made")})}),
        VarFileInfo({Var(L"Translation", {0x0409, 0x04B0})}),
    })));
    ASSERT_FALSE(strFile.empty());

    CVersionInfo info(strFile.c_str());
    ASSERT_NE(nullptr, info.m_pFixedInfo);
    EXPECT_EQ(0x00010002u, info.m_pFixedInfo->dwFileVersionMS);
    EXPECT_EQ(0x00030004u, info.m_pFixedInfo->dwFileVersionLS);
    EXPECT_EQ(0x00050006u, info.m_pFixedInfo->dwProductVersionMS);
    EXPECT_EQ(0x00070008u, info.m_pFixedInfo->dwProductVersionLS);
    EXPECT_EQ(2u, info.m_pFixedInfo->dwFileType);
    ASSERT_EQ(1, info.m_nTranslations);
    EXPECT_EQ(0x04B00409u, info.m_pTranslations[0]);
    EXPECT_EQ(CString(TEXT("Made")), info.QueryValue(TEXT("ProductName")));
    EXPECT_EQ(CString(), info.QueryValue(TEXT("ProductVersion")));
}

TEST_F(VersionInfoMadeBlock, StringTableWithoutTranslationGivesNoEntries)
{
    std::vector<VersionNode> tables = {
        StringTable(L"040904B0", {StringValue(L"ProductName", L"Untranslated"), StringValue(L"FileVersion", L"9.99")}),
    };
    // Without VarFileInfo, and with a VarFileInfo that has no Translation.
    std::wstring strNoVarFileInfo = FileWithBlock(Serialize(VersionRoot({StringFileInfo(tables)})));
    std::wstring strOtherVar = FileWithBlock(Serialize(VersionRoot({
        StringFileInfo(tables),
        VarFileInfo({Var(L"NotTranslation", {0x0409, 0x04B0})}),
    })));
    ASSERT_FALSE(strNoVarFileInfo.empty());
    ASSERT_FALSE(strOtherVar.empty());

    for (const std::wstring &strFile : {strNoVarFileInfo, strOtherVar})
    {
        CVersionInfo info(strFile.c_str());
        EXPECT_NE(nullptr, info.m_pData);
        EXPECT_NE(nullptr, info.m_pFixedInfo);
        EXPECT_EQ(nullptr, info.m_pTranslations);
        EXPECT_EQ(0, info.m_nTranslations);
        EXPECT_EQ(CString(), info.QueryValue(TEXT("ProductName")));
        EXPECT_EQ(CString(), info.QueryValue(TEXT("FileVersion")));
    }
}

class VersionInfoTwoTranslations : public VersionFileTest
{
protected:
    void SetUp() override
    {
        VersionFileTest::SetUp();
        if (HasFatalFailure())
            return;
        // The tables stand in the block in another order than the
        // translations, and a third table has no translation at all.
        m_strFile = FileWithBlock(Serialize(VersionRoot({
            StringFileInfo({
                StringTable(L"040704E4", {
                    StringValue(L"ProductName", L"Second"),
                    StringValue(L"Comments", L"Only the second"),
                }),
                StringTable(L"041104B0", {
                    StringValue(L"ProductName", L"Untranslated"),
                    StringValue(L"InternalName", L"Untranslated"),
                }),
                StringTable(L"040904B0", {
                    StringValue(L"ProductName", L"First"),
                    StringValue(L"FileVersion", L"Only the first"),
                }),
            }),
            VarFileInfo({Var(L"Translation", {0x0409, 0x04B0, 0x0407, 0x04E4})}),
        })));
        ASSERT_FALSE(m_strFile.empty());
    }
    std::wstring m_strFile;
};

TEST_F(VersionInfoTwoTranslations, EntriesKeepTheirOrder)
{
    CVersionInfo info(m_strFile.c_str());
    ASSERT_EQ(2, info.m_nTranslations);
    EXPECT_EQ(0x04B00409u, info.m_pTranslations[0]);
    EXPECT_EQ(0x04E40407u, info.m_pTranslations[1]);
}

TEST_F(VersionInfoTwoTranslations, NameOnlyInSecondTableGivesSecondsValue)
{
    CVersionInfo info(m_strFile.c_str());
    EXPECT_EQ(CString(TEXT("Only the second")), info.QueryValue(TEXT("Comments")));
}

TEST_F(VersionInfoTwoTranslations, NameInBothTablesGivesFirstsValue)
{
    CVersionInfo info(m_strFile.c_str());
    EXPECT_EQ(CString(TEXT("First")), info.QueryValue(TEXT("ProductName")));
    EXPECT_EQ(CString(TEXT("Only the first")), info.QueryValue(TEXT("FileVersion")));
}

TEST_F(VersionInfoTwoTranslations, TableWithoutTranslationIsNotGuessed)
{
    CVersionInfo info(m_strFile.c_str());
    EXPECT_EQ(CString(), info.QueryValue(TEXT("InternalName")));
    EXPECT_EQ(CString(), info.QueryValue(TEXT("NoSuchName")));
}

TEST_F(VersionInfoMadeBlock, TranslationLengthOfSixGivesOneEntry)
{
    // Three words: the second entry is cut off after its language.
    std::wstring strFile = FileWithBlock(Serialize(VersionRoot({
        StringFileInfo({
            StringTable(L"040904B0", {StringValue(L"Comments", L"First")}),
            StringTable(L"040704B0", {StringValue(L"ProductName", L"Second")}),
        }),
        VarFileInfo({Var(L"Translation", {0x0409, 0x04B0, 0x0407})}),
    })));
    ASSERT_FALSE(strFile.empty());

    CVersionInfo info(strFile.c_str());
    ASSERT_EQ(1, info.m_nTranslations);
    EXPECT_EQ(0x04B00409u, info.m_pTranslations[0]);
    EXPECT_EQ(CString(TEXT("First")), info.QueryValue(TEXT("Comments")));
    EXPECT_EQ(CString(), info.QueryValue(TEXT("ProductName")));
}

TEST_F(VersionInfoMadeBlock, ShortTranslationGivesNoEntries)
{
    std::wstring strFile = FileWithBlock(Serialize(VersionRoot({
        StringFileInfo({StringTable(L"040904B0", {StringValue(L"ProductName", L"Short")})}),
        VarFileInfo({Var(L"Translation", {0x0409})}),
    })));
    ASSERT_FALSE(strFile.empty());

    CVersionInfo info(strFile.c_str());
    EXPECT_EQ(0, info.m_nTranslations);
    EXPECT_EQ(CString(), info.QueryValue(TEXT("ProductName")));
}

TEST_F(VersionInfoMadeBlock, LowerCaseTableKeyIsFoundThroughUpperCasePath)
{
    std::wstring strFile = FileWithBlock(Serialize(VersionRoot({
        StringFileInfo({StringTable(L"040904b0", {StringValue(L"ProductName", L"Lower")})}),
        VarFileInfo({Var(L"Translation", {0x0409, 0x04B0})}),
    })));
    ASSERT_FALSE(strFile.empty());

    CVersionInfo info(strFile.c_str());
    EXPECT_EQ(CString(TEXT("Lower")), info.QueryValue(TEXT("ProductName")));
    EXPECT_EQ(CString(TEXT("Lower")), info.QueryValue(TEXT("productname")));
}

TEST_F(VersionInfoMadeBlock, ValueOfZeroCharactersGivesEmptyString)
{
    // "Empty" stores no characters at all (length 0, no data, so the value
    // the platform points at is the next entry's header); "Terminator"
    // stores only its terminator.
    std::wstring strFile = FileWithBlock(Serialize(VersionRoot({
        StringFileInfo({StringTable(L"040904B0", {
            EmptyStringValue(L"Empty"),
            StringValue(L"Terminator", L""),
            StringValue(L"After", L"After"),
        })}),
        VarFileInfo({Var(L"Translation", {0x0409, 0x04B0})}),
    })));
    ASSERT_FALSE(strFile.empty());

    CVersionInfo info(strFile.c_str());
    EXPECT_EQ(CString(), info.QueryValue(TEXT("Empty")));
    EXPECT_EQ(CString(), info.QueryValue(TEXT("Terminator")));
    EXPECT_EQ(CString(TEXT("After")), info.QueryValue(TEXT("After")));
}

TEST_F(VersionInfoMadeBlock, EmptyValueInFirstTableStillWins)
{
    // The lookup succeeds for the first entry, so the second is not tried.
    std::wstring strFile = FileWithBlock(Serialize(VersionRoot({
        StringFileInfo({
            StringTable(L"040904B0", {EmptyStringValue(L"ProductName")}),
            StringTable(L"040704B0", {StringValue(L"ProductName", L"Second")}),
        }),
        VarFileInfo({Var(L"Translation", {0x0409, 0x04B0, 0x0407, 0x04B0})}),
    })));
    ASSERT_FALSE(strFile.empty());

    CVersionInfo info(strFile.c_str());
    EXPECT_EQ(CString(), info.QueryValue(TEXT("ProductName")));
}

TEST_F(VersionInfoMadeBlock, ValueWithoutTerminatorStopsAtItsLength)
{
    // A value whose stored text runs on without a zero inside its length.
    VersionNode value = StringValue(L"ProductName", L"Cut here");
    value.wValueLength = 3;
    std::wstring strFile = FileWithBlock(Serialize(VersionRoot({
        StringFileInfo({StringTable(L"040904B0", {value})}),
        VarFileInfo({Var(L"Translation", {0x0409, 0x04B0})}),
    })));
    ASSERT_FALSE(strFile.empty());

    CVersionInfo info(strFile.c_str());
    EXPECT_EQ(CString(TEXT("Cut")), info.QueryValue(TEXT("ProductName")));
}

} // namespace

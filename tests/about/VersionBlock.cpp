#include "VersionBlock.h"

#include <utility>

std::string Narrow(const WCHAR *psz)
{
    std::string str;
    for (; psz && *psz; ++psz)
        str += (*psz >= 0x20 && *psz < 0x7F) ? static_cast<char>(*psz) : '?';
    return str;
}

namespace
{

void PutWord(std::vector<BYTE> &bytes, WORD w)
{
    bytes.push_back(static_cast<BYTE>(w & 0xFF));
    bytes.push_back(static_cast<BYTE>(w >> 8));
}

void Align(std::vector<BYTE> &bytes)
{
    while (bytes.size() % 4)
        bytes.push_back(0);
}

VersionNode Parent(const std::wstring &strKey, std::vector<VersionNode> children)
{
    VersionNode node;
    node.strKey = strKey;
    node.children = std::move(children);
    return node;
}

} // namespace

std::vector<BYTE> Serialize(const VersionNode &node)
{
    std::vector<BYTE> bytes;
    PutWord(bytes, 0);  // wLength, filled in below
    PutWord(bytes, node.wValueLength);
    PutWord(bytes, node.wType);
    for (wchar_t ch : node.strKey)
        PutWord(bytes, static_cast<WORD>(ch));
    PutWord(bytes, 0);
    Align(bytes);
    bytes.insert(bytes.end(), node.value.begin(), node.value.end());
    for (const VersionNode &child : node.children)
    {
        Align(bytes);
        std::vector<BYTE> childBytes = Serialize(child);
        bytes.insert(bytes.end(), childBytes.begin(), childBytes.end());
    }
    bytes[0] = static_cast<BYTE>(bytes.size() & 0xFF);
    bytes[1] = static_cast<BYTE>(bytes.size() >> 8);
    return bytes;
}

VersionNode StringValue(const std::wstring &strKey, const std::wstring &strText)
{
    VersionNode node;
    node.strKey = strKey;
    node.wType = 1;
    for (wchar_t ch : strText)
        PutWord(node.value, static_cast<WORD>(ch));
    PutWord(node.value, 0);
    node.wValueLength = static_cast<WORD>(strText.size() + 1);
    return node;
}

VersionNode EmptyStringValue(const std::wstring &strKey)
{
    VersionNode node;
    node.strKey = strKey;
    node.wType = 1;
    node.wValueLength = 0;
    return node;
}

VersionNode StringTable(const std::wstring &strKey, std::vector<VersionNode> values)
{
    return Parent(strKey, std::move(values));
}

VersionNode StringFileInfo(std::vector<VersionNode> tables)
{
    return Parent(L"StringFileInfo", std::move(tables));
}

VersionNode Var(const std::wstring &strKey, const std::vector<WORD> &words)
{
    VersionNode node;
    node.strKey = strKey;
    node.wType = 0;
    for (WORD w : words)
        PutWord(node.value, w);
    node.wValueLength = static_cast<WORD>(node.value.size());
    return node;
}

VersionNode VarFileInfo(std::vector<VersionNode> vars)
{
    return Parent(L"VarFileInfo", std::move(vars));
}

VS_FIXEDFILEINFO MadeFixedInfo()
{
    VS_FIXEDFILEINFO info = {};
    info.dwSignature = 0xFEEF04BD;
    info.dwStrucVersion = 0x00010000;
    info.dwFileVersionMS = 0x00010002;
    info.dwFileVersionLS = 0x00030004;
    info.dwProductVersionMS = 0x00050006;
    info.dwProductVersionLS = 0x00070008;
    info.dwFileFlagsMask = 0x3F;
    info.dwFileOS = VOS__WINDOWS32;
    info.dwFileType = VFT_DLL;
    return info;
}

VersionNode VersionRoot(std::vector<VersionNode> children)
{
    VersionNode node = Parent(L"VS_VERSION_INFO", std::move(children));
    VS_FIXEDFILEINFO info = MadeFixedInfo();
    const BYTE *pInfo = reinterpret_cast<const BYTE *>(&info);
    node.wType = 0;
    node.value.assign(pInfo, pInfo + sizeof(info));
    node.wValueLength = sizeof(info);
    return node;
}

void VersionFileTest::SetUp()
{
    static int s_nDirectories = 0;
    WCHAR szTemp[MAX_PATH + 1] = {};
    ASSERT_NE(0u, GetTempPathW(MAX_PATH + 1, szTemp));
    std::wstring strDirectory = std::wstring(szTemp) + L"marlin-about-" + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(++s_nDirectories);
    ASSERT_TRUE(CreateDirectoryW(strDirectory.c_str(), nullptr)) << "error " << GetLastError();
    m_strDirectory = strDirectory;
}

void VersionFileTest::TearDown()
{
    for (const std::wstring &strFile : m_files)
    {
        EXPECT_TRUE(DeleteFileW(strFile.c_str())) << Narrow(strFile.c_str()) << ": error " << GetLastError();
    }
    if (!m_strDirectory.empty())
    {
        EXPECT_TRUE(RemoveDirectoryW(m_strDirectory.c_str())) << "error " << GetLastError();
    }
}

std::wstring VersionFileTest::FileWithBlock(const std::vector<BYTE> &block)
{
    return WriteFile(&block);
}

std::wstring VersionFileTest::FileWithoutBlock()
{
    return WriteFile(nullptr);
}

std::wstring VersionFileTest::WriteFile(const std::vector<BYTE> *pBlock)
{
    WCHAR szSelf[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szSelf, MAX_PATH);
    std::wstring strFile = m_strDirectory + L"\\block" + std::to_wstring(m_files.size() + 1) + L".exe";
    if (!CopyFileW(szSelf, strFile.c_str(), TRUE))
    {
        ADD_FAILURE() << "CopyFileW: error " << GetLastError();
        return std::wstring();
    }
    m_files.push_back(strFile);

    HANDLE hUpdate = BeginUpdateResourceW(strFile.c_str(), TRUE);
    if (!hUpdate)
    {
        ADD_FAILURE() << "BeginUpdateResourceW: error " << GetLastError();
        return std::wstring();
    }
    if (pBlock &&
        !UpdateResourceW(hUpdate, RT_VERSION, MAKEINTRESOURCEW(1), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                         const_cast<BYTE *>(pBlock->data()), static_cast<DWORD>(pBlock->size())))
    {
        ADD_FAILURE() << "UpdateResourceW: error " << GetLastError();
        EndUpdateResourceW(hUpdate, TRUE);
        return std::wstring();
    }
    if (!EndUpdateResourceW(hUpdate, FALSE))
    {
        ADD_FAILURE() << "EndUpdateResourceW: error " << GetLastError();
        return std::wstring();
    }
    return strFile;
}

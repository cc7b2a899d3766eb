// Writing and reading registry trees in tests, through the registry seam so
// that the same test runs on the in-memory and on the system registry.
#pragma once

#include "Registry.h"
#include "String.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

std::string Narrow(const WCHAR *psz);
inline void PrintTo(const CString &str, std::ostream *os) { *os << '"' << Narrow(str) << '"'; }

// Keys and values under HKEY_LOCAL_MACHINE; paths such as TEXT("Comm\\ppp1").
void MakeKey(IRegistry &registry, const WCHAR *pszPath);
void SetRaw(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, DWORD dwType, const std::vector<BYTE> &data);
void SetDword(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, DWORD dwValue);
// With bTerminated false the string is stored without its terminating zero.
void SetString(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, const CString &strValue, bool bTerminated = true);
// The value's type and bytes; false when the key or the value is missing.
bool GetRaw(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, DWORD *pdwType, std::vector<BYTE> *pData);
bool KeyExists(IRegistry &registry, const WCHAR *pszPath);
std::vector<std::string> SubkeyNames(IRegistry &registry, const WCHAR *pszPath);
std::vector<std::string> ValueNames(IRegistry &registry, const WCHAR *pszPath);
// Removes the key and everything below it; a missing key is fine.
void DeleteTree(IRegistry &registry, const WCHAR *pszPath);

// Text of a value as the test reads it: "dword 64", "absent", "type 3, 2 bytes".
std::string Describe(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName);

CString Repeat(WCHAR ch, int nCount);

// The registries every shared suite runs on. Each test gets a fresh one; the
// system registry is reached under the same paths, so its Comm tree is
// removed before and after each test.
struct RegistryKind
{
    const char *pszName;
    std::function<std::unique_ptr<IRegistry>()> make;
};
std::vector<RegistryKind> AllRegistryKinds();
inline void PrintTo(const RegistryKind &kind, std::ostream *os) { *os << kind.pszName; }

class RegistryTest : public ::testing::TestWithParam<RegistryKind>
{
protected:
    void SetUp() override;
    void TearDown() override;
    std::unique_ptr<IRegistry> m_registry;
    IRegistry &Reg() { return *m_registry; }
};

std::string RegistryKindName(const ::testing::TestParamInfo<RegistryKind> &info);

#define INSTANTIATE_ON_ALL_REGISTRIES(suite) \
    INSTANTIATE_TEST_SUITE_P(, suite, ::testing::ValuesIn(AllRegistryKinds()), RegistryKindName)

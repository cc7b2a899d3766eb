// Registry trees for the store's tests, written and read through the
// registry seam, so that one test runs on the in-memory registry and, under
// Wine, on the system registry as well.
#pragma once

#include "RegValue.h"
#include "String.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

std::string Narrow(const WCHAR *psz);

// Keys and values under HKEY_LOCAL_MACHINE, such as TEXT("Comm\\ppp1").
void MakeKey(IRegistry &registry, const WCHAR *pszPath);
void SetRaw(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, DWORD dwType, std::vector<BYTE> data);
void SetDword(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, DWORD dwValue);
void SetString(IRegistry &registry, const WCHAR *pszPath, const WCHAR *pszName, const CString &strValue);
void DeleteTree(IRegistry &registry, const WCHAR *pszPath);
// Every value below Comm, a sorted line each, such as
// "Comm\ppp1\Parms\TcpIp: TcpWindowSize=dword 32120".
std::string Dump(IRegistry &registry);

// Each test gets a fresh registry of each kind; the system registry's Comm
// is removed before and after, and by Clear() between a table's cases.
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
    void SetUp() override { m_registry = GetParam().make(), Clear(); }
    void TearDown() override { Clear(); }
    void Clear() { DeleteTree(Reg(), TEXT("Comm")); }
    IRegistry &Reg() { return *m_registry; }
    std::unique_ptr<IRegistry> m_registry;
};

#define INSTANTIATE_ON_ALL_REGISTRIES(suite)                                 \
    INSTANTIATE_TEST_SUITE_P(, suite, ::testing::ValuesIn(AllRegistryKinds()), \
                             [](const ::testing::TestParamInfo<RegistryKind> &info) { return info.param.pszName; })

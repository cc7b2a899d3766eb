// The memory registry answers as the system's does where the store and the
// registry files depend on it: the same table of calls runs on both, under
// Wine, and each call's status is compared.
#include "RegistryHelpers.h"

#include <sstream>

namespace
{

typedef std::vector<LONG> Statuses;

// Opened for reading; created (or opened) for writing too.
HKEY Open(IRegistry &registry, const WCHAR *pszPath, Statuses &statuses, bool bWrite = false)
{
    HKEY hKey = nullptr;
    statuses.push_back(bWrite ? registry.CreateKey(HKEY_LOCAL_MACHINE, pszPath, &hKey)
                              : registry.OpenKey(HKEY_LOCAL_MACHINE, pszPath, &hKey));
    return hKey;
}

LONG Query(IRegistry &registry, HKEY hKey, const WCHAR *pszName, DWORD cbRoom = 4)
{
    BYTE data[8] = {};
    DWORD dwType = 0;
    return registry.QueryValue(hKey, pszName, &dwType, data, &cbRoom);
}

LONG SetOne(IRegistry &registry, HKEY hKey, const WCHAR *pszName)
{
    return registry.SetValue(hKey, pszName, REG_DWORD, DwordBytes(1).data(), 4);
}

LONG FirstSubkey(IRegistry &registry, HKEY hKey, std::string *pstrName = nullptr)
{
    WCHAR szName[64] = {};
    DWORD cchName = 64;
    LONG lStatus = registry.EnumKey(hKey, 0, szName, &cchName);
    if (pstrName)
        *pstrName = Narrow(szName);
    return lStatus;
}

struct HandleCase
{
    const char *pszName;
    std::function<Statuses(IRegistry &)> run;
    Statuses expected;
};

class Handles : public RegistryTest
{
};

TEST_P(Handles, AnswerAsTheSystemRegistryDoes)
{
    const HandleCase cases[] = {
        { "create makes the keys above, which are found in any case", [](IRegistry &r) {
              HKEY hKey = nullptr;
              Statuses s = { r.CreateKey(HKEY_LOCAL_MACHINE, TEXT("Comm\\a\\b"), &hKey), r.CloseKey(hKey) };
              r.CloseKey(Open(r, TEXT("COMM\\A"), s));
              Open(r, TEXT("Comm\\none"), s);
              return s; }, { 0, 0, 0, ERROR_FILE_NOT_FOUND } },
        { "a handle to a deleted key", [](IRegistry &r) {
              SetDword(r, TEXT("Comm\\a"), TEXT("v"), 1);
              Statuses s;
              HKEY hKey = Open(r, TEXT("Comm\\a"), s, true);
              s.push_back(r.DeleteKey(HKEY_LOCAL_MACHINE, TEXT("Comm\\a")));
              s.insert(s.end(), { Query(r, hKey, TEXT("v")), SetOne(r, hKey, TEXT("v")), FirstSubkey(r, hKey),
                                  r.FlushKey(hKey), r.CloseKey(hKey) });
              return s; }, { 0, 0, ERROR_KEY_DELETED, ERROR_KEY_DELETED, ERROR_KEY_DELETED, ERROR_KEY_DELETED, 0 } },
        { "a key with subkeys is not deleted", [](IRegistry &r) {
              MakeKey(r, TEXT("Comm\\a\\b"));
              Statuses s = { r.DeleteKey(HKEY_LOCAL_MACHINE, TEXT("Comm\\a")) };
              r.CloseKey(Open(r, TEXT("Comm\\a\\b"), s));
              return s; }, { ERROR_ACCESS_DENIED, 0 } },
        { "a closed handle", [](IRegistry &r) {
              MakeKey(r, TEXT("Comm\\a"));
              Statuses s;
              HKEY hKey = Open(r, TEXT("Comm\\a"), s);
              s.insert(s.end(), { r.CloseKey(hKey), Query(r, hKey, TEXT("v")), r.CloseKey(hKey) });
              return s; }, { 0, 0, ERROR_INVALID_HANDLE, ERROR_INVALID_HANDLE } },
        { "values: missing, too large, case", [](IRegistry &r) {
              SetRaw(r, TEXT("Comm\\a"), TEXT("Big"), REG_BINARY, { 1, 2, 3, 4, 5 });
              Statuses s;
              HKEY hKey = Open(r, TEXT("Comm\\a"), s, true);
              s.insert(s.end(), { Query(r, hKey, TEXT("none")), Query(r, hKey, TEXT("big")), Query(r, hKey, TEXT("BIG"), 8),
                                  r.DeleteValue(hKey, TEXT("none")), r.DeleteValue(hKey, TEXT("bIG")),
                                  Query(r, hKey, TEXT("Big"), 8), r.CloseKey(hKey) });
              return s; }, { 0, ERROR_FILE_NOT_FOUND, ERROR_MORE_DATA, 0, ERROR_FILE_NOT_FOUND, 0, ERROR_FILE_NOT_FOUND, 0 } },
        { "subkeys listed in lower-case order, as written", [](IRegistry &r) {
              MakeKey(r, TEXT("Comm\\a\\a"));
              MakeKey(r, TEXT("Comm\\a\\_X"));
              Statuses s;
              HKEY hKey = Open(r, TEXT("Comm\\a"), s);
              std::string strFirst;
              s.push_back(FirstSubkey(r, hKey, &strFirst));
              s.push_back(strFirst == "_X");   // "_" comes after "A", before "a"
              r.CloseKey(hKey);
              return s; }, { 0, 0, true } },
        { "letters beyond ASCII in either case; the Kelvin sign and U+0130 are not k and i", [](IRegistry &r) {
              SetDword(r, TEXT("Comm\\\u00C4"), TEXT("\u00C9t\u00E9"), 1);
              Statuses s;
              HKEY hKey = Open(r, TEXT("Comm\\\u00E4"), s, true);
              s.insert(s.end(), { Query(r, hKey, TEXT("\u00E9T\u00C9")), SetOne(r, hKey, TEXT("\u212A")), SetOne(r, hKey, TEXT("\u0130")),
                                  Query(r, hKey, TEXT("k")), Query(r, hKey, TEXT("i")), r.CloseKey(hKey) });
              return s; }, { 0, 0, 0, 0, ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND, 0 } },
    };
    for (const HandleCase &test : cases)
    {
        Clear();
        EXPECT_EQ(test.expected, test.run(Reg())) << test.pszName;
    }
}

INSTANTIATE_ON_ALL_REGISTRIES(Handles);

} // namespace

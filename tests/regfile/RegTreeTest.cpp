// The tree a registry file or a registry is read into: which trees compare
// equal (the gate a rewritten file must pass), and reading one from a
// registry, long names and failures included.
#include "InstrumentedRegistry.h"
#include "RegTree.h"
#include "RegistryHelpers.h"

#include <algorithm>

namespace
{

const DWORD GONE = 0xdeadbeef;   // the value, or without a name the key, deleted

struct Entry { const WCHAR *pszPath, *pszName = nullptr; DWORD dwType = 0; BYTE b = 0; };

void Apply(const std::vector<Entry> &entries, CRegTree *pTree)
{
    for (const Entry &e : entries)
        if (e.dwType == GONE && !e.pszName)
            pTree->Delete(e.pszPath);
        else if (e.dwType == GONE)
            pTree->Create(e.pszPath)->DeleteValue(e.pszName);
        else if (e.pszName)
            pTree->Create(e.pszPath)->SetValue(e.pszName, { e.dwType, { e.b } });
        else
            pTree->Create(e.pszPath);
}

TEST(RegTree, TreesAreEqualOnlyWithTheSameKeysAndValuesAllTheWayDown)
{
    const Entry V = { TEXT("a\\b\\c"), TEXT("v"), REG_DWORD, 1 }, W = { TEXT("a\\b"), TEXT("w"), REG_SZ, 2 },
                D = { TEXT("a\\d") }, X = { TEXT("e"), TEXT("x"), REG_BINARY, 3 };
    const struct { const char *pszWhat; std::vector<Entry> entries; bool bEqual; } ROWS[] = {
        { "built in another order", {}, true },
        { "a value set again alike", { V }, true },
        { "a value's type three down", { { V.pszPath, V.pszName, REG_BINARY, 1 } }, false },
        { "a value's data three down", { { V.pszPath, V.pszName, REG_DWORD, 9 } }, false },
        { "a value's data two down", { { W.pszPath, W.pszName, REG_SZ, 9 } }, false },
        { "a value's name three down", { { V.pszPath, V.pszName, GONE }, { V.pszPath, TEXT("u"), REG_DWORD, 1 } }, false },
        { "a value's name spelled otherwise", { { V.pszPath, V.pszName, GONE }, { V.pszPath, TEXT("V"), REG_DWORD, 1 } }, false },
        { "a value more three down", { { V.pszPath, TEXT("z"), REG_DWORD, 1 } }, false },
        { "a subkey more three down", { { TEXT("a\\b\\c\\f") } }, false },
        { "a subkey fewer two down", { { D.pszPath, nullptr, GONE } }, false },
        { "another subkey two down", { { D.pszPath, nullptr, GONE }, { TEXT("a\\f") } }, false },
        { "a subkey spelled otherwise", { { D.pszPath, nullptr, GONE }, { TEXT("a\\D") } }, false },
    };
    for (const auto &row : ROWS)
    {
        CRegTree base, other;
        Apply({ V, W, D, X }, &base);
        Apply({ X, D, W, V }, &other);
        Apply(row.entries, &other);
        EXPECT_EQ(row.bEqual, base == other) << row.pszWhat;
        EXPECT_EQ(row.bEqual, other == base) << row.pszWhat;
    }
}

class ReadFrom : public RegistryTest {};

TEST_P(ReadFrom, ReadsEveryValueWholeAndNamesOfAnyLength)
{
    // The platform's longest key name; the memory registry's have no limit.
    const size_t cchKey = std::string(GetParam().pszName) == "System" ? 255 : 1000;
    const WString strKey = TEXT("Comm\\") + WString(cchKey, 'k'), str300(300, 'n'), strLongest(16383, 'm');
    const struct { WString strPath, strName; DWORD dwType; std::vector<BYTE> data; } VALUES[] = {
        { TEXT("Comm"), TEXT("top"), REG_DWORD, { 1, 0, 0, 0 } },
        { TEXT("Comm\\a\\b\\c"), TEXT("deep"), REG_BINARY, { 0xbd, 0xbd } },
        { TEXT("Comm\\a\\b\\c"), TEXT(""), REG_SZ, { 'x', 0, 0, 0 } },
        { TEXT("Comm\\a"), str300, REG_MULTI_SZ, { 0, 0 } },
        { TEXT("Comm\\a"), strLongest, REG_NONE, {} },
        { strKey, TEXT("in a long key"), REG_DWORD, { 2, 0, 0, 0 } },
    };
    for (const auto &value : VALUES)
        SetRaw(Reg(), value.strPath.c_str(), value.strName.c_str(), value.dwType, value.data);
    CRegTree tree;
    ASSERT_TRUE(tree.ReadFrom(Reg(), TEXT("Comm")));
    for (const auto &value : VALUES)
    {
        RegValue read = { 0xdeadbeef, {} };
        tree.Get(value.strPath, value.strName, &read);
        EXPECT_EQ(std::make_pair(value.dwType, value.data), std::make_pair(read.dwType, read.data)) << value.strName.size() << " characters";
    }
    EXPECT_EQ(2u, tree.Find(TEXT("Comm\\a")) ? tree.Find(TEXT("Comm\\a"))->values.size() : 0u) << "values read once";
    CRegTree none;
    EXPECT_TRUE(none.ReadFrom(Reg(), TEXT("Comm\\none")) && !none.Find(TEXT("Comm")));
}

TEST_P(ReadFrom, FailsWhenACallFailsPartWay)
{
    SetDword(Reg(), TEXT("Comm\\a"), TEXT("v"), 1);
    SetDword(Reg(), TEXT("Comm\\a"), TEXT("w"), 2);
    MakeKey(Reg(), TEXT("Comm\\a\\b"));
    MakeKey(Reg(), TEXT("Comm\\a\\c"));
    const struct { const char *pszCall; LONG lStatus; bool bRead; } FAULTS[] = {
        { "EnumValue 1", ERROR_ACCESS_DENIED, false },
        { "EnumKey 1", ERROR_KEY_DELETED, false },
        { "QueryValue w", ERROR_MORE_DATA, false },
        { "OpenKey Comm\\a\\c", ERROR_ACCESS_DENIED, false },
        { "OpenKey Comm\\a\\c", ERROR_FILE_NOT_FOUND, true },   // deleted meanwhile
        { "EnumValue 0", ERROR_MORE_DATA, true },                // more room, then read
        { "EnumKey 0", ERROR_NO_MORE_ITEMS, true },
    };
    CInstrumentedRegistry watched(Reg());
    ASSERT_TRUE(CRegTree().ReadFrom(watched, TEXT("Comm")));
    for (const auto &fault : FAULTS)
    {
        auto it = std::find(watched.Trace().begin(), watched.Trace().end(), fault.pszCall);
        ASSERT_NE(watched.Trace().end(), it) << fault.pszCall;
        CInstrumentedRegistry failing(Reg());
        failing.FailCall(static_cast<int>(it - watched.Trace().begin()), fault.lStatus);
        EXPECT_EQ(fault.bRead, CRegTree().ReadFrom(failing, TEXT("Comm"))) << fault.pszCall << " " << fault.lStatus;
        EXPECT_EQ(0, failing.OpenHandles()) << fault.pszCall;
    }
}

INSTANTIATE_ON_ALL_REGISTRIES(ReadFrom);

} // namespace

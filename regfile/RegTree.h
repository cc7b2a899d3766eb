// Keys and values under HKEY_LOCAL_MACHINE, held in memory: what a registry
// file leaves when imported, or a copy of part of a registry. Names are
// matched without regard to letter case and kept as first written,
// as the registry keeps them.
#pragma once

#include "RegValue.h"

#include <memory>
#include <vector>

class CRegTree
{
public:
    CRegTree() = default;
    CRegTree(const CRegTree &other) { Copy(other.m_root, &m_root); }
    CRegTree(CRegTree &&other) = default;
    CRegTree &operator=(CRegTree &&other) = default;

    struct Key
    {
        WString name;
        // Both in the platform's order of names.
        std::vector<std::unique_ptr<Key>> subkeys;
        std::vector<std::pair<WString, RegValue>> values;   // name, value

        Key *Subkey(const WString &strName) const;
        const RegValue *Value(const WString &strName) const;
        void SetValue(const WString &strName, const RegValue &value);
        void DeleteValue(const WString &strName);
        // The same values and subkeys, names spelled alike.
        bool operator==(const Key &other) const;
    };

    Key *Find(const WString &strPath) const;
    // The path with the spelling of the keys the tree has already.
    WString Spelled(const WString &strPath) const;
    // The key, and any missing key above it.
    Key *Create(const WString &strPath);
    void Delete(const WString &strPath);
    bool Get(const WString &strPath, const WString &strName, RegValue *pValue) const;

    // The registry's key and everything below it, added to the tree; nothing
    // when there is no such key. False when a key, a value or a list of them
    // cannot be read: the tree then holds part of it.
    bool ReadFrom(IRegistry &registry, const WString &strPath);
    // Every key and value into the registry, in order.
    bool WriteTo(IRegistry &registry) const;

    bool operator==(const CRegTree &other) const { return m_root == other.m_root; }

    // The platform's limit; it also bounds the tree's depth.
    static const size_t MAX_KEY_DEPTH = 512;

private:
    bool ReadKey(IRegistry &registry, const WString &strPath, std::vector<WCHAR> *pRoom);
    static void Copy(const Key &from, Key *pTo);

    Key m_root;
};

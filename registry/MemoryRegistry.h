// CMemoryRegistry: a registry held in memory that answers like the
// platform's where the store and the registry files depend on it: the same statuses,
// names matched without regard to letter case but kept as written,
// subkeys and values listed in the platform's order, values kept as typed
// raw bytes, missing keys above a created one made on the way. Only
// HKEY_LOCAL_MACHINE is predefined.
#pragma once

#include "Registry.h"
#include "String.h"

#include <memory>
#include <vector>

class CMemoryRegistry : public IRegistry
{
public:
    CMemoryRegistry();
    ~CMemoryRegistry() override;
    CMemoryRegistry(const CMemoryRegistry &) = delete;
    CMemoryRegistry &operator=(const CMemoryRegistry &) = delete;

    LONG OpenKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey) override;
    LONG CreateKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey) override;
    LONG CloseKey(HKEY hKey) override;
    LONG DeleteKey(HKEY hKey, const WCHAR *pszName) override;
    LONG DeleteValue(HKEY hKey, const WCHAR *pszName) override;
    LONG QueryValue(HKEY hKey, const WCHAR *pszName, DWORD *pdwType, BYTE *pData, DWORD *pcbData) override;
    LONG SetValue(HKEY hKey, const WCHAR *pszName, DWORD dwType, const BYTE *pData, DWORD cbData) override;
    LONG EnumKey(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName) override;
    LONG EnumValue(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName, DWORD *pdwType) override;
    LONG FlushKey(HKEY hKey) override;

    // Handles handed out and not yet closed.
    int OpenHandles() const;

private:
    typedef WString Name;
    struct Value
    {
        Name name;
        DWORD dwType;
        std::vector<BYTE> data;
    };
    struct Key
    {
        Name name;
        bool bDeleted = false;
        std::vector<std::shared_ptr<Key>> subkeys; // in enumeration order
        std::vector<Value> values;                 // in enumeration order
    };

    LONG Resolve(HKEY hKey, std::shared_ptr<Key> *pKey) const;
    // The key, where dwIndex names one of its values (or subkeys).
    LONG ResolveItem(HKEY hKey, DWORD dwIndex, bool bValue, std::shared_ptr<Key> *pKey) const;
    // The key's value of that name, at *pnSlot among its values.
    LONG FindValue(HKEY hKey, const WCHAR *pszName, std::shared_ptr<Key> *pKey, size_t *pnSlot) const;
    LONG Walk(HKEY hParent, const WCHAR *pszPath, bool bCreate, std::shared_ptr<Key> *pKey);
    HKEY NewHandle(const std::shared_ptr<Key> &key);

    std::shared_ptr<Key> m_root;
    // Handle n is in slot (n - 0x100) / 4; a closed one's slot is empty.
    std::vector<std::shared_ptr<Key>> m_handles;
};

#include "MemoryRegistry.h"

#include "Names.h"

#include <cstring>

namespace
{

const uintptr_t FIRST_HANDLE = 0x100;

const auto KeyName = [](const auto &key) -> const WString & { return key->name; };
const auto ValueName = [](const auto &value) -> const WString & { return value.name; };

WString NameOf(const WCHAR *psz)
{
    return psz ? WString(psz) : WString();
}

LONG CopyName(const WString &name, WCHAR *pszName, DWORD *pcchName)
{
    if (name.size() >= *pcchName)
        return ERROR_MORE_DATA;
    std::copy(name.begin(), name.end(), pszName);
    pszName[name.size()] = 0;
    *pcchName = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

} // namespace

CMemoryRegistry::CMemoryRegistry() : m_root(std::shared_ptr<Key>(new Key))
{
}

CMemoryRegistry::~CMemoryRegistry() = default;

LONG CMemoryRegistry::Resolve(HKEY hKey, std::shared_ptr<Key> *pKey) const
{
    if (hKey == HKEY_LOCAL_MACHINE)
    {
        *pKey = m_root;
        return ERROR_SUCCESS;
    }
    uintptr_t nHandle = reinterpret_cast<uintptr_t>(hKey);
    size_t nSlot = (nHandle - FIRST_HANDLE) / 4;
    if (nHandle < FIRST_HANDLE || nHandle % 4 || nSlot >= m_handles.size() || !m_handles[nSlot])
        return ERROR_INVALID_HANDLE;
    if (m_handles[nSlot]->bDeleted)
        return ERROR_KEY_DELETED;
    *pKey = m_handles[nSlot];
    return ERROR_SUCCESS;
}

// Takes the path's names one by one where they stand, without splitting it
// into a list first as the registry files' tree does: every open of a load
// comes through here, and the list cost Load 6 to 8 %.
LONG CMemoryRegistry::Walk(HKEY hParent, const WCHAR *pszPath, bool bCreate, std::shared_ptr<Key> *pKey)
{
    std::shared_ptr<Key> key;
    LONG lStatus = Resolve(hParent, &key);
    if (lStatus != ERROR_SUCCESS)
        return lStatus;
    WString path = NameOf(pszPath);
    size_t nStart = 0;
    while (nStart <= path.size())
    {
        size_t nEnd = path.find('\\', nStart);
        if (nEnd == path.npos)
            nEnd = path.size();
        WString component = path.substr(nStart, nEnd - nStart);
        nStart = nEnd + 1;
        if (component.empty())
            continue;
        size_t nSlot = FindSlot(key->subkeys, component, KeyName);
        if (!Found(key->subkeys, nSlot, component, KeyName))
        {
            if (!bCreate)
                return ERROR_FILE_NOT_FOUND;
            auto child = std::shared_ptr<Key>(new Key);
            child->name = component;
            key->subkeys.insert(key->subkeys.begin() + nSlot, child);
        }
        key = key->subkeys[nSlot];
    }
    *pKey = key;
    return ERROR_SUCCESS;
}

HKEY CMemoryRegistry::NewHandle(const std::shared_ptr<Key> &key)
{
    m_handles.push_back(key);
    return reinterpret_cast<HKEY>(FIRST_HANDLE + 4 * (m_handles.size() - 1));
}

LONG CMemoryRegistry::OpenKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey)
{
    std::shared_ptr<Key> key;
    LONG lStatus = Walk(hParent, pszPath, false, &key);
    if (lStatus == ERROR_SUCCESS)
        *phKey = NewHandle(key);
    return lStatus;
}

LONG CMemoryRegistry::CreateKey(HKEY hParent, const WCHAR *pszPath, HKEY *phKey)
{
    std::shared_ptr<Key> key;
    LONG lStatus = Walk(hParent, pszPath, true, &key);
    if (lStatus == ERROR_SUCCESS)
        *phKey = NewHandle(key);
    return lStatus;
}

LONG CMemoryRegistry::CloseKey(HKEY hKey)
{
    if (hKey == HKEY_LOCAL_MACHINE)
        return ERROR_SUCCESS;
    std::shared_ptr<Key> key;
    LONG lStatus = Resolve(hKey, &key);
    if (lStatus == ERROR_INVALID_HANDLE)
        return lStatus;
    m_handles[(reinterpret_cast<uintptr_t>(hKey) - FIRST_HANDLE) / 4].reset();
    // Like the platform, a closed handle's value may come back later.
    while (!m_handles.empty() && !m_handles.back())
        m_handles.pop_back();
    return ERROR_SUCCESS;
}

LONG CMemoryRegistry::DeleteKey(HKEY hKey, const WCHAR *pszName)
{
    WString path = NameOf(pszName);
    size_t nLast = path.rfind('\\');
    WString parentPath = nLast == path.npos ? WString() : path.substr(0, nLast);
    WString name = nLast == path.npos ? path : path.substr(nLast + 1);
    if (name.empty())
        return ERROR_INVALID_PARAMETER;
    std::shared_ptr<Key> parent;
    LONG lStatus = Walk(hKey, parentPath.c_str(), false, &parent);
    if (lStatus != ERROR_SUCCESS)
        return lStatus;
    size_t nSlot = FindSlot(parent->subkeys, name, KeyName);
    if (!Found(parent->subkeys, nSlot, name, KeyName))
        return ERROR_FILE_NOT_FOUND;
    if (!parent->subkeys[nSlot]->subkeys.empty())
        return ERROR_ACCESS_DENIED;
    parent->subkeys[nSlot]->bDeleted = true; // handles still open on it now fail
    parent->subkeys.erase(parent->subkeys.begin() + nSlot);
    return ERROR_SUCCESS;
}

LONG CMemoryRegistry::FindValue(HKEY hKey, const WCHAR *pszName, std::shared_ptr<Key> *pKey, size_t *pnSlot) const
{
    LONG lStatus = Resolve(hKey, pKey);
    if (lStatus != ERROR_SUCCESS)
        return lStatus;
    WString name = NameOf(pszName);
    *pnSlot = FindSlot((*pKey)->values, name, ValueName);
    return Found((*pKey)->values, *pnSlot, name, ValueName) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LONG CMemoryRegistry::DeleteValue(HKEY hKey, const WCHAR *pszName)
{
    std::shared_ptr<Key> key;
    size_t nSlot = 0;
    LONG lStatus = FindValue(hKey, pszName, &key, &nSlot);
    if (lStatus == ERROR_SUCCESS)
        key->values.erase(key->values.begin() + nSlot);
    return lStatus;
}

LONG CMemoryRegistry::QueryValue(HKEY hKey, const WCHAR *pszName, DWORD *pdwType, BYTE *pData, DWORD *pcbData)
{
    std::shared_ptr<Key> key;
    size_t nSlot = 0;
    LONG lStatus = FindValue(hKey, pszName, &key, &nSlot);
    if (lStatus != ERROR_SUCCESS)
        return lStatus;
    const Value &value = key->values[nSlot];
    if (pdwType)
        *pdwType = value.dwType;
    DWORD cbValue = static_cast<DWORD>(value.data.size());
    DWORD cbRoom = pcbData ? *pcbData : 0;
    if (pcbData)
        *pcbData = cbValue;
    if (!pData)
        return ERROR_SUCCESS;
    // Like the platform, a value that does not fit is not copied at all.
    if (cbValue > cbRoom)
        return ERROR_MORE_DATA;
    if (cbValue)
        std::memcpy(pData, value.data.data(), cbValue);
    return ERROR_SUCCESS;
}

LONG CMemoryRegistry::SetValue(HKEY hKey, const WCHAR *pszName, DWORD dwType, const BYTE *pData, DWORD cbData)
{
    std::shared_ptr<Key> key;
    LONG lStatus = Resolve(hKey, &key);
    if (lStatus != ERROR_SUCCESS)
        return lStatus;
    if (!pData && cbData)
        return ERROR_INVALID_PARAMETER;
    WString name = NameOf(pszName);
    size_t nSlot = FindSlot(key->values, name, ValueName);
    if (!Found(key->values, nSlot, name, ValueName))
        key->values.insert(key->values.begin() + nSlot, Value{name, 0, {}});
    Value &value = key->values[nSlot];
    value.dwType = dwType;
    value.data.assign(pData, pData + cbData);
    return ERROR_SUCCESS;
}

LONG CMemoryRegistry::ResolveItem(HKEY hKey, DWORD dwIndex, bool bValue, std::shared_ptr<Key> *pKey) const
{
    LONG lStatus = Resolve(hKey, pKey);
    if (lStatus == ERROR_SUCCESS && dwIndex >= (bValue ? (*pKey)->values.size() : (*pKey)->subkeys.size()))
        return ERROR_NO_MORE_ITEMS;
    return lStatus;
}

LONG CMemoryRegistry::EnumKey(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName)
{
    std::shared_ptr<Key> key;
    LONG lStatus = ResolveItem(hKey, dwIndex, false, &key);
    return lStatus != ERROR_SUCCESS ? lStatus : CopyName(key->subkeys[dwIndex]->name, pszName, pcchName);
}

LONG CMemoryRegistry::EnumValue(HKEY hKey, DWORD dwIndex, WCHAR *pszName, DWORD *pcchName, DWORD *pdwType)
{
    std::shared_ptr<Key> key;
    LONG lStatus = ResolveItem(hKey, dwIndex, true, &key);
    if (lStatus != ERROR_SUCCESS)
        return lStatus;
    const Value &value = key->values[dwIndex];
    if (pdwType)
        *pdwType = value.dwType;
    return CopyName(value.name, pszName, pcchName);
}

int CMemoryRegistry::OpenHandles() const
{
    return static_cast<int>(std::count_if(m_handles.begin(), m_handles.end(), [](const auto &key) { return key != nullptr; }));
}

// Memory needs no flush; a handle that the platform would refuse is refused.
LONG CMemoryRegistry::FlushKey(HKEY hKey)
{
    std::shared_ptr<Key> key;
    return Resolve(hKey, &key);
}

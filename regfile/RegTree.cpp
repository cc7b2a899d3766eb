#include "RegTree.h"

#include "Names.h"
#include "RegText.h"

namespace
{

// Past the platform's 16,383 characters of a value name, for names a
// registry file made.
const size_t MAX_NAME_ROOM = 1 << 20;

const auto SubkeyName = [](const std::unique_ptr<CRegTree::Key> &key) -> const WString & { return key->name; };
const auto ValueName = [](const std::pair<WString, RegValue> &value) -> const WString & { return value.first; };

bool WriteKey(IRegistry &registry, const CRegTree::Key &key, const WString &strPath)
{
    bool bAll = true;
    HKEY hKey = nullptr;
    if (!strPath.empty())
    {
        if (registry.CreateKey(HKEY_LOCAL_MACHINE, strPath.c_str(), &hKey) != ERROR_SUCCESS)
            return false;
        for (const auto &value : key.values)
            bAll &= registry.SetValue(hKey, value.first.c_str(), value.second.dwType, value.second.data.data(),
                                      static_cast<DWORD>(value.second.data.size())) == ERROR_SUCCESS;
        registry.CloseKey(hKey);
    }
    for (const auto &subkey : key.subkeys)
        bAll &= WriteKey(registry, *subkey, (strPath.empty() ? WString() : strPath + TEXT("\\")) + subkey->name);
    return bAll;
}

// The name of a key's value (bValue) or subkey number i, however long: the
// platform does not tell a name's length, so the room doubles until it fits.
LONG NameAt(IRegistry &registry, HKEY hKey, DWORD i, bool bValue, std::vector<WCHAR> *pRoom, WString *pstrName)
{
    for (;;)
    {
        DWORD cchName = static_cast<DWORD>(pRoom->size()), dwType = 0;
        LONG lStatus = bValue ? registry.EnumValue(hKey, i, pRoom->data(), &cchName, &dwType)
                              : registry.EnumKey(hKey, i, pRoom->data(), &cchName);
        if (lStatus == ERROR_SUCCESS)
            pstrName->assign(pRoom->data(), cchName);
        if (lStatus != ERROR_MORE_DATA || pRoom->size() >= MAX_NAME_ROOM)
            return lStatus;
        pRoom->resize(pRoom->size() * 2);
    }
}

} // namespace

CRegTree::Key *CRegTree::Key::Subkey(const WString &strName) const
{
    size_t nSlot = FindSlot(subkeys, strName, SubkeyName);
    return Found(subkeys, nSlot, strName, SubkeyName) ? subkeys[nSlot].get() : nullptr;
}

const RegValue *CRegTree::Key::Value(const WString &strName) const
{
    size_t nSlot = FindSlot(values, strName, ValueName);
    return Found(values, nSlot, strName, ValueName) ? &values[nSlot].second : nullptr;
}

void CRegTree::Key::SetValue(const WString &strName, const RegValue &value)
{
    size_t nSlot = FindSlot(values, strName, ValueName);
    if (Found(values, nSlot, strName, ValueName))
        values[nSlot].second = value;
    else
        values.insert(values.begin() + nSlot, { strName, value });
}

void CRegTree::Key::DeleteValue(const WString &strName)
{
    size_t nSlot = FindSlot(values, strName, ValueName);
    if (Found(values, nSlot, strName, ValueName))
        values.erase(values.begin() + nSlot);
}

CRegTree::Key *CRegTree::Find(const WString &strPath) const
{
    const Key *pKey = &m_root;
    for (const WString &name : Components(strPath))
        if (!(pKey = pKey->Subkey(name)))
            return nullptr;
    return const_cast<Key *>(pKey);
}

WString CRegTree::Spelled(const WString &strPath) const
{
    WString strSpelled;
    const Key *pKey = &m_root;
    for (const WString &name : Components(strPath))
    {
        pKey = pKey ? pKey->Subkey(name) : nullptr;
        strSpelled += (strSpelled.empty() ? WString() : TEXT("\\")) + (pKey ? pKey->name : name);
    }
    return strSpelled;
}

CRegTree::Key *CRegTree::Create(const WString &strPath)
{
    Key *pKey = &m_root;
    for (const WString &name : Components(strPath))
    {
        size_t nSlot = FindSlot(pKey->subkeys, name, SubkeyName);
        if (!Found(pKey->subkeys, nSlot, name, SubkeyName))
        {
            pKey->subkeys.insert(pKey->subkeys.begin() + nSlot, std::unique_ptr<Key>(new Key));
            pKey->subkeys[nSlot]->name = name;
        }
        pKey = pKey->subkeys[nSlot].get();
    }
    return pKey;
}

void CRegTree::Delete(const WString &strPath)
{
    std::vector<WString> components = Components(strPath);
    if (components.empty())
        return;
    WString strName = components.back();
    components.pop_back();
    Key *pKey = &m_root;
    for (const WString &name : components)
        if (!(pKey = pKey->Subkey(name)))
            return;
    size_t nSlot = FindSlot(pKey->subkeys, strName, SubkeyName);
    if (Found(pKey->subkeys, nSlot, strName, SubkeyName))
        pKey->subkeys.erase(pKey->subkeys.begin() + nSlot);
}

bool CRegTree::Get(const WString &strPath, const WString &strName, RegValue *pValue) const
{
    const Key *pKey = Find(strPath);
    const RegValue *pFound = pKey ? pKey->Value(strName) : nullptr;
    if (pFound)
        *pValue = *pFound;
    return pFound != nullptr;
}

bool CRegTree::ReadFrom(IRegistry &registry, const WString &strPath)
{
    std::vector<WCHAR> room(256);
    return ReadKey(registry, strPath, &room);
}

bool CRegTree::ReadKey(IRegistry &registry, const WString &strPath, std::vector<WCHAR> *pRoom)
{
    HKEY hKey = nullptr;
    LONG lStatus = registry.OpenKey(HKEY_LOCAL_MACHINE, strPath.c_str(), &hKey);
    if (lStatus != ERROR_SUCCESS)
        return lStatus == ERROR_FILE_NOT_FOUND;
    Key *pKey = Create(strPath);
    WString strName;
    RegValue value;
    // Ends on ERROR_NO_MORE_ITEMS once every value is read.
    for (DWORD i = 0; (lStatus = NameAt(registry, hKey, i, true, pRoom, &strName)) == ERROR_SUCCESS &&
                      ReadValue(registry, hKey, strName.c_str(), &value); i++)
        pKey->SetValue(strName, value);
    std::vector<WString> children;
    if (lStatus == ERROR_NO_MORE_ITEMS)
        for (DWORD i = 0; (lStatus = NameAt(registry, hKey, i, false, pRoom, &strName)) == ERROR_SUCCESS; i++)
            children.push_back(strName);
    registry.CloseKey(hKey);
    if (lStatus != ERROR_NO_MORE_ITEMS)
        return false;
    if (Components(strPath).size() < MAX_KEY_DEPTH)
        for (const WString &child : children)
            if (!ReadKey(registry, strPath + TEXT("\\") + child, pRoom))
                return false;
    return true;
}

bool CRegTree::WriteTo(IRegistry &registry) const
{
    return WriteKey(registry, m_root, WString());
}

void CRegTree::Copy(const Key &from, Key *pTo)
{
    pTo->name = from.name;
    pTo->values = from.values;
    for (const auto &subkey : from.subkeys)
    {
        pTo->subkeys.emplace_back(new Key);
        Copy(*subkey, pTo->subkeys.back().get());
    }
}

bool CRegTree::Key::operator==(const Key &other) const
{
    if (name != other.name || values != other.values || subkeys.size() != other.subkeys.size())
        return false;
    for (size_t i = 0; i < subkeys.size(); i++)
        if (!(*subkeys[i] == *other.subkeys[i]))
            return false;
    return true;
}

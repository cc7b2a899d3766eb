#include "RegValue.h"

std::vector<BYTE> DwordBytes(DWORD dwValue)
{
    return { BYTE(dwValue), BYTE(dwValue >> 8), BYTE(dwValue >> 16), BYTE(dwValue >> 24) };
}

DWORD DwordOf(const BYTE *pBytes)
{
    return pBytes[0] | pBytes[1] << 8 | pBytes[2] << 16 | DWORD(pBytes[3]) << 24;
}

RegValue DwordValue(DWORD dwValue)
{
    return { REG_DWORD, DwordBytes(dwValue) };
}

void AppendUtf16(const WString &str, std::vector<BYTE> *pData)
{
    for (WCHAR ch : str)
        pData->insert(pData->end(), { BYTE(ch), BYTE(ch >> 8) });
}

bool ReadValue(IRegistry &registry, HKEY hKey, const WCHAR *pszName, RegValue *pValue)
{
    DWORD cbData = 0;
    if (registry.QueryValue(hKey, pszName, &pValue->dwType, nullptr, &cbData) != ERROR_SUCCESS)
        return false;
    pValue->data.resize(cbData);
    if (registry.QueryValue(hKey, pszName, &pValue->dwType, pValue->data.data(), &cbData) != ERROR_SUCCESS)
        return false;
    pValue->data.resize(cbData);
    return true;
}

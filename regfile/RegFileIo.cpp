#include "RegFileIo.h"

#include "String.h"

bool ReadFileBytes(const WCHAR *pszPath, std::vector<BYTE> *pBytes)
{
    HANDLE hFile = CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    bool bRead = GetFileSizeEx(hFile, &size) && size.QuadPart < 0x40000000;
    DWORD cbRead = 0;
    if (bRead)
    {
        pBytes->resize(static_cast<size_t>(size.QuadPart));
        bRead = ReadFile(hFile, pBytes->data(), static_cast<DWORD>(pBytes->size()), &cbRead, nullptr) &&
                cbRead == pBytes->size();
    }
    else
        SetLastError(ERROR_FILE_TOO_LARGE);
    DWORD dwError = GetLastError();
    CloseHandle(hFile);
    SetLastError(dwError);
    return bRead;
}

static bool WriteAll(const WCHAR *pszPath, DWORD dwDisposition, const std::vector<BYTE> &bytes)
{
    HANDLE hFile = CreateFileW(pszPath, GENERIC_WRITE, 0, nullptr, dwDisposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    DWORD cbWritten = 0;
    bool bWritten = WriteFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &cbWritten, nullptr) &&
                    cbWritten == bytes.size() && FlushFileBuffers(hFile);
    DWORD dwError = GetLastError();
    CloseHandle(hFile);
    if (!bWritten)
        DeleteFileW(pszPath);
    SetLastError(dwError);
    return bWritten;
}

bool WriteNewFile(const WCHAR *pszPath, const std::vector<BYTE> &bytes)
{
    return WriteAll(pszPath, CREATE_NEW, bytes);
}

bool ReplaceFileBytes(const WCHAR *pszPath, const std::vector<BYTE> &bytes)
{
    DWORD dwAttributes = GetFileAttributesW(pszPath);
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY))
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    CString strTemporary = CString(pszPath) + L".marlin-new";
    if (!WriteAll(strTemporary, CREATE_ALWAYS, bytes))
        return false;
    if (MoveFileExW(strTemporary, pszPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DWORD dwError = GetLastError();
    DeleteFileW(strTemporary);
    SetLastError(dwError);
    return false;
}

bool CProcessVariables::Lookup(const WString &strName, WString *pstrValue) const
{
    SetLastError(ERROR_SUCCESS);
    DWORD cchValue = GetEnvironmentVariableW(strName.c_str(), nullptr, 0);
    if (cchValue == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return false;
    pstrValue->resize(cchValue);
    pstrValue->resize(cchValue ? GetEnvironmentVariableW(strName.c_str(), &(*pstrValue)[0], cchValue) : 0);
    return true;
}

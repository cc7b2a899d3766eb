#include "ProgramPath.h"

CString ProgramPath()
{
    CString strPath;
    WCHAR *pszBuffer = strPath.GetBuffer(MAX_PATH);
    DWORD cchPath = GetModuleFileNameW(nullptr, pszBuffer, MAX_PATH);
    strPath.ReleaseBuffer(cchPath < MAX_PATH ? static_cast<int>(cchPath) : 0);
    return strPath;
}

const WCHAR *FileNameOf(const WCHAR *pszPath)
{
    const WCHAR *pszName = pszPath;
    for (const WCHAR *psz = pszPath; *psz; psz++)
        if (*psz == L'\\' || *psz == L'/' || *psz == L':')
            pszName = psz + 1;
    return pszName;
}

CString ProgramFolder()
{
    CString strPath = ProgramPath();
    int cchFolder = static_cast<int>(FileNameOf(strPath) - static_cast<const WCHAR *>(strPath));
    strPath.ReleaseBuffer(cchFolder);
    return strPath;
}

CString ProgramBaseName()
{
    CString strName = FileNameOf(ProgramPath());
    if (const WCHAR *pszDot = wcsrchr(strName, L'.'))
        strName.ReleaseBuffer(static_cast<int>(pszDot - static_cast<const WCHAR *>(strName)));
    return strName;
}

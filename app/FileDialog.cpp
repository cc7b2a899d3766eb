#include "FileDialog.h"

#include "ResourceString.h"
#include "SystemLibrary.h"

#include <commdlg.h>

namespace
{

bool Choose(HWND hOwner, bool bSave, UINT nIDFilter, const WCHAR *pszFolder, CString *pstrPath, DWORD *pnType)
{
    WString strFilter = static_cast<const WCHAR *>(LoadResourceString(nIDFilter));
    for (WCHAR &ch : strFilter)
        ch = ch == L'|' ? L'\0' : ch;
    WCHAR szFile[MAX_PATH] = {};
    lstrcpynW(szFile, *pstrPath, MAX_PATH);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = hOwner;
    dialog.lpstrFilter = strFilter.c_str();
    dialog.nFilterIndex = pnType ? *pnType : 1;
    dialog.lpstrFile = szFile;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = pszFolder && *pszFolder ? pszFolder : nullptr;
    dialog.lpstrDefExt = L"reg";
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   (bSave ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    auto pfnChoose = SystemFunction<decltype(GetOpenFileNameW)>(L"comdlg32.dll", bSave ? "GetSaveFileNameW" : "GetOpenFileNameW");
    if (!pfnChoose || !pfnChoose(&dialog))
        return false;
    *pstrPath = szFile;
    if (pnType)
        *pnType = dialog.nFilterIndex;
    return true;
}

} // namespace

bool ChooseFileToOpen(HWND hOwner, UINT nIDFilter, const WCHAR *pszFolder, CString *pstrPath)
{
    return Choose(hOwner, false, nIDFilter, pszFolder, pstrPath, nullptr);
}

bool ChooseFileToSave(HWND hOwner, UINT nIDFilter, CString *pstrPath, DWORD *pnType)
{
    return Choose(hOwner, true, nIDFilter, nullptr, pstrPath, pnType);
}

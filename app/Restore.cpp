// Settings, "Restore Backup...": a backup (or any registry file of the
// device's settings) read into the sheet as "Reset" reads the registry, over
// what the registry holds now. OK then writes it by the usual rules.
#include "MarlinProp.h"

#include "FormatText.h"
#include "MemoryRegistry.h"
#include "RegFile.h"
#include "RegFileIo.h"
#include "ResourceString.h"
#include "SystemLibrary.h"
#include "ManagedSettings.h"
#include "TcpipKeys.h"
#include "resource.h"

#include <commdlg.h>


void CMarlinProp::OnRestoreBackup()
{
    // The filter's parts are separated by '|' in the string table.
    WString strFilter = static_cast<const WCHAR *>(LoadResourceString(IDS_RESTORE_FILTER));
    for (WCHAR &ch : strFilter)
        ch = ch == L'|' ? L'\0' : ch;
    CString strFolder = m_pDevice->GetBackupFolder();
    WCHAR szFile[MAX_PATH] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = m_hWnd;
    dialog.lpstrFilter = strFilter.c_str();
    dialog.lpstrFile = szFile;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = strFolder.IsEmpty() ? nullptr : static_cast<const WCHAR *>(strFolder);
    dialog.lpstrDefExt = L"reg";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    auto pfnGetOpenFileName = SystemFunction<decltype(GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!pfnGetOpenFileName || !pfnGetOpenFileName(&dialog))
        return;

    std::vector<BYTE> bytes;
    CRegFile file;
    if (!ReadFileBytes(szFile, &bytes) || !file.Parse(bytes, CProcessVariables()) || !file.OnlyMachineKeys())
    {
        ShowMessage(FileRefusal(szFile, file), MB_OK | MB_ICONSTOP);
        return;
    }

    // The file over what the registry holds now, so that what it does not
    // mention (names, other adapters) stays.
    CRegTree tree;
    tree.ReadFrom(*m_pRegistry, TcpipKeys::COMM);
    file.ApplyTo(tree);
    CMemoryRegistry restored;
    tree.WriteTo(restored);
    CTcpParams params;
    params.Load(restored);
    std::vector<RegSetting> settings = ManagedSettings(restored, params);
    if (!file.DefinesNeededNames(TcpipKeys::COMM, settings))
    {
        ShowMessage(FileRefusal(szFile, file), MB_OK | MB_ICONSTOP);
        return;
    }
    if (!file.Mentions(settings))
    {
        ShowMessage(FormatResource(IDS_RESTORE_NOTHING, { szFile }), MB_OK | MB_ICONSTOP);
        return;
    }
    theParams.Load(restored);
    RefreshPages();
}

// Settings, "Restore Backup...": a backup (or any registry file of the
// device's settings) read into the sheet as "Reset" reads the registry, over
// what the registry holds now. OK then writes it by the usual rules.
#include "MarlinProp.h"

#include "FileDialog.h"
#include "FormatText.h"
#include "MemoryRegistry.h"
#include "RegFile.h"
#include "RegFileIo.h"
#include "ResourceString.h"
#include "ManagedSettings.h"
#include "TcpipKeys.h"
#include "resource.h"


void CMarlinProp::OnRestoreBackup()
{
    CString strFile;
    if (!ChooseFileToOpen(m_hWnd, IDS_RESTORE_FILTER, m_pDevice->GetBackupFolder(), &strFile))
        return;
    const WCHAR *szFile = strFile;

    std::vector<BYTE> bytes;
    CRegFile file;
    FileError refusal;
    if (!ReadFileBytes(szFile, &bytes) || !file.Parse(bytes, CProcessVariables()) ||
        (refusal = file.ForeignKey()).code != FILE_OK)
    {
        ShowMessage(FileRefusal(szFile, refusal.code != FILE_OK ? refusal : file.Error()), MB_OK | MB_ICONSTOP);
        return;
    }

    // The file over what the registry holds now, so that what it does not
    // mention (names, other adapters) stays.
    CRegTree tree;
    if (!tree.ReadFrom(*m_pRegistry, TcpipKeys::COMM))
    {
        ShowMessage(IDS_RESTORE_UNREAD, MB_OK | MB_ICONSTOP);
        return;
    }
    file.ApplyTo(tree);
    CMemoryRegistry restored;
    tree.WriteTo(restored);
    CTcpParams params;
    params.Load(restored);
    std::vector<RegSetting> settings = ManagedSettings(restored, params);
    if ((refusal = file.UnknownNeed(TcpipKeys::COMM, settings)).code != FILE_OK)
    {
        ShowMessage(FileRefusal(szFile, refusal), MB_OK | MB_ICONSTOP);
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

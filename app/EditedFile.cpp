#include "EditedFile.h"

#include "FormatText.h"
#include "RegFileIo.h"
#include "ResourceString.h"
#include "ManagedSettings.h"
#include "resource.h"

bool CEditedFile::Open(const WCHAR *pszPath)
{
    m_strPath = pszPath;
    std::vector<BYTE> bytes;
    if (!ReadFileBytes(pszPath, &bytes))
        return false;
    if (!m_file.Parse(bytes))
        return false;
    return m_file.Tree().WriteTo(m_registry);
}

bool CEditedFile::Write(const CTcpParams &params)
{
    std::vector<BYTE> bytes = m_file.Rewrite(ManagedSettings(m_registry, params));
    return ReplaceFileBytes(m_strPath, bytes) && m_file.Parse(bytes);
}

CString FileRefusal(const WCHAR *pszPath, const CRegFile &file)
{
    if (file.GetError() == CRegFile::ERROR_NONE)
        return FormatResource(IDS_FILE_UNREADABLE, { pszPath });
    return FormatResource(IDS_FILE_NOT_REGISTRY, { pszPath, DecimalText(file.GetErrorLine()),
                                                   LoadResourceString(IDS_REGFILE_ERROR_BASE + file.GetError()) });
}

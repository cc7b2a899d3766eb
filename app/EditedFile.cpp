#include "EditedFile.h"

#include "RegFileIo.h"
#include "TcpParams.h"

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

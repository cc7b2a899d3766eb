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

namespace
{

// Why a file was refused, in the user's words.
const struct
{
    CRegFile::Error error;
    UINT nText;
} REFUSALS[] = {
    { CRegFile::ERROR_NO_HEADER, IDS_REGFILE_NO_HEADER },
    { CRegFile::ERROR_NOT_TEXT, IDS_REGFILE_NOT_TEXT },
    { CRegFile::ERROR_BAD_KEY, IDS_REGFILE_BAD_KEY },
    { CRegFile::ERROR_VALUE_OUTSIDE_KEY, IDS_REGFILE_VALUE_OUTSIDE_KEY },
    { CRegFile::ERROR_NOT_AN_ENTRY, IDS_REGFILE_NOT_AN_ENTRY },
    { CRegFile::ERROR_UNTERMINATED_STRING, IDS_REGFILE_UNTERMINATED_STRING },
    { CRegFile::ERROR_BAD_NUMBER, IDS_REGFILE_BAD_NUMBER },
    { CRegFile::ERROR_TRUNCATED_CONTINUATION, IDS_REGFILE_TRUNCATED_CONTINUATION },
    { CRegFile::ERROR_NOT_MACHINE, IDS_REGFILE_NOT_MACHINE },
};
static_assert(ARRAYSIZE(REFUSALS) == CRegFile::ERROR_COUNT - 1, "a text for every error");

UINT RefusalText(CRegFile::Error error)
{
    for (const auto &refusal : REFUSALS)
        if (refusal.error == error)
            return refusal.nText;
    return 0;
}

} // namespace

CString FileRefusal(const WCHAR *pszPath, const CRegFile &file)
{
    if (file.GetError() == CRegFile::ERROR_NONE)
        return FormatResource(IDS_FILE_UNREADABLE, { pszPath });
    return FormatResource(IDS_FILE_NOT_REGISTRY, { pszPath, DecimalText(file.GetErrorLine()),
                                                   LoadResourceString(RefusalText(file.GetError())) });
}

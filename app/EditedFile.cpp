#include "EditedFile.h"

#include "FormatText.h"
#include "RegFileIo.h"
#include "ResourceString.h"
#include "ManagedSettings.h"
#include "ProgramPath.h"
#include "RegistryKey.h"
#include "TcpipKeys.h"
#include "resource.h"

bool CEditedFile::Open(const WCHAR *pszPath)
{
    m_strPath = pszPath;
    std::vector<BYTE> bytes;
    m_refusal = FileError();
    if (!ReadFileBytes(pszPath, &bytes))
        return false;
    if (!m_file.Parse(bytes, m_variables))
        return m_refusal = m_file.Error(), false;
    if (!m_file.Tree().WriteTo(m_registry))
        return false;
    // The lines that give the sheet its keys and values must say what they set.
    CTcpParams params;
    params.Load(m_registry);
    m_refusal = m_file.UnknownNeed(TcpipKeys::COMM, ManagedSettings(m_registry, params));
    return m_refusal.code == FILE_OK;
}

void CEditedFile::OpenUntitled()
{
    CRegistryKey key(m_registry);
    key.Create(HKEY_LOCAL_MACHINE, CString(TcpipKeys::COMM) + TcpipKeys::SEPARATOR + TcpipKeys::PPP_ADAPTER +
                                       TcpipKeys::ADAPTER_PARMS);
}

CString CEditedFile::Title() const
{
    return IsUntitled() ? LoadResourceString(IDS_UNTITLED) : CString(FileNameOf(m_strPath));
}

std::unique_ptr<CEditedFile> CEditedFile::SaveAs(const WCHAR *pszPath, Dialect dialect, CTcpParams &params,
                                                 CString *pstrFailure)
{
    std::vector<RegSetting> settings = SavedSettings(params);
    std::vector<BYTE> bytes = CRegFile::Format(settings, dialect);
    // The file must give a device exactly the settings, and nothing it was
    // not meant to; only then does it replace what the user chose to replace.
    auto pSaved = std::make_unique<CEditedFile>();
    pSaved->m_strPath = pszPath;
    bool bReadBack = pSaved->m_file.Parse(bytes, pSaved->m_variables) && pSaved->m_file.Tree().WriteTo(pSaved->m_registry);
    if (bReadBack)
    {
        std::vector<RegSetting> readBack = ManagedSettings(pSaved->m_registry, params);
        for (size_t i = 0; i < settings.size() && bReadBack; i++)
            bReadBack = readBack[i].bPresent == settings[i].bPresent && readBack[i].value == settings[i].value;
    }
    if (bReadBack && ReplaceFileBytes(pszPath, bytes))
        return pSaved;
    DWORD dwError = bReadBack ? GetLastError() : ERROR_INVALID_DATA;
    *pstrFailure = FormatResource(IDS_SAVE_AS_FAILED, { pszPath, SystemMessage(dwError) });
    return nullptr;
}

bool CEditedFile::Write(const CTcpParams &params, CString *pstrFailure)
{
    // Source control leaves a file that is not checked out read-only: it is
    // told apart, so that the user learns to check it out.
    DWORD dwAttributes = GetFileAttributesW(m_strPath);
    std::vector<BYTE> bytes;
    RewriteFailure failure = REWRITE_DONE;
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY))
        *pstrFailure = FormatResource(IDS_FILE_READ_ONLY, { m_strPath });
    else if (!m_file.Rewrite(ManagedSettings(m_registry, params), &bytes, &failure))
        *pstrFailure = FormatResource(failure == REWRITE_NO_LINE    ? IDS_FILE_NO_LINE
                                      : failure == REWRITE_ENCODING ? IDS_FILE_ENCODING
                                                                    : IDS_FILE_NOT_READ_BACK,
                                      { m_strPath });
    else if (!ReplaceFileBytes(m_strPath, bytes))
        *pstrFailure = FormatResource(IDS_FILE_WRITE_FAILED, { m_strPath, SystemMessage(GetLastError()) });
    else
        return m_file.Parse(bytes, m_variables);
    return false;
}

namespace
{

// Why a file was refused, in the user's words.
const struct
{
    FileErrorCode error;
    UINT nText;
} REFUSALS[] = {
    { FILE_NO_HEADER, IDS_REGFILE_NO_HEADER },
    { FILE_NOT_TEXT, IDS_REGFILE_NOT_TEXT },
    { FILE_BAD_KEY, IDS_REGFILE_BAD_KEY },
    { FILE_VALUE_OUTSIDE_KEY, IDS_REGFILE_VALUE_OUTSIDE_KEY },
    { FILE_NOT_AN_ENTRY, IDS_REGFILE_NOT_AN_ENTRY },
    { FILE_UNTERMINATED_STRING, IDS_REGFILE_UNTERMINATED_STRING },
    { FILE_BAD_NUMBER, IDS_REGFILE_BAD_NUMBER },
    { FILE_TRUNCATED_CONTINUATION, IDS_REGFILE_TRUNCATED_CONTINUATION },
    { FILE_NOT_MACHINE, IDS_REGFILE_NOT_MACHINE },
    { FILE_UTF8_BOM, IDS_REGFILE_UTF8_BOM },
    { FILE_BAD_ESCAPE, IDS_REGFILE_BAD_ESCAPE },
    { FILE_BROKEN_CONTINUATION, IDS_REGFILE_BROKEN_CONTINUATION },
    { FILE_BAD_STRING_BYTES, IDS_REGFILE_BAD_STRING_BYTES },
    { FILE_UNCLOSED_IF, IDS_REGFILE_UNCLOSED_IF },
    { FILE_UNMATCHED_CONDITION, IDS_REGFILE_UNMATCHED_CONDITION },
    { FILE_UNDEFINED_NAME, IDS_REGFILE_UNDEFINED_NAME },
    { FILE_BUILD_ERROR, IDS_REGFILE_BUILD_ERROR },
    { FILE_OPAQUE_VALUE, IDS_REGFILE_OPAQUE_VALUE },
};
static_assert(ARRAYSIZE(REFUSALS) == FILE_ERROR_COUNT - 1, "a text for every error");

UINT RefusalText(FileErrorCode error)
{
    for (const auto &refusal : REFUSALS)
        if (refusal.error == error)
            return refusal.nText;
    return 0;
}

} // namespace

CString FileRefusal(const WCHAR *pszPath, const FileError &error)
{
    if (error.code == FILE_OK)
        return FormatResource(IDS_FILE_UNREADABLE, { pszPath });
    CString strWhy = FormatResource(RefusalText(error.code), { error.strText.c_str() });
    return FormatResource(IDS_FILE_NOT_REGISTRY, { pszPath, DecimalText(error.nLine), strWhy });
}

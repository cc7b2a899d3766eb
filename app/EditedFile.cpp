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
    if (!ReadFileBytes(pszPath, &bytes) || !m_file.Parse(bytes, m_variables) || !m_file.Tree().WriteTo(m_registry))
        return false;
    // The lines that give the sheet its keys and values must say what they set.
    CTcpParams params;
    params.Load(m_registry);
    return m_file.DefinesNeededNames(TcpipKeys::COMM, ManagedSettings(m_registry, params));
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

std::unique_ptr<CEditedFile> CEditedFile::SaveAs(const WCHAR *pszPath, CRegFile::Dialect dialect, CTcpParams &params,
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
    if (dwAttributes != INVALID_FILE_ATTRIBUTES && (dwAttributes & FILE_ATTRIBUTE_READONLY))
        *pstrFailure = FormatResource(IDS_FILE_READ_ONLY, { m_strPath });
    else if (!m_file.Rewrite(ManagedSettings(m_registry, params), &bytes))
        *pstrFailure = FormatResource(IDS_FILE_NOT_READ_BACK, { m_strPath });
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
    { CRegFile::ERROR_UTF8_BOM, IDS_REGFILE_UTF8_BOM },
    { CRegFile::ERROR_BAD_ESCAPE, IDS_REGFILE_BAD_ESCAPE },
    { CRegFile::ERROR_BROKEN_CONTINUATION, IDS_REGFILE_BROKEN_CONTINUATION },
    { CRegFile::ERROR_BAD_STRING_BYTES, IDS_REGFILE_BAD_STRING_BYTES },
    { CRegFile::ERROR_UNCLOSED_IF, IDS_REGFILE_UNCLOSED_IF },
    { CRegFile::ERROR_UNMATCHED_CONDITION, IDS_REGFILE_UNMATCHED_CONDITION },
    { CRegFile::ERROR_UNDEFINED_NAME, IDS_REGFILE_UNDEFINED_NAME },
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

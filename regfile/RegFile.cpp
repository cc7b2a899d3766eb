#include "RegFile.h"

#include "DocumentWriter.h"

namespace
{

class CNoVariables : public IBuildVariables
{
public:
    bool Lookup(const WString &, WString *) const override { return false; }
};

} // namespace

bool CRegFile::Parse(const std::vector<BYTE> &bytes)
{
    return Parse(bytes, CNoVariables());
}

bool CRegFile::Parse(const std::vector<BYTE> &bytes, const IBuildVariables &variables)
{
    m_file = FileAsRead();
    if (!ReadDocument(bytes, &m_file.document, &m_error) ||
        !ResolveBuild(m_file.document, variables, &m_file.resolution, &m_error) ||
        !ReadEntries(m_file.document, m_file.resolution, &m_file.entries, &m_error))
        return false;
    ApplyEntries(m_file.entries, &m_file.tree);
    return true;
}

int CRegFile::DecidingLine(const WString &strPath, const WString &strName) const
{
    RegSetting setting;
    setting.strPath = strPath;
    setting.strName = strName;
    const Entry *pEntry = DecidingEntry(m_file.entries, setting);
    return pEntry ? pEntry->nFirst + 1 : 0;
}

bool CRegFile::Rewrite(const std::vector<RegSetting> &settings, std::vector<BYTE> *pBytes, RewriteFailure *pFailure) const
{
    RewriteFailure failure = REWRITE_DONE;
    EditPlan plan;
    ByteString strOut;
    if ((failure = PlanEdits(m_file, settings, &plan)) == REWRITE_DONE && !WriteDocument(m_file, plan, &strOut))
        failure = REWRITE_ENCODING;
    if (failure == REWRITE_DONE)
    {
        // Checked before anyone writes it: the file must read back, under
        // the same answers and in the same encoding, as this one with the
        // settings applied, and nothing else. An image's file that loses
        // its last byte foreign to UTF-8 would read every kept line anew.
        CRegTree expected(m_file.tree);
        for (const RegSetting &setting : settings)
            if (setting.bPresent)
                expected.Create(setting.strPath)->SetValue(setting.strName, setting.value);
            else if (CRegTree::Key *pKey = expected.Find(setting.strPath))
                pKey->DeleteValue(setting.strName);
        std::vector<BYTE> bytes(strOut.begin(), strOut.end());
        CRegFile written;
        if (!written.Parse(bytes, m_file.resolution.variables) || !(written.Tree() == expected) ||
            written.m_file.document.text.encoding != m_file.document.text.encoding)
            failure = REWRITE_READ_BACK;
        else
            *pBytes = std::move(bytes);
    }
    if (pFailure)
        *pFailure = failure;
    return failure == REWRITE_DONE;
}

std::vector<BYTE> CRegFile::Format(const std::vector<RegSetting> &settings, Dialect dialect)
{
    return FormatNewFile(settings, dialect);
}

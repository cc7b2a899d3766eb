// A registry file edited in place of the system registry: its
// HKEY_LOCAL_MACHINE tree in memory for the sheet (an image's file as the
// build would make it under the process's environment), and the file
// rewritten from it on OK. Untitled, it is settings that belong to no file
// yet, as a computer without a handheld's registry starts.
#pragma once

#include "MemoryRegistry.h"
#include "RegFile.h"
#include "RegFileIo.h"
#include "String.h"

#include <memory>

class CTcpParams;

class CEditedFile
{
public:
    // False with GetLastError() set when the file cannot be read, or with
    // Refusal() saying why it is not a registry file Marlin can edit.
    bool Open(const WCHAR *pszPath);
    // The stack's defaults, and the PPP adapter that the presets tune.
    void OpenUntitled();
    bool IsUntitled() const { return m_strPath.IsEmpty(); }
    const CRegFile &File() const { return m_file; }
    const FileError &Refusal() const { return m_refusal; }
    const CString &Path() const { return m_strPath; }
    // The file's name, or "Untitled".
    CString Title() const;
    IRegistry &Registry() { return m_registry; }
    // Writes the record's values from the memory into the file. False with
    // what the user is told when the file is read-only, the new bytes would
    // not read back as set, or the platform refuses them; the file is then
    // as it was.
    bool Write(const CTcpParams &params, CString *pstrFailure);
    // Writes the record as a new file of the dialect, every value Marlin
    // manages in it (an image's: those that differ from the defaults), and
    // gives it back to be edited from then on. The bytes are read back
    // before they replace what the path holds. Null with what the user is
    // told.
    static std::unique_ptr<CEditedFile> SaveAs(const WCHAR *pszPath, Dialect dialect, CTcpParams &params,
                                               CString *pstrFailure);

private:
    CProcessVariables m_variables;
    CString m_strPath;
    CRegFile m_file;
    FileError m_refusal;
    CMemoryRegistry m_registry;
};

// What the user is told of a registry file that could not be read (no
// error in the file) or was refused (the error and its line).
CString FileRefusal(const WCHAR *pszPath, const FileError &error);

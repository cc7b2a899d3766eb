// A registry file edited in place of the system registry: its
// HKEY_LOCAL_MACHINE tree in memory for the sheet (an image's file as the
// build would make it under the process's environment), and the file
// rewritten from it on OK.
#pragma once

#include "MemoryRegistry.h"
#include "RegFile.h"
#include "RegFileIo.h"
#include "String.h"

class CTcpParams;

class CEditedFile
{
public:
    // False with GetLastError() set when the file cannot be read, or with
    // File().GetError() when it is not a registry file Marlin can edit.
    bool Open(const WCHAR *pszPath);
    const CRegFile &File() const { return m_file; }
    const CString &Path() const { return m_strPath; }
    IRegistry &Registry() { return m_registry; }
    // Writes the record's values from the memory into the file. False with
    // what the user is told when the file is read-only, the new bytes would
    // not read back as set, or the platform refuses them; the file is then
    // as it was.
    bool Write(const CTcpParams &params, CString *pstrFailure);

private:
    CProcessVariables m_variables;
    CString m_strPath;
    CRegFile m_file;
    CMemoryRegistry m_registry;
};

// What the user is told of a registry file that could not be read (no
// error in the file) or was refused (the error and its line).
CString FileRefusal(const WCHAR *pszPath, const CRegFile &file);

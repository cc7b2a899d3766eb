// CVersionInfo: the program's own version resource (VS_VERSIONINFO), read
// once at construction; QueryValue then looks up string values by name.
#pragma once

#include "String.h"

#include <winver.h>

#include <memory>

class CVersionInfo
{
public:
    // Reads the running executable's version block; on any failure the reader
    // is empty (both pointers null, no translations).
    CVersionInfo();
    // The same for the named file (the tests read blocks they made).
    explicit CVersionInfo(const WCHAR *pszFile);
    virtual ~CVersionInfo();

    CVersionInfo(const CVersionInfo &) = delete;
    CVersionInfo &operator=(const CVersionInfo &) = delete;

    // The value of the string-table entry pszName under the first translation
    // whose table holds it, as an independent copy; "" when none does.
    CString QueryValue(const WCHAR *pszName) const;

    // The data model, public so that tests can check it. Both pointers point
    // into m_pData and are never changed after construction.
    const VS_FIXEDFILEINFO *m_pFixedInfo = nullptr;  // value at "\"
    const DWORD *m_pTranslations = nullptr;          // value at "\VarFileInfo\Translation"
    int m_nTranslations = 0;                         // its length in bytes / 4
    std::unique_ptr<BYTE[]> m_pData;                 // the whole block, as read
};

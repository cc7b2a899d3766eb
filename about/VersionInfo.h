// CVersionInfo: the program's own version resource (VS_VERSIONINFO), read
// once at construction; QueryValue then looks up string values by name.
#pragma once

#include "String.h"

#include <winver.h>

#include <memory>

class CVersionInfo
{
public:
    // Reads the running executable's version block; on any failure the
    // reader is empty and every value "".
    CVersionInfo();
    virtual ~CVersionInfo();

    CVersionInfo(const CVersionInfo &) = delete;
    CVersionInfo &operator=(const CVersionInfo &) = delete;

    // The value of the string-table entry pszName under the first translation
    // whose table holds it, those in the user's interface language first,
    // as an independent copy; "" when none does.
    CString QueryValue(const WCHAR *pszName) const;

private:
    // Both pointers point into m_pData. Nothing reads the fixed part; it is
    // found with the rest of the block.
    const VS_FIXEDFILEINFO *m_pFixedInfo = nullptr;  // value at "\"
    const DWORD *m_pTranslations = nullptr;          // value at "\VarFileInfo\Translation"
    int m_nTranslations = 0;                         // its length in bytes / 4
    std::unique_ptr<BYTE[]> m_pData;                 // the whole block, as read
};

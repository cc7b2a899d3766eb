// Distinct strings, each found by its place among them once all are added:
// the rewrite's and the reader's lookup of the values asked about.
#pragma once

#include "RegText.h"

#include <algorithm>
#include <vector>

class CNameIndex
{
public:
    void Add(const WString &str) { m_strings.push_back(str); }
    void Seal()
    {
        std::sort(m_strings.begin(), m_strings.end());
        m_strings.erase(std::unique(m_strings.begin(), m_strings.end()), m_strings.end());
    }
    int Size() const { return static_cast<int>(m_strings.size()); }
    // Its place, or -1 when it was not added.
    int Find(const WString &str) const
    {
        auto it = std::lower_bound(m_strings.begin(), m_strings.end(), str);
        return it != m_strings.end() && *it == str ? static_cast<int>(it - m_strings.begin()) : -1;
    }

private:
    std::vector<WString> m_strings;
};

// A value's key path and name, folded, as one string to look up.
inline WString ValueKey(const WString &strPath, const WString &strName)
{
    return Folded(strPath) + WCHAR(0) + Folded(strName);
}

// A value's or key's lines, the document's own or with the build's names in
// place, without copying the document's.
#pragma once

#include "FileText.h"

#include <vector>

struct ValueLines
{
    const TextLine *pDocument;                  // the first of its lines in the document
    const std::vector<WString> *pSubstituted;   // where not empty, these instead
    int nCount;

    int size() const { return nCount; }
    const WString &operator[](int k) const { return pSubstituted->empty() ? pDocument[k].strText : (*pSubstituted)[k]; }
};

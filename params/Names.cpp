#include "Names.h"

int CompareNames(const WString &left, const WString &right)
{
    size_t nCommon = std::min(left.size(), right.size());
    for (size_t i = 0; i < nCommon; i++)
    {
        int nDiff = Fold(left[i]) - Fold(right[i]);
        if (nDiff)
            return nDiff;
    }
    return left.size() < right.size() ? -1 : left.size() > right.size() ? 1 : 0;
}

std::vector<WString> Components(const WString &strPath)
{
    std::vector<WString> components;
    for (size_t nStart = 0; nStart <= strPath.size();)
    {
        size_t nEnd = std::min(strPath.find('\\', nStart), strPath.size());
        if (nEnd > nStart)
            components.push_back(strPath.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
    return components;
}

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

#include "Names.h"

namespace
{

struct FoldRow
{
    WCHAR chFirst, chLast, chOffset;
    BYTE nStep;
};

const FoldRow FOLDS[] = {
#include "FoldTable.inc"
};

} // namespace

WCHAR FoldBeyondAscii(WCHAR ch)
{
    const FoldRow *pRow = std::upper_bound(std::begin(FOLDS), std::end(FOLDS), ch,
                                           [](WCHAR chKey, const FoldRow &row) { return chKey < row.chFirst; });
    if (pRow == std::begin(FOLDS) || ch > (--pRow)->chLast || (ch - pRow->chFirst) % pRow->nStep)
        return ch;
    return static_cast<WCHAR>(ch + pRow->chOffset);
}

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

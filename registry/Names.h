// Registry names: matched without regard to letter case, as the registry
// matches them, and listed in the platform's order: by their folded form,
// code unit by code unit, a shorter name before a longer one that it begins.
// A character of the Basic Multilingual Plane folds to its simple lower-case
// form in Unicode 15.0 (FoldTable.inc), unless that form upper-cases to
// another character: Wine's registry keeps the Kelvin sign apart from "k",
// U+0130 from "i", U+2126 from omega. So nothing beyond ASCII folds into it.
#pragma once

#include "String.h"

#include <algorithm>
#include <vector>

// For keywords and digits, where only ASCII letters count.
inline WCHAR FoldAscii(WCHAR ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<WCHAR>(ch - 'A' + 'a') : ch;
}

WCHAR FoldBeyondAscii(WCHAR ch);

inline WCHAR Fold(WCHAR ch)
{
    return ch < 0x80 ? FoldAscii(ch) : FoldBeyondAscii(ch);
}

int CompareNames(const WString &left, const WString &right);

// Position of name among items kept in that order, or where it belongs.
template <typename Item, typename GetName>
size_t FindSlot(const std::vector<Item> &items, const WString &name, GetName getName)
{
    auto it = std::lower_bound(items.begin(), items.end(), name,
        [&](const Item &item, const WString &key) { return CompareNames(getName(item), key) < 0; });
    return static_cast<size_t>(it - items.begin());
}

template <typename Item, typename GetName>
bool Found(const std::vector<Item> &items, size_t nSlot, const WString &name, GetName getName)
{
    return nSlot < items.size() && CompareNames(getName(items[nSlot]), name) == 0;
}

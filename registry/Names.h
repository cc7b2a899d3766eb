// Registry names: matched without regard to (ASCII) letter case, and listed
// in the platform's order: by their lower-case form, code unit by code
// unit, a shorter name before a longer one that it begins.
#pragma once

#include "String.h"

#include <algorithm>
#include <vector>

inline WCHAR Fold(WCHAR ch)
{
    return ch >= 'A' && ch <= 'Z' ? static_cast<WCHAR>(ch - 'A' + 'a') : ch;
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

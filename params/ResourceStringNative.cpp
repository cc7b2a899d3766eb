// Builds without resources carry the texts they need here; they must read
// as in res/marlin.rc.
#include "ResourceString.h"

#include "StoreStrings.h"

CString LoadResourceString(UINT nId)
{
    switch (nId)
    {
    case IDS_PPP_ADAPTER:
        return TEXT("PPP Adapter");
    default:
        return CString();
    }
}

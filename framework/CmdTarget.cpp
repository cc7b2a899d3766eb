#include "CmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const MessageMap *CCmdTarget::GetThisMessageMap()
{
    static const MessageMapEntry entries[] = { { 0, 0, 0, 0, MessageSig::End, nullptr } };
    static const MessageMap map = { nullptr, entries };
    return &map;
}

const MessageMap *CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const MessageMapEntry *CCmdTarget::FindEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const MessageMap *pMap = GetMessageMap(); pMap;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
    {
        for (const MessageMapEntry *pEntry = pMap->lpEntries; pEntry->nSig != MessageSig::End; pEntry++)
        {
            if (pEntry->nMessage == nMessage && pEntry->nCode == nCode &&
                nID >= pEntry->nID && nID <= pEntry->nLastID)
                return pEntry;
        }
    }
    return nullptr;
}

bool CCmdTarget::OnCmdMsg(UINT nID, UINT nCode)
{
    const MessageMapEntry *pEntry = FindEntry(WM_COMMAND, nCode, nID);
    if (!pEntry)
        return false;
    if (pEntry->nSig == MessageSig::VoidId)
        (this->*pEntry->pfn.pfnVoidId)(nID);
    else
        (this->*pEntry->pfn.pfnVoid)();
    return true;
}

bool CCmdTarget::OnMapMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT &lResult)
{
    const MessageMapEntry *pEntry = FindEntry(nMessage, 0, 0);
    if (!pEntry || pEntry->nSig != MessageSig::Message)
        return false;
    lResult = (this->*pEntry->pfn.pfnMessage)(wParam, lParam);
    return true;
}

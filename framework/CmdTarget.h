// The root of every class that receives commands and messages through a
// message map.
#pragma once

#include "MessageMap.h"

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Dispatches a command (menu item or control notification) through the
    // map; false when nothing is bound to it.
    bool OnCmdMsg(UINT nID, UINT nCode);
    // Dispatches any other message that the map binds; false when none does.
    bool OnMapMessage(UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT &lResult);

protected:
    static const MessageMap *GetThisMessageMap();
    virtual const MessageMap *GetMessageMap() const;

private:
    const MessageMapEntry *FindEntry(UINT nMessage, UINT nCode, UINT nID) const;
};

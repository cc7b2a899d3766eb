// Message maps: tables of {message, notification code, id or id range,
// handler}. A message that a class's table does not bind is looked up in its
// base class's table.
#pragma once

#include "RuntimeClass.h"

#include <cstddef>

class CCmdTarget;

// How a handler is called.
enum class MessageSig
{
    End,
    Void,          // void OnX()
    VoidId,        // void OnX(UINT nID): for id ranges
    Message,       // LRESULT OnX(WPARAM, LPARAM)
};

union MessageHandler
{
    constexpr MessageHandler(std::nullptr_t) : pfnVoid(nullptr) {}
    constexpr MessageHandler(void (CCmdTarget::*pfn)()) : pfnVoid(pfn) {}
    constexpr MessageHandler(void (CCmdTarget::*pfn)(UINT)) : pfnVoidId(pfn) {}
    constexpr MessageHandler(LRESULT (CCmdTarget::*pfn)(WPARAM, LPARAM)) : pfnMessage(pfn) {}

    void (CCmdTarget::*pfnVoid)();
    void (CCmdTarget::*pfnVoidId)(UINT);
    LRESULT (CCmdTarget::*pfnMessage)(WPARAM, LPARAM);
};

struct MessageMapEntry
{
    UINT nMessage;
    UINT nCode;      // notification code, for WM_COMMAND
    UINT nID;
    UINT nLastID;
    MessageSig nSig;
    MessageHandler pfn;
};

struct MessageMap
{
    const MessageMap *(*pfnGetBaseMap)();
    const MessageMapEntry *lpEntries;
};

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const MessageMap *GetThisMessageMap(); \
    const MessageMap *GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const MessageMap *theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap *theClass::GetThisMessageMap() \
    { \
        using ThisClass [[maybe_unused]] = theClass; \
        typedef baseClass TheBaseClass; \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP() \
            { 0, 0, 0, 0, MessageSig::End, nullptr } \
        }; \
        static const MessageMap map = { &TheBaseClass::GetThisMessageMap, entries }; \
        return &map; \
    }

#define ON_CONTROL(code, id, memberFxn) \
    { WM_COMMAND, code, id, id, MessageSig::Void, \
      static_cast<void (CCmdTarget::*)()>(&ThisClass::memberFxn) },

#define ON_CONTROL_RANGE(code, id, idLast, memberFxn) \
    { WM_COMMAND, code, id, idLast, MessageSig::VoidId, \
      static_cast<void (CCmdTarget::*)(UINT)>(&ThisClass::memberFxn) },

#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) ON_CONTROL_RANGE(0, id, idLast, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)

#define ON_MESSAGE(message, memberFxn) \
    { message, 0, 0, 0, MessageSig::Message, \
      static_cast<LRESULT (CCmdTarget::*)(WPARAM, LPARAM)>(&ThisClass::memberFxn) },

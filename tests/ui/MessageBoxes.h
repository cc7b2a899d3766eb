// The platform's real message boxes, found, read and answered by a script.
#pragma once

#include "ModalScript.h"

#include <string>
#include <vector>

// What one box showed.
struct MessageBoxSeen
{
    std::wstring strText;
    std::wstring strCaption;
    HWND hOwner = nullptr;
    std::vector<int> buttons;  // the ids of the visible buttons: IDOK, IDYES...
    UINT nIcon = 0;            // MB_ICONQUESTION, MB_ICONSTOP, MB_ICONEXCLAMATION or 0

    // The MB_ flags the box was shown with, as far as they can be seen.
    UINT Type() const;
};

// A visible message box of this thread, or null.
HWND FindMessageBox();
MessageBoxSeen ReadMessageBox(HWND hBox);

// A step that waits for this thread's next message box, reads it into
// *pSeen and clicks the button with that id.
ScriptStep AnswerMessageBox(int nButton, MessageBoxSeen *pSeen);

// Choosing a command from a window's menu bar with the mouse.
#pragma once

#include "ModalScript.h"

#include <functional>
#include <string>

// Adds the steps that click the bar's pop-up with this label, wait for the
// pop-up, click the item with this text and wait for the pop-up to close;
// the command has been handled by then.
void ChooseFromMenuBar(CModalScript &script, std::function<HWND()> fnWindow, const std::wstring &strPopup,
                       const std::wstring &strItem);

// Choosing a command from a menu bar's pop-up with the mouse.
#pragma once

#include "ModalScript.h"

#include <functional>
#include <string>

// Adds the steps that click the bar's button, wait for its pop-up, click the
// item with this text and wait for the pop-up to close; the command has
// been handled by then.
void ChooseFromMenuBar(CModalScript &script, std::function<HWND()> fnBar, int idButton, const std::wstring &strItem);

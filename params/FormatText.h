// A string resource with %1, %2... replaced by the arguments in turn.
#pragma once

#include "String.h"

#include <initializer_list>

CString FormatResource(UINT nId, std::initializer_list<CString> arguments);

// The platform's words for an error code, without the line end.
CString SystemMessage(DWORD dwError);

// The number in decimal digits, as the messages show it.
CString DecimalText(long long nValue);

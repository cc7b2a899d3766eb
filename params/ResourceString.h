// Text of a string resource of the program, or "" when there is none.
#pragma once

#include "String.h"

CString LoadResourceString(UINT nId);

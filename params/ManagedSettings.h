// The values the program manages, as registry settings: what a backup
// holds, what a registry file being edited has rewritten, what Save As
// writes, and what Restore looks for in a file.
#pragma once

#include "RegValue.h"
#include "TcpParams.h"

#include <vector>

// The stack's five values and each of the record's adapters' receive
// window, as the registry holds them now.
std::vector<RegSetting> ManagedSettings(IRegistry &registry, const CTcpParams &params);

// The same values as a save of the record leaves them in a registry that
// held none: those at the stack's defaults absent.
std::vector<RegSetting> SavedSettings(CTcpParams &params);

// The values the program manages, as registry settings: what a backup
// holds, what a registry file being edited has rewritten, and what Restore
// looks for in a file.
#pragma once

#include "RegValue.h"
#include "TcpParams.h"

#include <vector>

// The stack's five values and each of the record's adapters' receive
// window, as the registry holds them now.
std::vector<RegSetting> ManagedSettings(IRegistry &registry, const CTcpParams &params);

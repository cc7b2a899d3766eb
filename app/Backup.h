// A backup of the values OK is about to change, as a registry file that
// regedit imports: the stack's five values and each adapter's receive
// window, absent ones as deletions.
#pragma once

#include "Device.h"
#include "Registry.h"

class CTcpParams;

// A new file named by the local time (20261208-063000.reg, then -2, -3...)
// in the device's backups folder. False with GetLastError() set, and
// *pstrWhere naming the folder, when it could not be written.
bool WriteBackup(IDevice &device, IRegistry &registry, const CTcpParams &params, CString *pstrWhere);

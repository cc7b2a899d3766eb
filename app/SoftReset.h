// Whether OK offers to restart the device after a save.
#pragma once

#include "Device.h"

// Only a device that can restart is asked, and not one that restarts by
// other means: those whose OEM string is exactly "CEPC" or "NEC".
bool OffersSoftReset(IDevice &device);

// The record on the registry of the machine the program runs on.
#include "TcpParams.h"

#include "Win32Registry.h"

bool CTcpParams::Load()
{
    return Load(SystemRegistry());
}

bool CTcpParams::Save()
{
    return Save(SystemRegistry());
}

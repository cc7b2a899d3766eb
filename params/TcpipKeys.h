// Where the TCP/IP stack keeps its parameters under HKEY_LOCAL_MACHINE, and
// the values it takes when the registry holds none.
#pragma once

#include "Platform.h"

namespace TcpipKeys
{

const WCHAR COMM[] = TEXT("Comm");
const WCHAR STACK[] = TEXT("\\Tcpip");                 // after COMM
const WCHAR STACK_PARMS[] = TEXT("\\Tcpip\\Parms");   // after COMM
const WCHAR SEPARATOR[] = TEXT("\\");
const WCHAR ADAPTER_PARMS[] = TEXT("\\Parms\\TcpIp"); // after COMM, SEPARATOR and the adapter

const WCHAR TCP_WINDOW_SIZE[] = TEXT("TcpWindowSize");
const WCHAR DEFAULT_TTL[] = TEXT("DefaultTTL");
const WCHAR ENABLE_PMTU_DISCOVERY[] = TEXT("EnablePMTUDiscovery");
const WCHAR SACK_OPTS[] = TEXT("SackOpts");
const WCHAR TCP1323_OPTS[] = TEXT("TCP1323Opts");
const WCHAR DISPLAY_NAME[] = TEXT("DisplayName");

// The PPP adapter is shown under a name of the program's own.
const WCHAR PPP_ADAPTER[] = TEXT("ppp1");

const DWORD DEFAULT_WINDOW_SIZE = 17520;
const DWORD DEFAULT_TTL_VALUE = 128;
const DWORD DEFAULT_SWITCH = 1;
// TCP1323Opts: bit 0 window scaling, bit 1 time stamps.
const DWORD RFC1323_WINDOW_SCALING = 1;
const DWORD RFC1323_TIMESTAMPS = 2;
const DWORD DEFAULT_TCP1323_OPTS = RFC1323_WINDOW_SCALING | RFC1323_TIMESTAMPS;

// A receive window above 65535 bytes needs window scaling; 65535 scaled by
// 2^14, the largest shift RFC 1323 allows, is the largest there is.
const DWORD LARGEST_UNSCALED_WINDOW = 0xFFFF;
const DWORD LARGEST_WINDOW = LARGEST_UNSCALED_WINDOW << 14;

} // namespace TcpipKeys

// The few Win32 types and constants the code without windows needs. The Windows
// build takes them from <windows.h>; the native build, which has no registry
// of its own, defines the same names with the same widths. Text is UTF-16 on
// both: WCHAR is wchar_t on Windows and char16_t elsewhere.
#pragma once

#ifdef _WIN32

#include <windows.h>

#else

#include <cstdint>

typedef char16_t WCHAR;
typedef uint8_t BYTE;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t UINT;
typedef struct HKEY__ *HKEY;

#define TEXT(quote) u##quote

#define HKEY_LOCAL_MACHINE ((HKEY)(uintptr_t)(LONG)0x80000002)

#define ERROR_SUCCESS 0
#define ERROR_FILE_NOT_FOUND 2
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_HANDLE 6
#define ERROR_OUTOFMEMORY 14
#define ERROR_INVALID_PARAMETER 87
#define ERROR_MORE_DATA 234
#define ERROR_NO_MORE_ITEMS 259
#define ERROR_KEY_DELETED 1018

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7
#define REG_QWORD 11

#endif

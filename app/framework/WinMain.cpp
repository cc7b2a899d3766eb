#include "WinApp.h"

#include <cstdlib>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    return AfxWinMain();
}

// The program throws nothing; without this, the runtime's default handler
// brings a C++ name demangler along to print what was thrown.
namespace __gnu_cxx
{
void __verbose_terminate_handler()
{
    abort();
}
}

// A program built without exceptions still gets the C++ runtime's throwing
// allocator and its throw helpers from the standard containers, and with
// them the runtime's whole exception machinery: unwinder, type information,
// a demangler and a thread library, several times the program's own code.
// These stand-ins end the program where the runtime would have thrown, as
// an exception nobody catches would.
#include <cstdlib>
#include <new>

void *operator new(std::size_t cb)
{
    void *p = malloc(cb ? cb : 1);
    if (!p)
        abort();
    return p;
}

void *operator new[](std::size_t cb)
{
    return operator new(cb);
}

void *operator new(std::size_t cb, const std::nothrow_t &) noexcept
{
    return malloc(cb ? cb : 1);
}

void *operator new[](std::size_t cb, const std::nothrow_t &) noexcept
{
    return malloc(cb ? cb : 1);
}

void operator delete(void *p) noexcept
{
    free(p);
}

void operator delete[](void *p) noexcept
{
    free(p);
}

void operator delete(void *p, std::size_t) noexcept
{
    free(p);
}

void operator delete[](void *p, std::size_t) noexcept
{
    free(p);
}

namespace std
{
void __throw_bad_alloc()
{
    abort();
}

void __throw_bad_array_new_length()
{
    abort();
}

void __throw_length_error(const char *)
{
    abort();
}

void __throw_logic_error(const char *)
{
    abort();
}

void __throw_out_of_range(const char *)
{
    abort();
}

void __throw_out_of_range_fmt(const char *, ...)
{
    abort();
}
} // namespace std

namespace __gnu_cxx
{
// The default handler would print the exception's demangled type.
void __verbose_terminate_handler()
{
    abort();
}
} // namespace __gnu_cxx

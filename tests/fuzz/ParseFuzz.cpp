// Any bytes at all go to the registry file reader: it may refuse them, but
// must not fault, read out of bounds or overflow.
#include "RegFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CRegFile file;
    file.Parse(std::vector<BYTE>(data, data + size));
    return 0;
}

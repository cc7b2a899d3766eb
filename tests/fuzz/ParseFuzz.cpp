// Any bytes at all go to the registry file reader, with no build variables
// and with every variable its IF lines test set: it may refuse them, but
// must not fault, read out of bounds or overflow.
#include "RegFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CRegFile file;
    CVariableTable variables;
    std::vector<BYTE> bytes(data, data + size);
    if (file.Parse(bytes))
        for (const auto &tested : file.TestedVariables())
            variables.Set(tested.first, tested.second);
    file.Parse(bytes, variables);
    return 0;
}

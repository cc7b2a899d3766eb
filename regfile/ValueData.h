// A value's data, after its "=": read as regedit reads it (every quirk that
// decides what an import leaves) or as a device image's build does, over
// all the value's lines, and written so that both read it back as it was.
#pragma once

#include "Dialect.h"
#include "FileError.h"
#include "FileText.h"
#include "RegValue.h"
#include "ValueLines.h"

#include <vector>

struct ValueData
{
    RegValue value;
    bool bDelete = false;   // "-": the value is deleted
    bool bOpaque = false;   // LOC_ and mui_sz:, which only the build fills in
};

// The data from column nData of lines[0]; the lines after it are the ones
// it may go on on (blank lines and comments among them). nFirstLine numbers
// lines[0] for errors, from 0.
bool ReadData(const ValueLines &lines, size_t nData, int nFirstLine, const DialectRules &rules, Encoding encoding,
              ValueData *pData, FileError *pError);

// The data as the dialect and encoding let it read back exactly; false when
// they cannot hold it.
bool FormatData(const RegValue &value, const DialectRules &rules, Encoding encoding, WString *pstrData);

#include "Dialect.h"

namespace
{

const DialectRules REGEDIT = {
    /* bHeader */ true,           /* bHashComments */ true,     /* bDirectives */ false,
    /* bUtf8 */ false,            /* bMultiSz */ false,         /* bOpaqueData */ false,
    /* bAnyDwordDigits */ false,  /* bWholeHexStrings */ true,  /* bEndInsideValue */ true,
    /* bTextAfterKey */ true,     /* bWritesDeletions */ true,
};

const DialectRules IMAGE = {
    /* bHeader */ false,          /* bHashComments */ false,    /* bDirectives */ true,
    /* bUtf8 */ true,             /* bMultiSz */ true,          /* bOpaqueData */ true,
    /* bAnyDwordDigits */ true,   /* bWholeHexStrings */ false, /* bEndInsideValue */ false,
    /* bTextAfterKey */ false,    /* bWritesDeletions */ false,
};

} // namespace

const DialectRules &RulesOf(Dialect dialect)
{
    return dialect == DIALECT_REGEDIT ? REGEDIT : IMAGE;
}

#include "RuntimeClass.h"

const CRuntimeClass CObject::classCObject = { "CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr };

const CRuntimeClass *CObject::GetRuntimeClass() const
{
    return &classCObject;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass *pBaseClass) const
{
    for (const CRuntimeClass *pClass = this; pClass; pClass = pClass->m_pBaseClass)
        if (pClass == pBaseClass)
            return true;
    return false;
}

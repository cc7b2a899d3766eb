// The build variables a device image's registry file is read under: its IF
// lines test them and $(NAME) takes their text. The program asks the process
// environment, as the image build does in its build window (RegFileIo.h);
// tests and the fuzz targets give a table.
#pragma once

#include "RegText.h"

#include <utility>
#include <vector>

class IBuildVariables
{
public:
    virtual ~IBuildVariables() = default;
    // False when the variable is not set.
    virtual bool Lookup(const WString &strName, WString *pstrValue) const = 0;
};

// Names match without regard to case, as the environment's do.
class CVariableTable : public IBuildVariables
{
public:
    void Set(const WString &strName, const WString &strValue)
    {
        for (auto &variable : m_variables)
            if (variable.first == Folded(strName))
                return void(variable.second = strValue);
        m_variables.emplace_back(Folded(strName), strValue);
    }
    bool Lookup(const WString &strName, WString *pstrValue) const override
    {
        for (const auto &variable : m_variables)
            if (variable.first == Folded(strName))
                return *pstrValue = variable.second, true;
        return false;
    }

private:
    std::vector<std::pair<WString, WString>> m_variables;   // folded name, text
};

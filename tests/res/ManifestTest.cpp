// The manifest resource the platform reads when it starts the program.
#include "ResourceReader.h"

#include <gtest/gtest.h>

namespace
{

std::string Manifest()
{
    std::vector<BYTE> bytes = ResourceBytes(RT_MANIFEST, 1);
    return std::string(bytes.begin(), bytes.end());
}

// The start tags of the elements with this name, with their attributes.
std::vector<std::string> StartTags(const std::string &strXml, const std::string &strElement)
{
    std::vector<std::string> tags;
    for (size_t nPos = 0; (nPos = strXml.find("<" + strElement, nPos)) != std::string::npos; nPos++)
    {
        size_t nEnd = strXml.find('>', nPos);
        char chAfter = strXml[nPos + 1 + strElement.size()];
        if (nEnd != std::string::npos && (chAfter == ' ' || chAfter == '\n' || chAfter == '\r' ||
                                          chAfter == '\t' || chAfter == '/' || chAfter == '>'))
            tags.push_back(strXml.substr(nPos, nEnd + 1 - nPos));
    }
    return tags;
}

// An attribute's value, or "(none)".
std::string Attribute(const std::string &strTag, const std::string &strName)
{
    for (size_t nPos = 0; (nPos = strTag.find(strName + "=\"", nPos)) != std::string::npos; nPos++)
    {
        char chBefore = strTag[nPos - 1];
        if (chBefore != ' ' && chBefore != '\n' && chBefore != '\r' && chBefore != '\t')
            continue;
        size_t nStart = nPos + strName.size() + 2;
        return strTag.substr(nStart, strTag.find('"', nStart) - nStart);
    }
    return "(none)";
}

TEST(Manifest, IsResourceOne)
{
    EXPECT_FALSE(Manifest().empty()) << "no RT_MANIFEST resource 1";
}

TEST(Manifest, AsksForCommonControlsSix)
{
    std::string strVersion = "(no Common-Controls dependency)";
    for (const std::string &strTag : StartTags(Manifest(), "assemblyIdentity"))
        if (Attribute(strTag, "name") == "Microsoft.Windows.Common-Controls")
            strVersion = Attribute(strTag, "version");
    EXPECT_EQ("6.0.0.0", strVersion);
}

TEST(Manifest, AsksForAdministrator)
{
    std::vector<std::string> tags = StartTags(Manifest(), "requestedExecutionLevel");
    ASSERT_EQ(1u, tags.size());
    EXPECT_EQ("requireAdministrator", Attribute(tags[0], "level"));
}

TEST(Manifest, IsDpiAware)
{
    std::string strXml = Manifest();
    std::vector<std::string> tags = StartTags(strXml, "dpiAware");
    ASSERT_EQ(1u, tags.size());
    size_t nValue = strXml.find(tags[0]) + tags[0].size();
    EXPECT_EQ("true", strXml.substr(nValue, strXml.find('<', nValue) - nValue));
}

} // namespace

// Registry files read under build variables and rewritten (rewrite-cases.txt):
// what they hold, what they are refused for, what a rewrite makes of them
// byte for byte and keeps; under Wine, image files and their rewrites held
// to the image build too (ImageOracle.h).
#include "FileCases.h"
#include "RegistryHelpers.h"
#include "RewriteChecks.h"
#ifdef _WIN32
#include "ImageOracle.h"
#endif

namespace
{

const char *const ERRORS[] = { "none", "no-header", "not-text", "bad-key", "value-outside-key", "not-an-entry",
                               "unterminated-string", "bad-number", "truncated-continuation", "not-machine", "utf8-bom",
                               "bad-escape", "broken-continuation", "bad-string-bytes", "unclosed-if",
                               "unmatched-condition", "undefined-name", "build-error", "opaque-value" };
static_assert(sizeof(ERRORS) / sizeof(ERRORS[0]) == FILE_ERROR_COUNT, "a name for every error");
const char *const FAILURES[] = { "none", "no-line", "encoding", "read-back" };

std::string Text(const std::vector<BYTE> &bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

TEST(RegFile, ReadsAndRewritesFilesAsTheCasesSay)
{
    const std::vector<FileCase> cases = ReadFileCases(REWRITE_CASES);
    ASSERT_GE(cases.size(), 40u);
    std::vector<RegSetting> marlins;
    for (const char *pszName : { "TcpWindowSize", "DefaultTTL", "EnablePMTUDiscovery", "SackOpts", "TCP1323Opts" })
        marlins.push_back(SettingOf(std::string("Comm\\Tcpip\\Parms \"") + pszName + "\" -"));
    marlins.push_back(SettingOf("Comm\\ppp1\\Parms\\TcpIp \"TcpWindowSize\" -"));
#ifdef _WIN32
    std::vector<Imported> images;
    ImageCounts counts;
#endif
    for (const FileCase &test : cases)
    {
        const CaseDirectives directives(test);
        const std::vector<RegSetting> &settings = directives.settings;
        const CVariableTable variables = RewriteChecks::VariableTable(directives.variables);
        const std::vector<BYTE> before = FileBytes(test.body, directives.strEol, directives.encoding);
#ifdef _WIN32
        const std::string strKey = std::to_string(&test - &cases[0] + 1), strFirst = test.body.empty() ? "" : test.body[0];
        const bool bImage = strFirst.find("REGEDIT4") == std::string::npos && strFirst.find("Registry Editor") == std::string::npos;
        if (bImage)
            CheckImageFile(test.strName, strKey, before, directives, &images, &counts), counts.nCases++;
#endif
        CRegFile file;
        FileError error = file.Parse(before, variables) ? file.UnknownNeed(TEXT("Comm"), settings) : file.Error();
        if (error.code == FILE_OK && !directives.strHolds.empty())
        {
            error = file.ForeignKey();
            EXPECT_EQ(directives.strHolds, error.code ? "foreign" : file.Mentions(marlins) ? "values" : "none") << test.strName;
        }
        const bool bRead = error.code == FILE_OK;
        EXPECT_EQ(directives.strRefused, std::to_string(error.nLine) + " " + ERRORS[error.code]) << test.strName;
        if (!directives.strFormat.empty())
        {
            const Dialect dialect = directives.strFormat == "image" ? DIALECT_IMAGE : DIALECT_REGEDIT;
            EXPECT_EQ(Text(before), Text(CRegFile::Format(settings, dialect))) << test.strName;
        }
        for (const RegSetting &setting : directives.strFormat.empty() ? directives.expected : settings)
        {
            RegValue value;
            EXPECT_EQ(setting.bPresent, file.Tree().Get(setting.strPath, setting.strName, &value)) << test.strName;
            EXPECT_TRUE(!setting.bPresent || value == setting.value) << test.strName << ": " << Narrow(setting.strName.c_str());
        }
        if (!bRead || settings.empty())
            continue;
        std::vector<BYTE> after;
        RewriteFailure failure = REWRITE_DONE;
        ASSERT_EQ(!directives.bFails, file.Rewrite(settings, &after, &failure)) << test.strName;
        EXPECT_TRUE(directives.strFailure.empty() || directives.strFailure == FAILURES[failure]) << test.strName << ": " << FAILURES[failure];
        if (test.bAfter)
        {
            EXPECT_EQ(Text(FileBytes(test.after, directives.strEol, directives.encoding)), Text(after)) << test.strName;
        }
        if (!directives.bFails)
        {
            EXPECT_EQ("", RewriteChecks::BrokenBranch(before, after, directives.variables, 4096)) << test.strName;
            EXPECT_TRUE(RewriteChecks::KeepsOtherLines(before, after, settings, directives.variables)) << test.strName;
        }
#ifdef _WIN32
        if (bImage && !after.empty())
            CheckImageFile(test.strName + ", rewritten", strKey + "r", after, directives, &images, &counts), counts.nRewritten++;
#endif
    }
#ifdef _WIN32
    const std::vector<bool> alike = ImportAndCompare(IMAGE_ROOT, images);
    printf("%d image cases and %d rewrites of them under %d combinations of their variables: %zu of %zu read as the build makes "
           "them, %d refused where the build stops, %d refused as their case says\n",
           counts.nCases, counts.nRewritten, counts.nCombinations, std::count(alike.begin(), alike.end(), true), images.size(), counts.nStopped,
           counts.nRefusedAsSaid);
#endif
}

} // namespace

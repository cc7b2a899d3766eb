// Registry files read under build variables and rewritten, as tables in text
// (rewrite-cases.txt): what they hold, what they are refused for, what a
// rewrite makes of them byte for byte, and what it keeps; and a backup.
// regedit's dialect is held to regedit itself (RegeditDiffTest.cpp).
#include "FileCases.h"
#include "RegistryHelpers.h"
#include "RewriteChecks.h"

namespace
{

const char *const ERRORS[] = { "none", "no-header", "not-text", "bad-key", "value-outside-key", "not-an-entry",
                               "unterminated-string", "bad-number", "truncated-continuation", "not-machine", "utf8-bom",
                               "bad-escape", "broken-continuation", "bad-string-bytes", "unclosed-if",
                               "unmatched-condition", "undefined-name", "build-error", "opaque-value" };
static_assert(sizeof(ERRORS) / sizeof(ERRORS[0]) == FILE_ERROR_COUNT, "a name for every error");

std::string Text(const std::vector<BYTE> &bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

// Directives: "vars NAME=TEXT NAME...", "encoding ansi|utf8|utf16",
// "eol LF|CR", "expect SETTING" (what the file holds under the variables),
// "set SETTING" (what the rewrite writes), "refuse LINE ERROR", "fails" (the
// rewrite cannot be made), "holds values|none|foreign" (whether the file
// holds Marlin's values, as Restore asks). After "--- after", the file the
// rewrite gives.
TEST(RegFile, ReadsAndRewritesFilesAsTheCasesSay)
{
    const std::vector<FileCase> cases = ReadFileCases(REWRITE_CASES);
    ASSERT_GE(cases.size(), 40u);
    std::vector<RegSetting> marlins;
    for (const char *pszName : { "TcpWindowSize", "DefaultTTL", "EnablePMTUDiscovery", "SackOpts", "TCP1323Opts" })
        marlins.push_back(SettingOf(std::string("Comm\\Tcpip\\Parms \"") + pszName + "\" -"));
    marlins.push_back(SettingOf("Comm\\ppp1\\Parms\\TcpIp \"TcpWindowSize\" -"));
    for (const FileCase &test : cases)
    {
        const CaseDirectives directives(test);
        const std::vector<RegSetting> &settings = directives.settings;
        const CVariableTable variables = RewriteChecks::VariableTable(directives.variables);
        const std::vector<BYTE> before = FileBytes(test.body, directives.strEol, directives.encoding);
        CRegFile file;
        FileError error = file.Parse(before, variables) ? file.UnknownNeed(TEXT("Comm"), settings) : file.Error();
        if (error.code == FILE_OK && !directives.strHolds.empty())
        {
            error = file.ForeignKey();
            EXPECT_EQ(directives.strHolds, error.code ? "foreign" : file.Mentions(marlins) ? "values" : "none") << test.strName;
        }
        const bool bRead = error.code == FILE_OK;
        EXPECT_EQ(directives.strRefused, std::to_string(error.nLine) + " " + ERRORS[error.code]) << test.strName;
        for (const RegSetting &setting : directives.expected)
        {
            RegValue value;
            EXPECT_EQ(setting.bPresent, file.Tree().Get(setting.strPath, setting.strName, &value)) << test.strName;
            EXPECT_TRUE(!setting.bPresent || value == setting.value) << test.strName << ": " << Narrow(setting.strName.c_str());
        }
        if (!bRead || settings.empty())
            continue;
        std::vector<BYTE> after;
        ASSERT_EQ(!directives.bFails, file.Rewrite(settings, &after)) << test.strName;
        if (test.bAfter)
        {
            EXPECT_EQ(Text(FileBytes(test.after, directives.strEol, directives.encoding)), Text(after)) << test.strName;
        }
        if (!directives.bFails)
        {
            EXPECT_EQ("", RewriteChecks::BrokenBranch(before, after, directives.variables, 4096)) << test.strName;
            EXPECT_TRUE(RewriteChecks::KeepsOtherLines(before, after, settings, directives.variables)) << test.strName;
        }
    }
}

// A backup or a saved file, which regedit imports (FileTest.cpp), and a
// device image's file, which holds only the values present; each reads back
// to the settings, and an image's name outside Windows-1252 makes it UTF-16.
TEST(RegFile, FormatsBothDialectsAndReadsThemBack)
{
    std::vector<RegSetting> settings = { SettingOf("Comm\\Tcpip\\Parms \"DefaultTTL\" 4:40,00,00,00"),
                                         SettingOf("Comm\\Tcpip\\Parms \"SackOpts\" -"),
                                         SettingOf("Comm\\a\\Parms\\TcpIp \"S\\\\\\\"x\" sz:\"hi\""),
                                         SettingOf("Comm\\a\\Parms\\TcpIp \"B\" 3:01,02,ff"),
                                         SettingOf("Comm\\b\\Parms\\TcpIp \"TcpWindowSize\" -") };
    const std::vector<std::string> regedit = {
        "Windows Registry Editor Version 5.00", "", "[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]", "\"DefaultTTL\"=dword:00000040",
        "\"SackOpts\"=-", "", "[HKEY_LOCAL_MACHINE\\Comm\\a\\Parms\\TcpIp]", "\"S\\\\\\\"x\"=\"hi\"", "\"B\"=hex:01,02,ff", "",
        "[HKEY_LOCAL_MACHINE\\Comm\\b\\Parms\\TcpIp]", "\"TcpWindowSize\"=-" };
    std::vector<std::string> image = { "[HKEY_LOCAL_MACHINE\\Comm\\Tcpip\\Parms]", "\"DefaultTTL\"=dword:00000040", "",
                                       "[HKEY_LOCAL_MACHINE\\Comm\\a\\Parms\\TcpIp]", "\"S\\\\\\\"x\"=\"hi\"", "\"B\"=hex:01,02,ff", "",
                                       "[HKEY_LOCAL_MACHINE\\Comm\\b\\Parms\\TcpIp]", "" };
    for (int nCase = 0; nCase < 3; nCase++)
    {
        if (nCase == 2)   // a name Windows-1252 has no character for
        {
            settings[1] = SettingOf("Comm\\Tcpip\\Parms \"\xCE\xA9\" 4:01,00,00,00");
            image.insert(image.begin() + 2, "\"\xCE\xA9\"=dword:00000001");
        }
        Dialect dialect = nCase ? DIALECT_IMAGE : DIALECT_REGEDIT;
        std::vector<BYTE> bytes = CRegFile::Format(settings, dialect);
        EXPECT_EQ(Text(FileBytes(nCase ? image : regedit, "\r\n", nCase == 1 ? FILE_ANSI : FILE_UTF16)), Text(bytes));
        CRegFile file;
        ASSERT_TRUE(file.Parse(bytes)) << Text(bytes);
        EXPECT_EQ(dialect, file.GetDialect());
        for (const RegSetting &setting : settings)
        {
            RegValue value;
            EXPECT_EQ(setting.bPresent, file.Tree().Get(setting.strPath, setting.strName, &value)) << Text(bytes);
            EXPECT_TRUE(!setting.bPresent || value == setting.value) << Text(bytes);
        }
        EXPECT_TRUE(file.Tree().Find(TEXT("Comm\\b\\Parms\\TcpIp"))) << "a key without values keeps its section";
    }
}

} // namespace

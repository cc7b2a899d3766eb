// Registry files in two dialects (Dialect.h), read into the tree an import
// leaves and rewritten so that every byte but those of the values asked for
// stays. The stages, each using only those before it:
//   FileText     bytes to lines and back
//   RegDocument  lines to nodes: keys, values (continuations included),
//                comments, directives (DocumentReader.cpp)
//   BuildResolver  which nodes apply under the build's variables, and their
//                text with $(NAME)s in place (Condition.h reads IF and #if)
//   RegEntries   keys and values read from the nodes (ValueData.h), and
//                the tree they leave
//   EditPlanner  the lines a rewrite changes, or why it cannot
//   DocumentWriter  the plan over the document, and new files
// CRegFile holds one file as read, and checks every rewrite by reading it
// back before anyone writes it. Memory is linear in the file's size, and so
// is time for keys in the order regedit writes them.
#pragma once

#include "EditPlanner.h"

#include <utility>
#include <vector>

class CRegFile
{
public:
    // Reads the file's bytes; an image's file under these build variables
    // (none set without them). False on bad input, with Error() saying why.
    bool Parse(const std::vector<BYTE> &bytes);
    bool Parse(const std::vector<BYTE> &bytes, const IBuildVariables &variables);
    Dialect GetDialect() const { return m_file.document.dialect; }
    const FileError &Error() const { return m_error; }
    FileErrorCode GetError() const { return m_error.code; }
    int GetErrorLine() const { return m_error.nLine; }

    // The HKEY_LOCAL_MACHINE tree an import into an empty registry leaves
    // (an image's: what the build makes of it under the variables).
    const CRegTree &Tree() const { return m_file.tree; }
    // Applies the file's keys and values to the tree in file order, as an
    // import into that registry would.
    void ApplyTo(CRegTree &tree) const { ApplyEntries(m_file.entries, &tree); }
    // Whether a value line that applies sets or deletes one of these.
    bool Mentions(const std::vector<RegSetting> &settings) const { return MentionsAny(m_file.entries, settings); }
    // The first key outside HKEY_LOCAL_MACHINE, as FILE_NOT_MACHINE; a
    // backup holds no other.
    FileError ForeignKey() const { return FirstForeignKey(m_file.entries); }
    // The first line that leaves Marlin unable to know a value it needs under
    // HKEY_LOCAL_MACHINE\strKey, or one of these values (RegEntries.h).
    FileError UnknownNeed(const WString &strKey, const std::vector<RegSetting> &values) const
    {
        return FirstUnknownNeed(m_file.entries, strKey, values);
    }

    // The line (from 1) that decides the value under the variables: the
    // last that sets or deletes it, or deletes its key; 0 when none does.
    int DecidingLine(const WString &strPath, const WString &strName) const;
    // Whether the line (from 1) lies in branches taken under the variables.
    bool LineApplies(int nLine) const { return m_file.resolution.LineApplies(nLine); }
    // The names the conditions test, with the text each compares them with
    // (empty where it tests only whether it is defined).
    const std::vector<std::pair<WString, WString>> &TestedVariables() const { return m_file.resolution.tested; }

    // The file with these values as given and every other line as it was
    // (EditPlanner.h). False, with the reason, when no plan can be made or
    // the result would not read back as given with everything else as it was.
    bool Rewrite(const std::vector<RegSetting> &settings, std::vector<BYTE> *pBytes, RewriteFailure *pFailure = nullptr) const;

    // A new file of these values (DocumentWriter.h).
    static std::vector<BYTE> Format(const std::vector<RegSetting> &settings, Dialect dialect = DIALECT_REGEDIT);

private:
    FileAsRead m_file;
    FileError m_error;
};

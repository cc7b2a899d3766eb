// How a rewrite changes a document so that it sets the values asked for and
// nothing else, under the variables it was read under and every other set:
// - a value's deciding line changed in place;
// - lines that set it removed when it becomes absent;
// - a new line in its key's section, or a new section, placed so that no
//   branch not taken loses a value it decides.
// The plan, or the reason there is none.
#pragma once

#include "RegEntries.h"

#include <vector>

enum RewriteFailure
{
    REWRITE_DONE,
    REWRITE_NO_LINE,     // no line can take the value in every configuration
    REWRITE_ENCODING,    // the file's dialect or encoding cannot hold the data
    REWRITE_READ_BACK,   // the result would not read back as intended
};

struct LineEdit
{
    bool bReplaced = false;   // by strText below when bHasText, else by nothing
    bool bHasText = false;
    WString strText;
    ByteString strEnd;
    std::vector<WString> inserts;                       // after the line
    std::vector<const RegSetting *> sectionsBefore;     // new sections in front of it
};

struct EditPlan
{
    std::vector<LineEdit> lines;
    std::vector<const RegSetting *> appended;   // in sections of their own at the end
};

struct FileAsRead   // a document as read under a set of variables
{
    RegDocument document;
    Resolution resolution;
    std::vector<Entry> entries;
    CRegTree tree;
};

RewriteFailure PlanEdits(const FileAsRead &file, const std::vector<RegSetting> &settings, EditPlan *pPlan);

// A value's line as the dialect writes it: "NAME"=DATA, or "NAME"=- for a
// deletion.
bool SettingLine(const RegSetting &setting, const DialectRules &rules, Encoding encoding, WString *pstrLine);

// The keys and values a document sets under a resolution, in file order,
// and the tree they leave: the HKEY_LOCAL_MACHINE tree an import into an
// empty registry leaves (an image's: what the build makes of it). Entries in
// branches not taken are read too, so that a rewrite knows which lines may
// decide a value under other variables.
#pragma once

#include "BuildResolver.h"
#include "RegTree.h"

#include <vector>

struct Entry   // a key or a value, over one or more lines
{
    int nFirst, nLast;     // its lines, from 0
    bool bKey, bDelete;
    bool bMachine;         // under HKEY_LOCAL_MACHINE
    bool bDropped;         // a key name longer than the registry holds: regedit skips it, values and all
    bool bApplies;         // in branches taken
    bool bKeyCertain;      // values: under the same key whatever the variables
    bool bUndefined;       // holds a $(NAME) defined nowhere
    bool bVaries;          // holds a $(NAME) that a block may define
    bool bOpaque;          // a value whose data Marlin cannot know
    WString strPath;       // under HKEY_LOCAL_MACHINE
    WString strName;       // values: as written
    RegValue value;
    WString strKnown;      // keys with a name defined nowhere: the text before it
};

bool ReadEntries(const RegDocument &document, const Resolution &resolution, std::vector<Entry> *pEntries,
                 FileError *pError);
// The entries that apply, in order, on the tree.
void ApplyEntries(const std::vector<Entry> &entries, CRegTree *pTree);

// The entry decides the value when it sets or deletes it, or deletes its key.
bool Decides(const Entry &entry, const RegSetting &setting);
// Under other variables the entry may decide it too.
bool MayDecide(const Entry &entry, const RegSetting &setting);
// The last entry that applies and decides the value; null for none.
const Entry *DecidingEntry(const std::vector<Entry> &entries, const RegSetting &setting);

// Whether a value line that applies sets or deletes one of these.
bool MentionsAny(const std::vector<Entry> &entries, const std::vector<RegSetting> &settings);
// The first key that applies outside HKEY_LOCAL_MACHINE; FILE_OK for none.
FileError FirstForeignKey(const std::vector<Entry> &entries);
// The first entry that applies and leaves Marlin unable to know a value it
// needs: a key that may lie under HKEY_LOCAL_MACHINE\strKey named in part by
// a $(NAME) defined nowhere, or one of the values named so or filled in only
// by the build. FILE_OK for none.
FileError FirstUnknownNeed(const std::vector<Entry> &entries, const WString &strKey, const std::vector<RegSetting> &values);

// A document written out: its lines as they were, but for what a plan
// changes, or a new file of settings.
#pragma once

#include "EditPlanner.h"

#include <vector>

// False for a character the file's encoding cannot hold.
bool WriteDocument(const FileAsRead &file, const EditPlan &plan, ByteString *pstrOut);

// A new file of these values: regedit's "Windows Registry Editor Version
// 5.00", absent values as deletions; or a device image's, with no header
// and only the values present (an image starts without the others), in
// Windows-1252 where every character fits, else in UTF-16. Either has a
// section for every key the settings name.
std::vector<BYTE> FormatNewFile(const std::vector<RegSetting> &settings, Dialect dialect);

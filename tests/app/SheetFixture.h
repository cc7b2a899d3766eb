// A tuning sheet over a record the test fills in, run modally and driven
// through its real controls.
#pragma once

#include "MarlinProp.h"
#include "Input.h"
#include "ModalScript.h"
#include "Readers.h"
#include "TcpParams.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

// Runs the sheet; once it shows, the script runs inside its loop with its
// window. Then the sheet is cancelled, if the script left it open.
void RunScript(CPropertySheet &sheet, const std::function<void(HWND hSheet)> &script);

struct TestAdapter
{
    const wchar_t *pszDisplayName;
    const wchar_t *pszKeyName;
    DWORD dwTcpWindowSize;
};

class SheetTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // theParams with these adapters and the stack's usual values.
    static void SetAdapters(std::initializer_list<TestAdapter> adapters);
    // Runs the sheet; the script sees the sheet and may leave it open.
    void Run(const std::function<void(HWND hSheet)> &script);

    // Brings a page to the front by clicking its tab; returns its window.
    HWND OpenPage(HWND hSheet, CPropertyPage &page);

    CMarlinProp m_sheet{ L"Marlin" };
};

// The record's values, compared as a whole.
struct RecordSnapshot
{
    std::vector<DWORD> windows;
    DWORD dwTcpWindowSize, dwDefaultTTL, bSack, bTimestamps, bWindowScaling, bPmtuDiscovery;

    static RecordSnapshot Take();
    bool operator==(const RecordSnapshot &other) const;
};
std::ostream &operator<<(std::ostream &os, const RecordSnapshot &snapshot);

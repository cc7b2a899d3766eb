// The program as the user meets it: the application object started on the
// sample handheld's registry (the system registry, under Wine), with a
// device that records what was asked of it.
#pragma once

#include "MarlinApp.h"
#include "MarlinProp.h"
#include "RecordingDevice.h"

#include "Input.h"
#include "MessageBoxes.h"
#include "ModalScript.h"
#include "Readers.h"
#include "RegistryHelpers.h"
#include "TcpParams.h"
#include "Win32Registry.h"

#include <map>
#include <string>

// The sample handheld of tests/program/sample-device.reg, as far as the stack cares.
void WriteHandheld(IRegistry &registry);
// Every key and value under HKLM\Comm of the system registry, by path:
// "Comm\ppp1" -> "key", "Comm\ppp1\Parms\TcpIp : TcpWindowSize" -> "dword 32120".
std::map<std::string, std::string> ReadComm();

class ProgramTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    static CMarlinProp &Sheet() { return *static_cast<CMarlinProp *>(theApp.m_pMainWnd); }
    static HWND SheetWindow() { return theApp.m_pMainWnd ? theApp.m_pMainWnd->GetSafeHwnd() : nullptr; }

    // Starts the program as its entry point does; the script's steps run once
    // the sheet shows, then the sheet is cancelled if it is still open.
    void Start();

    CModalScript m_script;
    INT_PTR m_bResult = -1;
};

// The tuning sheet alone over the record loaded from the sample handheld,
// driven step by step: through OK and its message boxes, or cancelled.
class HandheldSheetTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs the sheet until the script is done; cancels it if still open.
    void Run();
    // Steps, in the sheet's loop.
    void PressOk(const char *pszName = "press OK");
    void OpenTab(int nTab);
    // Adds the steps that choose a Settings or Help item from the menu bar.
    void Choose(const wchar_t *pszPopup, const wchar_t *pszItem);

    HWND SheetWindow() const { return m_sheet.GetSafeHwnd(); }
    HWND CurrentPage() const;

    CMarlinProp m_sheet{ L"Marlin" };
    HWND m_hSheetShown = nullptr;   // the sheet's window while it ran
    CModalScript m_script;
    CRecordingDevice m_device;
    INT_PTR m_nResult = -1;
    std::map<std::string, std::string> m_before;  // the registry as the test began
};

extern const wchar_t ENABLE_SCALING[];
extern const wchar_t TTL_RANGE[];
extern const wchar_t RESET_NOW[];
extern const wchar_t SETTINGS_CHANGED[];

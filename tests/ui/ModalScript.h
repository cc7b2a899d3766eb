// Driving modal windows from inside their own message loops: a script of
// steps run from a thread timer, with a time limit.
#pragma once

#include "Dialog.h"
#include "PropertySheet.h"

#include <functional>
#include <string>
#include <vector>

// A step returns true when it is done, false to be tried again at the next
// tick, which is how a step waits for something the platform does later.
using ScriptStep = std::function<bool()>;

// The steps run in order from a thread timer, so they run inside whatever
// loop the thread is in: the sheet's, a dialog's, or a menu's. While a step
// is busy in a nested loop (it opened a menu, say), the next step runs
// from inside that loop.
class CModalScript
{
public:
    CModalScript &Then(const char *pszName, ScriptStep step);
    CModalScript &Do(const char *pszName, std::function<void()> action);

    // Calls fnModal, which runs a modal loop. Once every step is done, or the
    // time limit has passed, open menus are closed and fnClose ends the loop.
    INT_PTR Run(const std::function<INT_PTR()> &fnModal, const std::function<void()> &fnClose,
                DWORD dwTimeLimitMs);

    bool Completed() const;
    // The first step not done when the time ran out; empty otherwise.
    const std::string &TimedOutAt() const { return m_strTimedOutAt; }

private:
    struct Entry
    {
        std::string strName;
        ScriptStep step;
        bool bRunning;
        bool bDone;
    };

    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
    void Tick();
    void Close();

    std::vector<Entry> m_steps;
    std::function<void()> m_fnClose;
    ULONGLONG m_ullDeadline = 0;
    ULONGLONG m_ullClosedAt = 0;
    std::string m_strTimedOutAt;
};

// While one lives, the script's ticks run no steps: for a step that pumps
// messages only to see through what it began, so that the steps after it
// wait for it rather than run inside its pump.
class CScriptHold
{
public:
    CScriptHold();
    ~CScriptHold();
    CScriptHold(const CScriptHold &) = delete;
    CScriptHold &operator=(const CScriptHold &) = delete;
};

const DWORD SCRIPT_TIME_LIMIT_MS = 10000;

// Runs the sheet with the script, then presses its Cancel button.
INT_PTR RunSheet(CPropertySheet &sheet, CModalScript &script, DWORD dwTimeLimitMs = SCRIPT_TIME_LIMIT_MS);
// Runs the dialog with the script, then ends it with IDCANCEL.
INT_PTR RunDialog(CDialog &dialog, CModalScript &script, DWORD dwTimeLimitMs = SCRIPT_TIME_LIMIT_MS);

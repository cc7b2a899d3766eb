#include "ModalScript.h"

#include "MessageBoxes.h"

#include <commctrl.h>

#include <cstdio>

static thread_local CModalScript *s_pRunning;
static thread_local int s_nHolds;

CScriptHold::CScriptHold()
{
    s_nHolds++;
}

CScriptHold::~CScriptHold()
{
    s_nHolds--;
}

CModalScript &CModalScript::Then(const char *pszName, ScriptStep step)
{
    m_steps.push_back({ pszName, std::move(step), false, false });
    return *this;
}

CModalScript &CModalScript::Do(const char *pszName, std::function<void()> action)
{
    return Then(pszName, [action]() {
        action();
        return true;
    });
}

bool CModalScript::Completed() const
{
    for (const Entry &entry : m_steps)
        if (!entry.bDone)
            return false;
    return true;
}

INT_PTR CModalScript::Run(const std::function<INT_PTR()> &fnModal, const std::function<void()> &fnClose,
                          DWORD dwTimeLimitMs)
{
    CModalScript *pOuter = s_pRunning;
    s_pRunning = this;
    m_fnClose = fnClose;
    m_ullDeadline = GetTickCount64() + dwTimeLimitMs;
    m_ullClosedAt = 0;
    m_strTimedOutAt.clear();
    UINT_PTR nTimer = SetTimer(nullptr, 0, 20, TimerProc);
    INT_PTR nResult = fnModal();
    KillTimer(nullptr, nTimer);
    s_pRunning = pOuter;
    return nResult;
}

void CALLBACK CModalScript::TimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    if (s_pRunning && !s_nHolds)
        s_pRunning->Tick();
}

void CModalScript::Tick()
{
    if (m_ullClosedAt)
    {
        // Closing did not end the loop: nothing else will, so the process ends.
        if (GetTickCount64() > m_ullClosedAt + 5000)
        {
            fprintf(stderr, "the modal loop did not end after it was closed\n");
            fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        return;
    }
    if (GetTickCount64() > m_ullDeadline)
    {
        for (const Entry &entry : m_steps)
            if (!entry.bDone)
            {
                m_strTimedOutAt = entry.strName;
                // Said now: a loop that will not close ends the process.
                fprintf(stderr, "the script timed out at \"%s\"\n", entry.strName.c_str());
                break;
            }
        Close();
        return;
    }
    for (size_t i = 0; i < m_steps.size(); i++)
    {
        if (m_steps[i].bDone || m_steps[i].bRunning)
            continue;
        m_steps[i].bRunning = true;
        bool bDone = m_steps[i].step();
        m_steps[i].bRunning = false;
        m_steps[i].bDone = bDone;
        if (bDone && Completed() && !m_ullClosedAt)
            Close();
        return;
    }
}

void CModalScript::Close()
{
    m_ullClosedAt = GetTickCount64();
    EndMenu();
    // A message box left open would keep its owner's loop from ending.
    if (HWND hBox = FindMessageBox())
        EndDialog(hBox, IDCANCEL);
    m_fnClose();
}

// The sheet's window, or failing that this thread's top-level dialog.
static HWND SheetWindow(const CPropertySheet &sheet)
{
    if (sheet.GetSafeHwnd())
        return sheet.GetSafeHwnd();
    HWND hFound = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND hWnd, LPARAM lParam) {
        WCHAR szClass[16] = {};
        GetClassNameW(hWnd, szClass, ARRAYSIZE(szClass));
        if (lstrcmpW(szClass, L"#32770") != 0)
            return TRUE;
        *reinterpret_cast<HWND *>(lParam) = hWnd;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&hFound));
    return hFound;
}

// Cancel is posted, so that a menu the time-out just ended unwinds first.
INT_PTR RunSheet(CPropertySheet &sheet, CModalScript &script, DWORD dwTimeLimitMs)
{
    return script.Run([&sheet]() { return sheet.DoModal(); },
                      [&sheet]() { PostMessageW(SheetWindow(sheet), PSM_PRESSBUTTON, PSBTN_CANCEL, 0); },
                      dwTimeLimitMs);
}

INT_PTR RunDialog(CDialog &dialog, CModalScript &script, DWORD dwTimeLimitMs)
{
    return script.Run([&dialog]() { return dialog.DoModal(); }, [&dialog]() { dialog.EndDialog(IDCANCEL); },
                      dwTimeLimitMs);
}

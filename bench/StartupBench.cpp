// Start-up time of a sheet program against a baseline (minimal_sheet.exe):
// from CreateProcessW until the process shows a visible top-level window.
// Runs the two alternately, so that a slow spell of the machine hits both,
// and prints median and minimum of each, their ratio, the median time from
// Cancel until the process has ended, the size of each executable and its
// peak working set while the sheet is open.
//   startup_bench <program.exe> <baseline.exe> [rounds]
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace
{

const int DEFAULT_ROUNDS = 20;
const DWORD WINDOW_TIMEOUT_MS = 30000;
const DWORD EXIT_TIMEOUT_MS = 10000;

struct CProgram
{
    const WCHAR *pszPath;
    std::vector<double> startMs;
    std::vector<double> peakKb;
    std::vector<double> closeMs;
    int nFailures = 0;
};

double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return 1e3 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct CWindowSearch
{
    DWORD dwProcessId;
    HWND hWnd;
};

BOOL CALLBACK FindShownWindow(HWND hWnd, LPARAM lParam)
{
    CWindowSearch *pSearch = reinterpret_cast<CWindowSearch *>(lParam);
    DWORD dwProcessId = 0;
    GetWindowThreadProcessId(hWnd, &dwProcessId);
    if (dwProcessId != pSearch->dwProcessId || !IsWindowVisible(hWnd))
        return TRUE;
    pSearch->hWnd = hWnd;
    return FALSE;
}

// Polls rather than hooks: the window is there within a millisecond of its
// showing, which is finer than the spread between runs.
HWND WaitForWindow(const PROCESS_INFORMATION &pi, double dDeadline)
{
    for (;;)
    {
        CWindowSearch search = {pi.dwProcessId, nullptr};
        EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
        if (search.hWnd)
            return search.hWnd;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0 || Now() > dDeadline)
            return nullptr;
        Sleep(1);
    }
}

void EndProcess(const PROCESS_INFORMATION &pi)
{
    TerminateProcess(pi.hProcess, 1);
    WaitForSingleObject(pi.hProcess, EXIT_TIMEOUT_MS);
}

// One start of the program; records its figures unless it is the warm-up.
void Run(CProgram &program, bool bRecord)
{
    std::wstring commandLine = std::wstring(L"\"") + program.pszPath + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    double dStart = Now();
    if (!CreateProcessW(program.pszPath, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    {
        std::fwprintf(stderr, L"startup_bench: cannot start %ls: error %lu\n", program.pszPath, GetLastError());
        program.nFailures++;
        return;
    }
    HWND hWnd = WaitForWindow(pi, dStart + WINDOW_TIMEOUT_MS);
    double dShown = Now();
    if (!hWnd)
    {
        std::fwprintf(stderr, L"startup_bench: %ls showed no window within %lu ms\n", program.pszPath,
            WINDOW_TIMEOUT_MS);
        program.nFailures++;
        EndProcess(pi);
    }
    else
    {
        PROCESS_MEMORY_COUNTERS counters = {};
        counters.cb = sizeof(counters);
        BOOL bCounted = GetProcessMemoryInfo(pi.hProcess, &counters, sizeof(counters));
        double dCancel = Now();
        PostMessageW(hWnd, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        if (WaitForSingleObject(pi.hProcess, EXIT_TIMEOUT_MS) != WAIT_OBJECT_0)
        {
            std::fwprintf(stderr, L"startup_bench: %ls did not end within %lu ms of Cancel\n", program.pszPath,
                EXIT_TIMEOUT_MS);
            program.nFailures++;
            EndProcess(pi);
        }
        else if (bRecord)
        {
            program.startMs.push_back(dShown - dStart);
            program.closeMs.push_back(Now() - dCancel);
            if (bCounted)
                program.peakKb.push_back(static_cast<double>(counters.PeakWorkingSetSize) / 1024);
        }
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Min(const std::vector<double> &values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

long long FileSize(const WCHAR *pszPath)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(pszPath, GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

const WCHAR *FileName(const WCHAR *pszPath)
{
    const WCHAR *pszName = pszPath;
    for (const WCHAR *p = pszPath; *p; p++)
        if (*p == L'\\' || *p == L'/')
            pszName = p + 1;
    return pszName;
}

void Print(const CProgram &program)
{
    std::wprintf(L"%-20ls %10.1f %10.1f %10.1f %12lld %12.0f %9d\n", FileName(program.pszPath),
        Median(program.startMs), Min(program.startMs), Median(program.closeMs), FileSize(program.pszPath),
        Median(program.peakKb), program.nFailures);
}

} // namespace

int wmain(int argc, WCHAR **argv)
{
    if (argc < 3 || argc > 4)
    {
        std::fwprintf(stderr, L"usage: startup_bench <program.exe> <baseline.exe> [rounds]\n");
        return 2;
    }
    int nRounds = argc == 4 ? std::max(1, _wtoi(argv[3])) : DEFAULT_ROUNDS;
    CProgram programs[2];
    programs[0].pszPath = argv[1];
    programs[1].pszPath = argv[2];

    for (CProgram &program : programs)
        Run(program, false);
    // Each goes first in every other round, so that neither always follows
    // the other's exit.
    for (int i = 0; i < nRounds; i++)
    {
        Run(programs[i % 2], true);
        Run(programs[1 - i % 2], true);
    }

    std::wprintf(L"Start-up until a window shows, %d rounds each after one warm-up:\n", nRounds);
    std::wprintf(L"%-20ls %10ls %10ls %10ls %12ls %12ls %9ls\n", L"program", L"median ms", L"min ms", L"close ms",
        L"exe bytes", L"peak WS KB", L"failures");
    for (const CProgram &program : programs)
        Print(program);
    double dBaseline = Median(programs[1].startMs);
    if (dBaseline > 0)
        std::wprintf(L"ratio of medians %ls / %ls: %.3f (target at most 1.10)\n", FileName(programs[0].pszPath),
            FileName(programs[1].pszPath), Median(programs[0].startMs) / dBaseline);
    return 0;
}

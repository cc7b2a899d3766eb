// The start-up benchmark's baseline: a one-page property sheet and nothing
// else, so that what Marlin adds to the platform's own cost shows.
#include <windows.h>
#include <commctrl.h>

// Kept in step with minimal_sheet.rc, which is too small for a resource.h.
#define IDD_MINIMAL 101
#define IDS_CAPTION 1

static INT_PTR CALLBACK PageProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof(page);
    page.hInstance = hInstance;
    page.pszTemplate = MAKEINTRESOURCEW(IDD_MINIMAL);
    page.pfnDlgProc = PageProc;

    PROPSHEETHEADERW sheet = {};
    sheet.dwSize = sizeof(sheet);
    sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    sheet.hInstance = hInstance;
    sheet.pszCaption = MAKEINTRESOURCEW(IDS_CAPTION);
    sheet.nPages = 1;
    sheet.ppsp = &page;
    PropertySheetW(&sheet);
    return 0;
}

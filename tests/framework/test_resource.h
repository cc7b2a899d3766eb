// Resource ids of the framework tests' own resources.

// Dialog templates, the menu and its menu-bar description
#define IDD_TEST_DIALOG         201
#define IDD_TEST_PAGE_ALPHA     202
#define IDD_TEST_PAGE_BETA      203
#define IDD_TEST_PAGE_GAMMA     204
#define IDR_TEST_MENUBAR        210

// Controls of the test dialog (2001 up) and of the pages (2101 up)
#define IDC_TEST_NUMBER         2001
#define IDC_TEST_PAGE_FIELD     2002
#define IDC_TEST_RADIO_1        2003
#define IDC_TEST_RADIO_2        2004
#define IDC_TEST_RADIO_3        2005
#define IDC_TEST_CHECK          2006
#define IDC_TEST_BUTTON         2007
#define IDC_TEST_PAGE_CHECK     2101
#define IDC_TEST_LIST           2102

// Commands: the two menu-bar buttons, then the items of their pop-ups
#define ID_TEST_FILE            42000
#define ID_TEST_FILE_OPEN       42001
#define ID_TEST_FILE_SAVE       42002
#define ID_TEST_FILE_EXIT       42003
#define ID_TEST_VIEW            42010
#define ID_TEST_VIEW_ZOOM       42011
#define ID_TEST_VIEW_GRID       42012

// Strings: a sheet caption, a page title and the button labels
#define IDS_TEST_CAPTION        301
#define IDS_TEST_PAGE_TITLE     302
#define IDS_TEST_FILE           303
#define IDS_TEST_VIEW           304

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

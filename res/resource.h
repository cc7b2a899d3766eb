// Resource ids of Marlin.

// Dialog templates, the icon, and the menu with its menu-bar description and
// its keys
#define IDD_ABOUT               101
#define IDD_DTTL                102
#define IDD_PMTU                103
#define IDD_RWIN                104
#define IDD_SACK                105
#define IDI_MARLIN              106
#define IDR_MENUBAR             107
#define IDD_CALCULATOR          108

// Controls of the pages (1005 up) and of the About box (1001 up)
#define IDC_ABOUT_PRODUCT       1001
#define IDC_ABOUT_DESCRIPTION   1002
#define IDC_ABOUT_MAIL          1003
#define IDC_ABOUT_URL           1004
#define IDC_TTL_32              1005
#define IDC_TTL_64              1006
#define IDC_TTL_128             1007
#define IDC_TTL_CUSTOM          1008
#define IDC_TTL                 1009
#define IDC_PMTU_ENABLE         1010
#define IDC_PMTU_DISABLE        1011
#define IDC_ADAPTER             1012
#define IDC_WINDOW_SIZE         1013
#define IDC_WINDOW_SCALING      1014
#define IDC_SACK                1015
#define IDC_TIMESTAMPS          1016
#define IDC_NO_DEVICE_NOTE      1017

// Controls of the Window Calculator
#define IDC_CALC_SPEED          1101
#define IDC_CALC_RTT            1102
#define IDC_CALC_MTU            1103
#define IDC_CALC_WINDOW         1104
#define IDC_CALC_EXPLANATION    1105
#define IDC_CALC_USE            1106
#define IDC_CALC_PLOT           1107

// Commands: the menu-bar buttons themselves, then the items of their pop-ups
#define ID_SETTINGS             40001
#define ID_SETTINGS_DEFAULT     40002
#define ID_SETTINGS_RESET       40003
#define ID_SETTINGS_FOMA        40004
#define ID_SETTINGS_PACKETONE   40005
#define ID_SETTINGS_AIRH        40006
#define ID_SETTINGS_FREED       40007
#define ID_HELPMENU             40008
#define ID_HELP_CONTENTS        40009
#define ID_HELP_ABOUT           40010
#define ID_SETTINGS_RESTORE     40011
#define ID_SETTINGS_CALCULATOR  40012
#define ID_FILEMENU             40013
#define ID_FILE_OPEN            40014
#define ID_FILE_SAVE_AS         40015

// Messages shown on OK, and when help cannot be shown
#define IDS_ENABLE_SCALING      10001
#define IDS_TTL_RANGE           10002
#define IDS_RESET_NOW           10003
#define IDS_SETTINGS_CHANGED    10004
#define IDS_SAVE_FAILED         10005
#define IDS_WINDOW_RANGE        10006
#define IDS_HELP_UNAVAILABLE    10007
#define IDS_BACKUP_FAILED       10008
#define IDS_FILE_WRITTEN        10009
#define IDS_FILE_UNREADABLE     10010
#define IDS_FILE_NOT_REGISTRY   10011
#define IDS_USAGE               10012
#define IDS_RESTORE_NOTHING     10013
#define IDS_RESTORE_FILTER      10014
#define IDS_FILE_READ_ONLY      10015
#define IDS_FILE_WRITE_FAILED   10016
#define IDS_FILE_NOT_READ_BACK  10017
#define IDS_RESTORE_UNREAD      10018
// The File menu: the document's names, its question and its dialogs' types
#define IDS_UNTITLED            10041
#define IDS_DEVICE_REGISTRY     10042
#define IDS_SAVE_CHANGES        10043
#define IDS_OPEN_FILTER         10044
#define IDS_SAVE_FILTER         10045
#define IDS_SAVE_AS_FAILED      10046
// The verb the installer adds to registry files in Explorer
#define IDS_EDIT_WITH_MARLIN    10047
// Why a registry file was refused, one for each of CRegFile's errors
#define IDS_REGFILE_NO_HEADER              10021
#define IDS_REGFILE_NOT_TEXT               10022
#define IDS_REGFILE_BAD_KEY                10023
#define IDS_REGFILE_VALUE_OUTSIDE_KEY      10024
#define IDS_REGFILE_NOT_AN_ENTRY           10025
#define IDS_REGFILE_UNTERMINATED_STRING    10026
#define IDS_REGFILE_BAD_NUMBER             10027
#define IDS_REGFILE_TRUNCATED_CONTINUATION 10028
#define IDS_REGFILE_NOT_MACHINE            10029
#define IDS_REGFILE_UTF8_BOM               10030
#define IDS_REGFILE_BAD_ESCAPE             10031
#define IDS_REGFILE_BROKEN_CONTINUATION    10032
#define IDS_REGFILE_BAD_STRING_BYTES       10033
#define IDS_REGFILE_UNCLOSED_IF            10034
#define IDS_REGFILE_UNMATCHED_CONDITION    10035
#define IDS_REGFILE_UNDEFINED_NAME         10036
#define IDS_REGFILE_BUILD_ERROR            10037
#define IDS_REGFILE_OPAQUE_VALUE           10038
#define IDS_FILE_NO_LINE                   10039
#define IDS_FILE_ENCODING                  10040

// Texts of the Window Calculator: its sentences, what is wrong with a
// field, the fields' names and units, and the picture's labels
#define IDS_CALC_ADVICE            10101
#define IDS_CALC_ADVICE_SCALED     10102
#define IDS_CALC_ADVICE_LARGEST    10103
#define IDS_CALC_CURRENT           10104
#define IDS_CALC_NO_ADAPTER        10105
#define IDS_CALC_SENTENCES         10106
#define IDS_CALC_EMPTY             10107
#define IDS_CALC_NOT_A_NUMBER      10108
#define IDS_CALC_OUT_OF_RANGE      10109
#define IDS_CALC_SPEED             10110
#define IDS_CALC_RTT               10111
#define IDS_CALC_MTU               10112
#define IDS_CALC_KBITS             10113
#define IDS_CALC_MS                10114
#define IDS_CALC_BYTES             10115
#define IDS_CALC_RTT_AXIS          10116
#define IDS_CALC_CURRENT_WINDOW    10117
#define IDS_CALC_SUGGESTED_WINDOW  10118
#define IDS_CALC_LINE_SPEED        10119

// Strings of the parameter store (20001 up), kept with the store
#include "../params/StoreStrings.h"

// Labels of the menu-bar buttons
#define IDS_SETTINGS            30001
#define IDS_HELP                30002
#define IDS_FILE                30003

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif

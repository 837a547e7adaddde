#pragma once
// Resource identifiers of zlt.exe. Included by the .rc files and by C++ code.

// Icons
#define IDI_MAIN 200          // window class icon
#define IDI_BOX_MESSAGE 201       // one-button message boxes
#define IDI_BOX_QUESTION 202      // question boxes
#define IDI_WINDOW_XP 68      // window and tray icon on Windows XP and later
#define IDI_WINDOW_CLASSIC 203 // window and tray icon on older systems

// Dialog templates
#define IDD_ANSWER_BOX 101
#define IDD_MESSAGE_BOX 102
#define IDD_BROWSER_HISTORY 103
#define IDD_SETTINGS 107
#define IDD_PROGRESS_DELETE 115
#define IDD_ABOUT 130
#define IDD_CHECK_UPDATES 134
#define IDD_HELP 135
#define IDD_WHAT_TO_CLEAR 136
#define IDD_CHECK_PASSWORD 140
#define IDD_BROWSER_IE 141
#define IDD_BROWSER_FIREFOX 142
#define IDD_BROWSER_SAFARI 143
#define IDD_BROWSER_OPERA 144
#define IDD_BROWSER_MOZILLA 145
#define IDD_BROWSER_NETSCAPE 146
#define IDD_APPLICATION_HISTORY 147
#define IDD_SHREDDER 148
#define IDD_BROWSER_CHROME 163
#define IDD_BROWSER_CHROMIUM 170 // Edge, Brave and Vivaldi: the Chrome page's template with every box
#define IDD_WINDOWS_HISTORY 77
#define IDD_REPORT_VIEW 2200
#define IDD_COOKIES_TO_KEEP 2400

// Menus, and the commands of the tray menu (app/messages.h names them for the code)
#define IDR_TRAY_MENU 2
#define IDM_TRAY_OPEN_MAIN_WINDOW 306
#define IDM_TRAY_CLEAR_HISTORY 64
#define IDM_TRAY_ABOUT 300
#define IDM_TRAY_HELP 301
#define IDM_TRAY_CHECK_LATEST_VERSION 80
#define IDM_TRAY_EXIT 303

// Bitmaps: toolbar strip (40x32 images on pure blue) and the tray menu's images
#define IDB_TOOLBAR 180
#define IDB_TRAY_OPEN 70
#define IDB_TRAY_CLEAR 71
#define IDB_TRAY_ABOUT 72
#define IDB_TRAY_HELP 73
#define IDB_TRAY_EXIT 75
#define IDB_TRAY_UPDATE 76
#define IDB_LOGO 66 // about page: 153x165, pure blue as the transparent colour

// Apply and Reset of every option page, and the CLEAR (DELETE) button of every browser page
#define IDC_APPLY 928
#define IDC_RESET 930
#define IDC_CLEAR_NOW 884

// Internet Explorer page
#define IDC_IE_HISTORY 917
#define IDC_IE_MOST_POPULAR 918
#define IDC_IE_CACHE 921
#define IDC_IE_COOKIES 936
#define IDC_IE_PASSWORDS 954
#define IDC_IE_DOWNLOADS 955
#define IDC_IE_LAST_SESSION 956
#define IDC_IE_HISTORY_INDEX 927     // "Clear Index.dat files content"
#define IDC_IE_CACHE_INDEX 933
#define IDC_IE_COOKIES_INDEX 943
#define IDC_IE_COMPAT_CACHE_INDEX 1051 // "Delete Index.dat files"
#define IDC_IE_PRIVACIE_INDEX 1052
#define IDC_IE_HISTORY_AT_START 947  // "Delete Index.dat files at Windows startup"
#define IDC_IE_CACHE_AT_START 949
#define IDC_IE_COOKIES_AT_START 958
#define IDC_IE_INDEX_SIZE 1017
#define IDC_IE_INDEX_SIZE_SPIN 1019

// Firefox page
#define IDC_FIREFOX_HISTORY 940
#define IDC_FIREFOX_PURGE 978
#define IDC_FIREFOX_CACHE 941
#define IDC_FIREFOX_COOKIES 953
#define IDC_FIREFOX_PASSWORDS 960
#define IDC_FIREFOX_DOWNLOADS 973
#define IDC_FIREFOX_BOOKMARKS 977
// Today's Firefox: options of options.ini, below the page's own controls
#define IDC_FIREFOX_SESSIONS 2101
#define IDC_FIREFOX_FORM_DATA 2102

// Safari, Opera, Mozilla, Netscape and Chrome pages: history, cache, cookies, passwords, downloads
#define IDC_SAFARI_HISTORY 968
#define IDC_SAFARI_CACHE 969
#define IDC_SAFARI_COOKIES 970
#define IDC_SAFARI_PASSWORDS 971
#define IDC_SAFARI_DOWNLOADS 972
#define IDC_OPERA_HISTORY 920
#define IDC_OPERA_CACHE 924
#define IDC_OPERA_COOKIES 939
#define IDC_OPERA_PASSWORDS 959
#define IDC_OPERA_DOWNLOADS 976
#define IDC_OPERA_SPEED_DIAL 961
#define IDC_MOZILLA_HISTORY 918
#define IDC_MOZILLA_CACHE 922
#define IDC_MOZILLA_COOKIES 937
#define IDC_MOZILLA_PASSWORDS 955
#define IDC_MOZILLA_DOWNLOADS 974
#define IDC_NETSCAPE_HISTORY 919
#define IDC_NETSCAPE_CACHE 923
#define IDC_NETSCAPE_COOKIES 938
#define IDC_NETSCAPE_PASSWORDS 956
#define IDC_NETSCAPE_DOWNLOADS 975
#define IDC_CHROME_HISTORY 1033
#define IDC_CHROME_CACHE 1035
#define IDC_CHROME_COOKIES 1037
#define IDC_CHROME_PASSWORDS 1038
#define IDC_CHROME_DOWNLOADS 1039
// Today's browsers built on Chromium: options of options.ini. Each page's text of the profiles it
// found; on the Chrome and Opera pages below the page's own controls.
#define IDC_CHROME_PROFILES 2103
#define IDC_CHROME_SESSIONS 2104
#define IDC_CHROME_FORM_DATA 2105
#define IDC_OPERA_TODAY_PROFILES 2110
#define IDC_OPERA_TODAY_HISTORY 2111
#define IDC_OPERA_TODAY_CACHE 2112
#define IDC_OPERA_TODAY_COOKIES 2113
#define IDC_OPERA_TODAY_PASSWORDS 2114
#define IDC_OPERA_TODAY_DOWNLOADS 2115
#define IDC_OPERA_TODAY_SESSIONS 2116
#define IDC_OPERA_TODAY_FORM_DATA 2117
#define IDC_CHROMIUM_PROFILES 2120
#define IDC_CHROMIUM_GROUP 2121
#define IDC_CHROMIUM_HISTORY 2122
#define IDC_CHROMIUM_CACHE 2123
#define IDC_CHROMIUM_COOKIES 2124
#define IDC_CHROMIUM_PASSWORDS 2125
#define IDC_CHROMIUM_DOWNLOADS 2126
#define IDC_CHROMIUM_SESSIONS 2127
#define IDC_CHROMIUM_FORM_DATA 2128

// What to Clear page
#define IDC_WHAT_CLEAR_ALL 1000
#define IDC_WHAT_QUICK_SELECT 1002
#define IDC_WHAT_ASK_CLOSE_BROWSERS 1031
#define IDC_WHAT_CONFIRM 1032
#define IDC_WHAT_ON_BROWSER_CLOSE 1040
// Below the page's own controls: the preview of a clearing, and the last clearing's report
#define IDC_WHAT_PREVIEW 2201
#define IDC_WHAT_LAST_REPORT 2202

// Cookies to keep page
#define IDC_KEEP_FOUND 2401
#define IDC_KEEP_LIST 2402
#define IDC_KEEP_MOVE_IN 2403
#define IDC_KEEP_REMOVE 2404
#define IDC_KEEP_EDIT 2405
#define IDC_KEEP_ADD 2406
#define IDC_KEEP_IMPORT 2407
#define IDC_KEEP_STATUS 2408

// Apply, Reset and CLEAR of the Windows and application history pages
#define IDC_HISTORY_APPLY 880
#define IDC_HISTORY_RESET 881

// Windows History page
#define IDC_WIN_CLEAR_NOW 883
#define IDC_WIN_PAGE_FILE 1134
#define IDC_WIN_RECENT_DOCUMENTS 911
#define IDC_WIN_RECENT_ITEMS 914
#define IDC_WIN_TEMP_FOLDERS 1116
#define IDC_WIN_SEARCH_COMPUTERS 1123
#define IDC_WIN_SEARCH_FILES 1119
#define IDC_WIN_RUN_HISTORY 1118
#define IDC_WIN_RECYCLE_BIN 887
#define IDC_WIN_CLIPBOARD 1113
#define IDC_WIN_USER_ASSIST 1120
#define IDC_WIN_STREAMS 1121
#define IDC_WIN_OPEN_SAVE 1122
// Windows 10 and 11 (options.ini)
#define IDC_WIN_EXPLORER_LISTS 2301
#define IDC_WIN_THUMBNAIL_CACHES 2302
#define IDC_WIN_THUMBNAIL_CACHES_AT_START 2303
#define IDC_WIN_ERROR_REPORTS 2304
#define IDC_WIN_POWERSHELL_HISTORY 2305
#define IDC_WIN_CLIPBOARD_HISTORY 2306
#define IDC_WIN_TIMELINE 2307
#define IDC_WIN_RESET_JUMP_LISTS 2308
#define IDC_WIN_SHELLBAGS 2309

// Application History page
#define IDC_APP_CLEAR_NOW 889
#define IDC_APP_TOOLBAR 952
#define IDC_APP_OFFICE 1135
#define IDC_APP_MEDIA_PLAYER 1136
#define IDC_APP_GOOGLE_DESKTOP 1139
#define IDC_APP_SKYPE_CALLS 1141
#define IDC_APP_SKYPE_CHATS 1143
#define IDC_APP_SKYPE_PURGE 1146
#define IDC_APP_SKYPE_ON_QUIT 1148
#define IDC_APP_READER_RECENT 1155
#define IDC_APP_ACROBAT_RECENT 1149
#define IDC_APP_ACROBAT_HISTORY 1151
#define IDC_APP_ACROBAT_COLLECTIONS 1153

// Shredder page
#define IDC_SHRED_APPLY 929
#define IDC_SHRED_RESET 931
#define IDC_SHRED_FILES 1029
#define IDC_SHRED_PROGRESS 1030

// Settings page
#define IDC_SET_APPLY 683
#define IDC_SET_RESET 695
#define IDC_SET_START_WITH_WINDOWS 694
#define IDC_SET_INVISIBLE 703
#define IDC_SET_NO_RECENT_DOCS 932
#define IDC_SET_CLIPBOARD_GROUP 164
#define IDC_SET_CTRL_V 948
#define IDC_SET_SHIFT_INS 951
#define IDC_SET_PASSWORD_ON 697
#define IDC_SET_PASSWORD 698
#define IDC_SET_PASSWORD_AGAIN 699
#define IDC_SET_SCHEDULER_GROUP 165
#define IDC_SET_CLEAR_ON_START 942
#define IDC_SET_CLEAR_ON_EXIT 925
#define IDC_SET_CLEAR_EVERY 696
#define IDC_SET_HOURS 1021
#define IDC_SET_HOURS_SPIN 1024
#define IDC_SET_MINUTES 1026
#define IDC_SET_MINUTES_SPIN 1028
#define IDC_SET_HOURS_LABEL 166
#define IDC_SET_MINUTES_LABEL 167
#define IDC_SET_HOT_KEY_CLEAR_LABEL 168
#define IDC_SET_HOT_KEY_CLOSE_CLEAR_LABEL 169
// The hot-key controls carry the hot keys' own identifiers (156 to 161, control/hot_keys.h).

// Browser History page
#define IDC_BROWSER_HISTORY_TEXT 1100

// About page
#define IDC_ABOUT_NAME 550
#define IDC_ABOUT_LINK 552

// Check for updates page
#define IDC_UPDATE_CHECK 1042
#define IDC_UPDATE_STATUS 1043
#define IDC_UPDATE_PROGRESS 1044
#define IDC_UPDATE_CANCEL 1045

// Controls of the boxes and the password dialog
#define IDC_BOX_TEXT 151
#define IDC_PASSWORD_EDIT 1023
#define IDC_PASSWORD_LABEL 1024

// Progress window
#define IDC_PROGRESS_CANCEL 15
#define IDC_PROGRESS_BAR 1198
#define IDC_PROGRESS_FILE 1199
#define IDC_PROGRESS_STATIC1 1200
#define IDC_PROGRESS_STATIC2 1201
#define IDC_PROGRESS_STATIC3 1202
#define IDC_PROGRESS_GROUP_FILE 1203
#define IDC_PROGRESS_GROUP_BAR 1204

// Report view
#define IDC_REPORT_SUMMARY 2203
#define IDC_REPORT_GROUPS 2204
#define IDC_REPORT_ITEMS 2205
#define IDC_REPORT_OPEN_FOLDER 2206

// Main window children
#define IDC_TOOLBAR 152
#define IDC_SPLITTER 153
#define IDC_NAV_TREE 154

#pragma once
// The program's own window messages (plain numbers from 10000 up, not WM_USER offsets) and the
// WM_COMMAND identifiers that windows and threads send each other.
#include "resources/resource_ids.h"

// Window messages
constexpr unsigned MsgTrayCallback = 10001;    // tray icon -> main window; lParam = mouse message
constexpr unsigned MsgSplitterMoved = 10002;   // splitter -> main window; lParam = signed distance
constexpr unsigned MsgRunFinished = 10008;     // clearing run -> progress window (posted)
constexpr unsigned MsgShowCurrentFile = 10010; // shredder -> progress window (posted)
constexpr unsigned MsgUpdateStatus = 10024;    // update worker -> check page; wParam 1 = finished
constexpr unsigned MsgSelectPage = 10035;      // navigation tree -> main window; wParam = page id
constexpr unsigned MsgPromptClose = 10050;     // worker -> main window (posted); lParam = the question
constexpr unsigned MsgFocusMoved = 10060;      // message loop -> a top-level window: the keyboard moved the focus

// Tray icon
constexpr unsigned kTrayIconId = 150;

// Commands (WM_COMMAND)
constexpr unsigned CmdClearHistory = IDM_TRAY_CLEAR_HISTORY; // tray "Clear History", What to Clear page button
constexpr unsigned CmdRearmBrowserWatch = 79; // pages: restart/stop timer 15
constexpr unsigned CmdCheckLatestVersion = IDM_TRAY_CHECK_LATEST_VERSION;
constexpr unsigned CmdRearmSkypeWatch = 83;   // pages: restart/stop timer 16
constexpr unsigned CmdAbout = IDM_TRAY_ABOUT;
constexpr unsigned CmdHelp = IDM_TRAY_HELP;
constexpr unsigned CmdTrayExit = IDM_TRAY_EXIT;
constexpr unsigned CmdOpenMainWindow = IDM_TRAY_OPEN_MAIN_WINDOW;
constexpr unsigned CmdTools = 2000;
constexpr unsigned CmdHelpTree = 2001;
constexpr unsigned CmdSpacer = 2002;
constexpr unsigned CmdClearAll = 2003;
constexpr unsigned CmdSelectMostOptions = 2005;
constexpr unsigned CmdSaveSettings = 2007;
constexpr unsigned CmdToolbarExit = 2008;
constexpr unsigned CmdExitProgram = 2066;     // the exit path; posted by a run told to end the program

// Timers of the main window
constexpr unsigned TimerShowDelay = 1;
constexpr unsigned TimerScheduler = 11;
constexpr unsigned TimerBrowserWatch = 15;
constexpr unsigned TimerSkypeWatch = 16;

// Clear modes of ClearAll
constexpr int ClearSilent = 0;
constexpr int ClearConfirm = 1;
constexpr int ClearAndExit = 10;

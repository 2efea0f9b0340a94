#pragma once
// The framework's command, string and window ids, read by both the compiler and the resource
// compiler (so: plain #defines). A bar's window id is the command that shows or hides it.

// Strings
#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_IDLEMESSAGE 57345

// Commands the frame handles itself
#define ID_APP_EXIT 57665
#define ID_HELP_INDEX 57666
#define ID_HELP_FINDER 57670

// The bars: window ids and the View menu's toggles
#define ID_VIEW_TOOLBAR 59392
#define ID_VIEW_STATUS_BAR 59393

// Status-bar indicators and their texts
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139

// The frame's first pane (its view)
#define AFX_IDW_PANE_FIRST 59648

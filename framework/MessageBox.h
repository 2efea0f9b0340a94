#pragma once
#include <windows.h>

#include <functional>
#include <string>

// Every message box of the program goes through here: the text comes from the string table and
// the caption is the application's name. Tests replace the handler with a scripted answerer.
using MessageBoxHandler =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;

// Installs a handler and returns the one it replaces; an empty handler restores the real box.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Shows a box with a text already made (a formatted string-table text).
int ShowMessageBox(const std::string& text, UINT type);
// Shows the string-table text id.
int AppMessageBox(UINT idText, UINT type);

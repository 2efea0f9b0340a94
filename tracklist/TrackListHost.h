#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the track list needs from the window that hosts it: where files dropped on it go, and
// the question and the report of a rename typed into a File Name cell. The list decides
// nothing of these itself.
class ITrackListHost
{
public:
    // Paths dropped on the list, in the drop's order.
    virtual void FilesDropped(const std::vector<std::string>& paths) = 0;
    // Asked before a file is renamed from its cell; true to go on.
    virtual bool ConfirmCellRename() = 0;
    // Told when that rename failed (the cell shows the old name again).
    virtual void CellRenameFailed() = 0;
    // A note about the focused row for the status bar (why it was not renamed); empty: none.
    virtual void ShowRowNote(const std::string& note) = 0;
    // A long run is going on: no sort, edit or drop starts meanwhile.
    virtual bool Busy() const = 0;

protected:
    ~ITrackListHost() = default;
};

// What the list is given when it is set up.
struct TrackListSetup
{
    ITrackListHost* host = nullptr;
    HWND menuOwner = nullptr; // receives the context menu's commands
    int widthForColumns = 0;  // each column gets an eighth of it
};

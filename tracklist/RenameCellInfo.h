#pragma once
#include <windows.h>

#include <string>

class CMp3File;

// Posted by the list to itself when a File Name cell was edited, so the rename runs after the
// editor window has gone. The first parameter is the RenameCellInfo.
constexpr UINT WM_RENAMECELL = WM_USER + 1;

struct RenameCellInfo
{
    std::string oldText; // the cell before the edit
    std::string newText; // the cell as edited
    int row;             // the row when the edit ended
    CMp3File* track;     // the row's track, not owned: rows move when sorted
};

#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>

// Walks a folder for the files a user means by dropping it: in each folder its files first, then
// its subfolders, each walked the same way, names in Explorer's order (letter case ignored, runs
// of digits as numbers). Only names ending in "mp3" are offered; hidden and system entries,
// reparse points (junctions, links) and folders met before are passed over, so no walk loops.
// Only one folder's listing is held at a time, besides the folders still to be walked.
class CFolderWalker
{
public:
    // found(path) for each file in order; false from it stops the walk. Returns false when stopped.
    bool Walk(const std::string& folder, const std::function<bool(const std::string& path)>& found);

private:
    // False when the folder was walked before (by its volume and file index) or cannot be opened.
    bool FirstVisit(const std::string& folder);

    std::unordered_set<std::uint64_t> m_visited;
};

// True for an existing folder (not a file).
bool IsFolder(const std::string& path);

// A key naming one file whatever way its path is written: the full path, letter case ignored.
std::uint64_t PathKey(const std::string& path);

#pragma once
#include <functional>
#include <string>

// What became of one file in a rename run.
enum RenameOutcome { RENAME_SKIPPED, RENAME_ALREADY_NAMED, RENAME_DONE, RENAME_NAME_EXISTS };

// The platform's error for a move onto an existing name.
constexpr unsigned long RENAME_ERROR_ALREADY_EXISTS = 183;

// Renames one file to the name built from its tag, in the file's own folder. An empty name or
// one that could leave the folder is skipped without touching the disk; a new path equal to the
// current one byte for byte counts as already named. move() renames the file to the new full
// path and returns 0, or the platform's error.
RenameOutcome RenameFromTag(const std::string& builtName, const std::string& currentPath,
                            const std::function<unsigned long(const std::string& newPath)>& move);

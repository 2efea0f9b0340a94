#include "RenameDecision.h"

#include "model/PathText.h"
#include "rename/NameSafety.h"

RenameOutcome RenameFromTag(const std::string& builtName, const std::string& currentPath,
                            const std::function<unsigned long(const std::string& newPath)>& move)
{
    if (builtName.empty() || IsUnsafeFileName(builtName))
        return RENAME_SKIPPED;
    const std::string newPath = FolderOf(currentPath) + builtName;
    if (newPath == currentPath)
        return RENAME_ALREADY_NAMED;
    const unsigned long error = move(newPath);
    if (error == 0)
        return RENAME_DONE;
    return error == RENAME_ERROR_ALREADY_EXISTS ? RENAME_NAME_EXISTS : RENAME_SKIPPED;
}

#pragma once
#include <string>

// True when a name built from tag texts could leave the file's folder or is not a plain
// name: a ".." segment, a leading separator, a colon (drive or stream), one of < > " | ? *
// or a control byte. Subfolder names such as "sub\song.mp3" are safe.
bool IsUnsafeFileName(const std::string& name);

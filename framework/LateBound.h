#pragma once
#include <windows.h>

// A function of a DLL the window does not need to show itself (playback, help, the Open dialog):
// the DLL loads at the first call rather than with the program, which keeps it out of the
// start-up. Null when the DLL or the function is missing.
template <class Function>
Function* LateBound(const char* dll, const char* name)
{
    HMODULE module = LoadLibraryA(dll);
    FARPROC function = module ? GetProcAddress(module, name) : nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(function));
}

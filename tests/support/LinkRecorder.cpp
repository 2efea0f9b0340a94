// Stands in for a browser in the link tests: appends its command line, as one line, to the file
// named by QUILLFOX_RECORDER_LOG.
#include <windows.h>

#include <cstdio>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char log[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA("QUILLFOX_RECORDER_LOG", log, sizeof log);
    if (length == 0 || length >= sizeof log)
        return 1;
    FILE* file = std::fopen(log, "ab");
    if (!file)
        return 1;
    std::fprintf(file, "%s\n", GetCommandLineA());
    std::fclose(file);
    return 0;
}

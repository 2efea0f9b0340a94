#include "WinApp.h"

// The program's entry: the one application object starts up, then runs its message loop.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CWinApp* app = GetApp();
    if (!app)
        return 1;
    app->m_strCommandLine = GetCommandLineW();
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}

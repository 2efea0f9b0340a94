#pragma once
#include "framework/WinApp.h"

class CQuillfoxApp : public CWinApp
{
public:
    BOOL InitInstance() override;
    // The application's own command: Help > About.
    BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI) override;

protected:
    void OnAppAbout();
};

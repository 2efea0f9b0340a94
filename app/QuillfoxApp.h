#pragma once
#include "framework/WinApp.h"

class CQuillfoxApp : public CWinApp
{
public:
    BOOL InitInstance() override;
};

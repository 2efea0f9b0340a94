#include "QuillfoxApp.h"

// The program's one application object: WinMain finds it through GetApp().
CQuillfoxApp theApp;

// The least a list program shows at start: common controls set up, one top-level window with a
// report list view filling it. The benchmark times its start beside Quillfox's. Started with
// "/furnished" it also has what Quillfox's window has and Wine must lay out and paint: the menu
// bar, a toolbar of six buttons, a status bar and eight headed columns.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <initializer_list>

#include "app/resource.h"

namespace {

LRESULT CALLBACK ProbeProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE: {
        RECT bars{0, 0, 0, 0};
        for (int id : {2, 3}) {
            if (HWND bar = GetDlgItem(window, id)) {
                SendMessageA(bar, msg, wParam, lParam); // the bars place themselves
                RECT rect;
                GetWindowRect(bar, &rect);
                (id == 2 ? bars.top : bars.bottom) = rect.bottom - rect.top;
            }
        }
        MoveWindow(GetDlgItem(window, 1), 0, bars.top, LOWORD(lParam), HIWORD(lParam) - bars.top - bars.bottom, TRUE);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, msg, wParam, lParam);
    }
}

// The furniture of Quillfox's window, from its own resources.
void Furnish(HWND window, HINSTANCE instance)
{
    SetMenu(window, LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME)));
    const UINT commands[] = {ID_FILE_OPEN, ID_FILE_CLOSE, ID_FILE_RENAME, ID_FILE_WRITETAGS, ID_TOOLS_PLAY, ID_TOOLS_STOP};
    TBBUTTON buttons[6]{};
    for (int i = 0; i < 6; ++i)
        buttons[i] = {i, static_cast<int>(commands[i]), TBSTATE_ENABLED, BTNS_BUTTON, {}, 0, 0};
    CreateToolbarEx(window, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, 2, 6, instance, IDR_MAINFRAME, buttons, 6, 16, 15,
                    16, 15, sizeof(TBBUTTON));
    CreateStatusWindowA(WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, "Ready", window, 3);
    static const char* const headings[] = {"File Name", "Title", "Artist", "Album", "Genre", "Year", "Track", "Comment"};
    HWND list = GetDlgItem(window, 1);
    for (int column = 0; column < 8; ++column) {
        LVCOLUMNA lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        lvc.cx = 98;
        lvc.pszText = const_cast<char*>(headings[column]);
        lvc.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&lvc));
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = "QuillfoxStartupProbe";
    RegisterClassA(&wc);
    const bool furnished = std::strstr(commandLine, "/furnished") != nullptr;
    HWND window = CreateWindowExA(0, wc.lpszClassName,
                                  furnished ? "Quillfox startup probe, furnished" : "Quillfox startup probe",
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 800, 600, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 0, 0, window,
                    reinterpret_cast<HMENU>(1), instance, nullptr);
    if (furnished)
        Furnish(window, instance);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

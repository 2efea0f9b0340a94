#include "RunPump.h"

#include <shobjidl.h>

#include "framework/ResString.h"

namespace {

constexpr DWORD PUMP_INTERVAL_MS = 50;

// Keys and clicks that would start something else wait until the run is over.
bool IsUserInput(const MSG& msg)
{
    return (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) ||
           (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST);
}

} // namespace

std::string FormatCount(size_t count)
{
    const std::string digits = std::to_string(count);
    NUMBERFMTA format{};
    char grouping[8] = "", decimal[8] = ".", thousand[8] = ",";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SGROUPING, grouping, sizeof grouping);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, sizeof decimal);
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, thousand, sizeof thousand);
    format.Grouping = grouping[0] >= '1' && grouping[0] <= '9' ? static_cast<UINT>(grouping[0] - '0') : 3;
    format.lpDecimalSep = decimal;
    format.lpThousandSep = thousand;
    char text[64] = "";
    if (GetNumberFormatA(LOCALE_USER_DEFAULT, 0, digits.c_str(), &format, text, sizeof text) <= 0)
        return digits;
    return text;
}

CRunPump::CRunPump(IStatusDisplay& status, HWND window, UINT text, UINT counting, DWORD delayMs)
    : m_status(status), m_hWindow(window), m_nText(text), m_nCounting(counting), m_nStart(GetTickCount()),
      m_nDelay(delayMs)
{
}

CRunPump::~CRunPump()
{
    if (m_pTaskbar) {
        m_pTaskbar->SetProgressState(m_hWindow, TBPF_NOPROGRESS);
        m_pTaskbar->Release();
    }
}

bool CRunPump::Step(size_t done, size_t total)
{
    const DWORD now = GetTickCount();
    if (now - m_nStart < m_nDelay || (m_bShown && now - m_nLastPump < PUMP_INTERVAL_MS))
        return !m_bStop;
    m_nLastPump = now;
    Show(done, total);
    Pump();
    return !m_bStop;
}

void CRunPump::Show(size_t done, size_t total)
{
    if (!m_bShown) {
        m_bShown = true;
        // Where the system has no taskbar progress (Wine), nothing is said.
        if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                    reinterpret_cast<void**>(&m_pTaskbar))))
            m_pTaskbar = nullptr;
    }
    if (total == 0) {
        m_status.ShowMessage(FormatResString(m_nCounting, FormatCount(done).c_str()));
        if (m_pTaskbar)
            m_pTaskbar->SetProgressState(m_hWindow, TBPF_INDETERMINATE);
        return;
    }
    m_status.ShowMessage(FormatResString(m_nText, FormatCount(done).c_str(), FormatCount(total).c_str()));
    if (m_pTaskbar)
        m_pTaskbar->SetProgressValue(m_hWindow, done, total);
}

void CRunPump::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // for the program's own loop
            m_bStop = true;
            return;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            m_bStop = true;
        if (IsUserInput(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

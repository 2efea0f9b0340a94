#pragma once
#include "app/MainFrame.h"
#include "app/QuillfoxApp.h"
#include "framework/Profile.h"
#include "support/GuiTest.h"

extern CQuillfoxApp theApp;

// The real program in the test process: the application object starts the real frame, with the
// file-name format "[title]-[artist].mp3", a fresh folder and a message-box script.
class FrameFixture : public ::testing::Test
{
protected:
    CTempDir dir;
    CMessageBoxScript boxes;
    CMainFrame* frame = nullptr;

    void SetUp() override
    {
        SetRegistryKey("Quillworks", "Quillfox");
        ASSERT_TRUE(WriteProfileString("Options", "RenameFormat", "[title]-[artist].mp3"));
        ASSERT_TRUE(theApp.InitInstance());
        frame = dynamic_cast<CMainFrame*>(theApp.m_pMainWnd);
        ASSERT_NE(frame, nullptr);
        PumpMessages();
    }
    void TearDown() override
    {
        if (theApp.m_pMainWnd) {
            List().DeleteAllTracks();
            frame->DestroyWindow();
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        } // the quit message the frame posts as it goes
    }

    CTrackListCtrl& List() { return frame->View().List(); }
    std::string StatusText(int pane = 0) { return frame->StatusBar().GetText(pane); }
};

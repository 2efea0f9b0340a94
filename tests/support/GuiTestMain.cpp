#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

// The entry of the window tests: common controls registered, then every test.
int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

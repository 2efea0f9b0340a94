#include <gtest/gtest.h>

#include "rename/NameSafety.h"

TEST(NameSafety, NamesThatCouldLeaveTheFolderAreUnsafe)
{
    for (const char* name : {"..", "..\\x", "../x", "a\\..\\b", "a/../b", "x\\..", "a\\b/..",
                             "\\x.mp3", "/x.mp3", "C:x.mp3", "x.mp3:stream"})
        EXPECT_TRUE(IsUnsafeFileName(name)) << name;
}

TEST(NameSafety, ReservedAndControlBytesAreUnsafe)
{
    for (char c : std::string("<>\"|?*"))
        EXPECT_TRUE(IsUnsafeFileName(std::string("a") + c + "b")) << c;
    for (int c = 0; c < 32; ++c)
        EXPECT_TRUE(IsUnsafeFileName(std::string("a") + static_cast<char>(c) + "b")) << c;
}

TEST(NameSafety, OrdinaryNamesDotsAndSubfoldersAreSafe)
{
    for (const char* name : {"song.mp3", "sub\\song.mp3", "sub/song.mp3", "...", "..a", "a..",
                             "x\\...", ".\\x", "100% [live] #1 & more!.mp3", "caf\xE9 \xFF.mp3"})
        EXPECT_FALSE(IsUnsafeFileName(name)) << name;
}

#include <windows.h>

#include "app/resource.h"
#include "framework/Profile.h"
#include "model/Mp3File.h"
#include "rename/NameFormat.h"
#include "support/DialogDriver.h"
#include "support/GuiTest.h"
#include "support/TestFiles.h"

// The program runs with UTF-8 as its code page (its manifest asks for it); these tests do too.
TEST(TagText, ConvertsPerCharacterAndCutsAtCharacterBoundaries)
{
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8));
    struct Case { unsigned codePage; std::string text; size_t slot; std::string bytes; bool replaced, cut; };
    const Case cases[] = {
        {1252, u8"\u0141\u00f3d\u017a", 30, "?\xF3" "d?", true, false},     // no look-alike "L"
        {1252, u8"a\U0001F600b", 30, "a?b", true, false},                  // an emoji is one "?"
        {1251, u8"\u041f\u0440\u0438", 30, "\xCF\xF0\xE8", false, false},
        {932, u8"\u30bd\u30bd\u30bd", 5, "\x83\x5C\x83\x5C", false, true}, // never half a character
        {65001, u8"\u00e9\u00e9\u00e9", 5, u8"\u00e9\u00e9", false, true},
        {1252, "plain", 3, "pla", false, true},
    };
    for (const Case& c : cases) {
        bool replaced = false, cut = false;
        EXPECT_EQ(CTagText(c.codePage).FromText(c.text, c.slot, &replaced, &cut), c.bytes) << c.codePage;
        EXPECT_EQ(replaced, c.replaced) << c.codePage;
        EXPECT_EQ(cut, c.cut) << c.codePage;
    }
    EXPECT_EQ(CTagText(1251).ToText("\xCF\xF0\xE8"), u8"\u041f\u0440\u0438");
    EXPECT_EQ(CTagText(932).ToText("\x83\x5C"), u8"\u30bd");
    EXPECT_TRUE(CTagText(65001).Fits(u8"\u00e9\u00e9", 4));
    EXPECT_FALSE(CTagText(65001).Fits(u8"\u00e9\u00e9\u00e9", 5));
}

TEST(Settings, TextOutsideAsciiSurvivesTheRegistry)
{
    SetRegistryKey("Quillworks", "Quillfox");
    const std::string format = u8"[title] \u2014 [artist] \u0434\u0436.mp3";
    ASSERT_TRUE(WriteProfileString("Test", "Format", format));
    EXPECT_EQ(GetProfileString("Test", "Format", ""), format);
    ASSERT_TRUE(WriteProfileInt("Test", "TagCodePage", 1251));
    EXPECT_EQ(GetProfileInt("Test", "TagCodePage", 0), 1251u);
    EXPECT_EQ(GetProfileInt("Test", "Missing", 7), 7u);
}

namespace {

class CodePageTest : public TrackListFixture
{
protected:
    std::string Song(const std::string& name, const TagBytes& tag)
    {
        WriteMp3(dir / name, 1, tag);
        return dir / name;
    }
    void UseCodePage(unsigned codePage)
    {
        list.Tracks().SetTagCodePage(codePage);
        list.ShowTagCellsAgain();
    }
};

} // namespace

// Names in any script load, show and rename; tags read in the code page they were written in.
TEST_F(CodePageTest, NamesInAnyScriptLoadShowAndRenameFromTagsOfTheirCodePage)
{
    const std::string names[] = {u8"\u041f\u0435\u0441\u043d\u044f.mp3", u8"\u03c4\u03c1\u03b1\u03b3.mp3",
                                 u8"\u66f2\u30bd.mp3", u8"song \U0001F3B5.mp3"};
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(Song(name, TagBytes().Put(TITLE, "\xCF\xE5\xF1\xED\xFF").Put(ARTIST, "\xC0")));
    list.AddFiles(paths);
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(list.GetItemText(row, 0), names[row]) << row;
    EXPECT_EQ(list.GetItemText(0, 1), "\xC3\x8F\xC3\xA5\xC3\xB1\xC3\xAD\xC3\xBF"); // read as 1252

    UseCodePage(1251);
    EXPECT_EQ(list.GetItemText(0, 1), u8"\u041f\u0435\u0441\u043d\u044f");
    EXPECT_EQ(list.GetTrack(0)->GetTitle(), "\xCF\xE5\xF1\xED\xFF"); // the bytes stay

    for (int row = 0; row < 2; ++row)
        list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    CNameFormat format("[title]-[artist].mp3");
    format.CompileFormat();
    EXPECT_EQ(list.RenameSelected(format).counts[RENAME_DONE], 1); // the second one's name is taken then
    const std::string renamed = u8"\u041f\u0435\u0441\u043d\u044f-\u0410.mp3";
    EXPECT_EQ(list.GetItemText(0, 0), renamed);
    EXPECT_TRUE(FileExists(dir / renamed));
    EXPECT_EQ(CMp3File(dir / renamed).GetTitle(), "\xCF\xE5\xF1\xED\xFF");

    // By the cell, into another script.
    const std::string typed = u8"\u65b0\u3057\u3044.mp3";
    list.SetItemText(2, 0, typed);
    list.PostRenameCell(2, names[2], typed);
    boxes.Answer(IDYES);
    PumpMessages();
    EXPECT_EQ(list.GetTrack(2)->GetPath(), dir / typed);
    EXPECT_TRUE(FileExists(dir / typed));
}

// A character the code page lacks is asked about before writing and written as "?"; bytes of a
// field nobody changed go back as they were, even when they mean nothing in the code page.
TEST_F(CodePageTest, UnstorableCharactersAreAskedAboutAndUntouchedBytesStay)
{
    list.AddFiles({Song("a.mp3", TagBytes().Put(TITLE, "old").Put(ALBUM, "\x81\xFF\x80"))});
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.BatchSetText(ID_BATCH_TITLE, u8"\u0141\u00f3d\u017a");
    EXPECT_EQ(list.GetItemText(0, 1), u8"\u0141\u00f3d\u017a");
    EXPECT_EQ(list.Tracks().LossyFieldCount(), 1);
    list.BatchSetText(ID_BATCH_ARTIST, u8"\u0141"); // a second field...
    list.BatchSetText(ID_BATCH_ARTIST, "L");         // ...that holds none again
    EXPECT_EQ(list.Tracks().LossyFieldCount(), 1);

    boxes.Answer(IDYES);
    boxes.Answer(IDNO);
    view.SendMessage(WM_COMMAND, ID_FILE_WRITETAGS);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[1].text, "1 fields hold characters that the tag text encoding cannot store. They will "
                                     "be written as \"?\".\n\nWrite the tags anyway?");
    EXPECT_EQ(boxes.Shown()[1].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(CMp3File(dir / "a.mp3").GetTitle(), "old");
    EXPECT_TRUE(list.GetTrack(0)->IsModified());

    boxes.Answer(IDYES);
    boxes.Answer(IDYES);
    view.SendMessage(WM_COMMAND, ID_FILE_WRITETAGS);
    const CMp3File written(dir / "a.mp3");
    EXPECT_EQ(written.GetTitle(), "?\xF3" "d?");
    EXPECT_EQ(written.GetAlbum(), "\x81\xFF\x80");
    EXPECT_EQ(list.GetItemText(0, 1), u8"?\u00f3d?"); // the cell shows what was written
}

TEST_F(CodePageTest, EditorsTakeNoMoreThanTheSlotHolds)
{
    UseCodePage(65001);
    list.AddFiles({Song("a.mp3", TagBytes())});
    CWnd* editor = list.EditCell(0, 1);
    ASSERT_NE(editor, nullptr);
    editor->SetWindowText(std::string(28, 'x'));
    editor->SendMessage(EM_SETSEL, 28, 28);
    editor->SendMessage(WM_CHAR, 'y');
    const std::string twoBytes = u8"\u00e9";
    editor->SendMessage(WM_CHAR, 0xE9); // a second one no longer fits
    EXPECT_EQ(editor->GetWindowText(), std::string(28, 'x') + "y");

    // Pasted text is cut before the first character that does not fit.
    editor->SetWindowText("");
    const std::wstring pasted = L"\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"
                                L"\u00e9\u00e9\u00e9";
    ASSERT_TRUE(OpenClipboard(*editor));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(memory), pasted.c_str(), (pasted.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    editor->SendMessage(WM_PASTE);
    std::string fifteen;
    for (int i = 0; i < 15; ++i)
        fifteen += twoBytes;
    EXPECT_EQ(editor->GetWindowText(), fifteen);
    list.EndEdit();
    EXPECT_EQ(list.GetTrack(0)->GetTitle(), fifteen);
}

TEST_F(CodePageTest, SortingComparesCharactersWithCaseIgnoredAndKeepsTheAsciiOrder)
{
    UseCodePage(1251);
    list.AddFiles({Song("1.mp3", TagBytes().Put(TITLE, "\xE1")), Song("2.mp3", TagBytes().Put(TITLE, "_x")),
                   Song("3.mp3", TagBytes().Put(TITLE, "\xC0")), Song("4.mp3", TagBytes().Put(TITLE, "B")),
                   Song("5.mp3", TagBytes().Put(TITLE, "a"))});
    CTrackListCtrl::s_sortColumn = -1;
    ClickHeader(1);
    std::vector<std::string> titles;
    for (int row = 0; row < 5; ++row)
        titles.push_back(list.GetItemText(row, 1));
    // "_" before letters, as folding to lower case gives; Cyrillic A before b, either case.
    EXPECT_EQ(titles, (std::vector<std::string>{"_x", "a", "B", u8"\u0410", u8"\u0431"}));
}

// Options > Tag Text Encoding: the choice is stored and every row reads again in it.
TEST_F(CodePageTest, TheChosenEncodingIsStoredAndShownAtOnce)
{
    SetRegistryKey("Quillworks", "Quillfox");
    UseCodePage(1252);
    list.AddFiles({Song("a.mp3", TagBytes().Put(TITLE, "\xCF\xE5\xF1\xED\xFF"))});
    CDialogDriver driver;
    driver.Then([](HWND dialog) {
        EXPECT_TRUE(TextsThatDoNotFit(dialog).empty());
        EXPECT_EQ(ItemText(dialog, IDC_TAG_ENCODING), "1252 Western European (Windows)");
        SendDlgItemMessageA(dialog, IDC_TAG_ENCODING, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                            reinterpret_cast<LPARAM>("1251 Cyrillic"));
        ClickButton(dialog, IDOK);
    });
    view.SendMessage(WM_COMMAND, ID_OPTIONS_TAGENCODING);
    EXPECT_EQ(GetProfileInt("Options", "TagCodePage", 0), 1251u);
    EXPECT_EQ(list.GetItemText(0, 1), u8"\u041f\u0435\u0441\u043d\u044f");
    WriteProfileInt("Options", "TagCodePage", 0); // the later tests read tags in the system's code page
}

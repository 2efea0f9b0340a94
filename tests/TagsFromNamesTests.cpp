#include <windows.h>

#include "app/resource.h"
#include "framework/Profile.h"
#include "support/DialogDriver.h"
#include "support/FrameFixture.h"
#include "support/TestFiles.h"

TEST(LetterCase, EachCaseWorksPerCharacter)
{
    struct Case { LetterCase letterCase; std::wstring text, expected; };
    const Case cases[] = {
        {LetterCase::TITLE, L"don't STOP me-now (live)/2nd \u00e9t\u00c9", L"Don't Stop Me-Now (Live)/2nd \u00c9t\u00e9"},
        {LetterCase::SENTENCE, L"  hELLO wORLD", L"  Hello world"},
        {LetterCase::UPPER, L"stra\u00dfe \u0431\u0443\u043a\u0432\u0430", L"STRA\u00dfE \u0411\u0423\u041a\u0412\u0410"},
        {LetterCase::LOWER, L"\u00c5NGSTR\u00d6M 42", L"\u00e5ngstr\u00f6m 42"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithLetterCase(c.text, c.letterCase), c.expected) << static_cast<int>(c.letterCase);
}

namespace {

class ToolsTest : public FrameFixture
{
protected:
    CTrackView& View() { return frame->View(); }
    std::string Song(const std::string& name, const std::string& title = "", int track = 0)
    {
        const std::string path = dir / name;
        WriteMp3(path, 1, TagBytes().Put(TITLE, title).Byte(TRACK, static_cast<unsigned char>(track)).Byte(GENRE, 255));
        return path;
    }
    void SelectAll()
    {
        for (int row = 0; row < List().GetItemCount(); ++row)
            List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    std::vector<std::string> Column(int column)
    {
        std::vector<std::string> cells;
        for (int row = 0; row < List().GetItemCount(); ++row)
            cells.push_back(List().GetItemText(row, column));
        return cells;
    }
};

} // namespace

TEST_F(ToolsTest, TagsFromFileNamesShowsWhatItReadsAndFillsTheRowsThatMatch)
{
    CreateDirectoryA((dir / "Polar").c_str(), nullptr);
    List().AddFiles({Song("Polar\\Anna Berg - Northern Lights.mp3"), Song("Polar\\untitled.mp3", "Kept"),
                     Song("Polar\\Bo - 07 Snow.MP3")});
    SelectAll();
    List().SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    WriteProfileString("Options", "TagsFromNamesFormat", "");
    std::vector<std::string> seen;
    bool stayedOpen = false;
    CDialogDriver driver;
    driver.Then([&](HWND dialog) {
        EXPECT_TRUE(TextsThatDoNotFit(dialog).empty());
        HWND edit = GetDlgItem(dialog, IDC_FORMAT_TEXT);
        for (const char* format : {"[artist] - [title]", "[artist][title]", "[album]\\[artist] - [title]", "[year] x"}) {
            SetWindowTextA(edit, "");
            for (const char* c = format; *c; ++c)
                SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 0);
            seen.push_back(ItemText(dialog, IDC_FORMAT_EXAMPLE));
        }
        SetWindowTextA(edit, "[artist][title]");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0); // refused: the dialog stays
        stayedOpen = IsWindowVisible(dialog) != FALSE;
        SetWindowTextA(edit, "[album]\\[artist] - [title]");
        ClickButton(dialog, IDOK);
    });
    boxes.Answer(IDOK);
    boxes.Answer(IDOK);
    frame->SendMessage(WM_COMMAND, ID_TOOLS_TAGSFROMNAMES);

    EXPECT_EQ(seen, (std::vector<std::string>{"Title: Northern Lights; Artist: Anna Berg",
                                              "Two fields stand side by side: the name cannot tell where one ends.",
                                              "Title: Northern Lights; Artist: Anna Berg; Album: Polar",
                                              "The name of the file does not match the format."}));
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(boxes.Shown()[0].text, "Two fields stand side by side: the name cannot tell where one ends.");
    EXPECT_EQ(boxes.Shown()[1].text, "2 files were filled from their names.\n1 file names did not match the format.");
    EXPECT_EQ(GetProfileString("Options", "TagsFromNamesFormat", ""), "[album]\\[artist] - [title]");
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Northern Lights", "Kept", "07 Snow"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"Anna Berg", "", "Bo"}));
    EXPECT_EQ(Column(3), (std::vector<std::string>{"Polar", "", "Polar"}));
    EXPECT_EQ(List().ModifiedTracks().GetCount(), 2u);
    EXPECT_FALSE(List().GetTrack(1)->IsModified());

    frame->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"", "Kept", ""}));
    EXPECT_TRUE(List().ModifiedTracks().IsEmpty());
}

TEST_F(ToolsTest, NumberTracksFollowsTheListOrderAndLetterCaseChangesOnlyWhatDiffers)
{
    List().AddFiles({Song("c.mp3", "gamma ray", 9), Song("a.mp3", "Alpha", 9), Song("b.mp3", "BETA", 9)});
    CTrackListCtrl::s_sortColumn = -1;
    NMLISTVIEW click{};
    click.hdr.hwndFrom = List();
    click.hdr.idFrom = IDC_TRACKLIST;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 0;
    View().SendMessage(WM_NOTIFY, IDC_TRACKLIST, reinterpret_cast<LPARAM>(&click));
    SelectAll();
    frame->SendMessage(WM_COMMAND, ID_TOOLS_NUMBERTRACKS);
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a.mp3", "b.mp3", "c.mp3"}));
    EXPECT_EQ(Column(6), (std::vector<std::string>{"1", "2", "3"}));
    frame->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(Column(6), (std::vector<std::string>{"9", "9", "9"}));
    EXPECT_TRUE(List().ModifiedTracks().IsEmpty());

    frame->SendMessage(WM_COMMAND, ID_CASE_TITLE);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Alpha", "Beta", "Gamma Ray"}));
    EXPECT_EQ(List().ModifiedTracks().GetCount(), 2u); // "Alpha" was Title Case already
    frame->SendMessage(WM_COMMAND, ID_CASE_UPPER);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"ALPHA", "BETA", "GAMMA RAY"}));
    frame->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Alpha", "Beta", "Gamma Ray"}));
}

#include <windows.h>

#include "app/resource.h"
#include "framework/Clipboard.h"
#include "support/DialogDriver.h"
#include "support/FrameFixture.h"
#include "support/TestFiles.h"

namespace {

// Records what an enabling rule says of a menu item.
struct CRecordedCmdUI : CCmdUI
{
    explicit CRecordedCmdUI(UINT id) : CCmdUI(id) {}
    void SetText(const std::string& value) override { text = value; }
    std::string text;
};

class RenameTrustTest : public FrameFixture
{
protected:
    CTrackView& View() { return frame->View(); }
    std::string Song(const std::string& name, const std::string& title, const std::string& artist)
    {
        WriteMp3(dir / name, 1, TagBytes().Put(TITLE, title).Put(ARTIST, artist).Byte(GENRE, 255));
        return dir / name;
    }
    void Select(std::initializer_list<int> rows)
    {
        for (int row = 0; row < List().GetItemCount(); ++row)
            List().SetItemState(row, 0, LVIS_SELECTED);
        for (int row : rows)
            List().SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
    CRecordedCmdUI UndoItem()
    {
        CRecordedCmdUI state(ID_EDIT_UNDO);
        CFrameWnd::UpdateCommand(*frame, state);
        return state;
    }
    std::vector<std::string> Column(int column)
    {
        std::vector<std::string> cells;
        for (int row = 0; row < List().GetItemCount(); ++row)
            cells.push_back(List().GetItemText(row, column));
        return cells;
    }
};

void TypeNow(HWND edit, const std::string& text)
{
    for (char c : text)
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}

} // namespace

TEST_F(RenameTrustTest, FormatDialogShowsTheNameOrWhyNotAsKeysAreTyped)
{
    List().AddFiles({Song("a.mp3", "Lights", "Anna")});
    List().SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    std::vector<std::string> seen;
    CDialogDriver driver;
    driver.Then([&seen](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_FORMAT_TEXT);
        const auto after = [&](const std::string& typed) {
            SetWindowTextA(edit, "");
            TypeNow(edit, typed);
            seen.push_back(ItemText(dialog, IDC_FORMAT_EXAMPLE));
        };
        after("[artist] - [title].mp3");
        after("");
        after("[artist");
        after("[name].mp3");
        after("[1][2][3][4][5][6][7][title]");
        after("[artist] [x].mp3");
        ClickButton(dialog, IDCANCEL);
    });
    frame->SendMessage(WM_COMMAND, ID_OPTIONS_FORMAT);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Example: Anna - Lights.mp3", "The format is empty.", "A \"[\" has no \"]\" after it.",
                        "No bracketed word is a field name.", "There are more than seven bracketed words.",
                        "Example: Anna .mp3\n\"[x]\" is no field name: it gives nothing."}));
}

// Each row a run passes over keeps its reason, in its tip and in the status bar while focused.
TEST_F(RenameTrustTest, SkippedRowsSayWhy)
{
    CreateDirectoryA((dir / "sub").c_str(), nullptr);
    List().AddFiles({Song("a.mp3", "T", "A"), Song("b.mp3", "", ""), Song("c.mp3", "a?b", "c"),
                     Song("d.mp3", "T", "A"), Song("e.mp3", "nowhere\\x", "y"), Song("f.mp3", "Held", "H")});
    Select({0, 1, 2, 3, 4, 5});
    HANDLE held = CreateFileA((dir / "f.mp3").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    CNameFormat format("[title]-[artist].mp3");
    format.CompileFormat();
    List().RenameSelected(format);
    CloseHandle(held);
    EXPECT_EQ(List().CellTip(0, 0), "ID3v1 tag");
    EXPECT_EQ(List().CellTip(1, 0), "Not renamed: the tags give no name.\nID3v1 tag");
    EXPECT_EQ(List().CellTip(2, 0), "Not renamed: the name \"a?b-c.mp3\" would leave the folder or holds a "
                                    "character Windows does not allow.\nID3v1 tag");
    EXPECT_EQ(List().CellTip(3, 0), "Not renamed: a file named \"T-A.mp3\" already exists.\nID3v1 tag");
    EXPECT_EQ(List().CellTip(4, 0), "Not renamed: the folder \"nowhere\" does not exist.\nID3v1 tag");
    EXPECT_EQ(List().CellTip(5, 0), "Not renamed: the file is in use by another program.\nID3v1 tag");

    List().SetItemState(1, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(StatusText(), "Not renamed: the tags give no name.");
    Select({}); // selection does not drop it
    EXPECT_EQ(List().CellTip(1, 0).substr(0, 35), "Not renamed: the tags give no name.");
    List().SetItemState(0, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(StatusText(), "Ready");
    Select({1});
    List().BatchSetText(ID_BATCH_TITLE, "x"); // an edit of the row drops it
    EXPECT_EQ(List().CellTip(1, 0), "ID3v1 tag");
}

TEST_F(RenameTrustTest, UndoGivesBackOldNamesWhereItSafelyCan)
{
    List().AddFiles({Song("a.mp3", "T1", "A"), Song("b.mp3", "T2", "A"), Song("c.mp3", "T3", "A"),
                     Song("d.mp3", "T4", "A"), Song("e.mp3", "", "")});
    EXPECT_FALSE(UndoItem().m_bEnabled);
    EXPECT_EQ(UndoItem().text, "&Undo\tCtrl+Z");
    Select({0, 1, 2, 3, 4});
    boxes.Answer(IDYES);
    boxes.Answer(IDOK);
    frame->SendMessage(WM_COMMAND, ID_FILE_RENAME);
    EXPECT_EQ(UndoItem().text, "&Undo Rename of 4 Files\tCtrl+Z");
    EXPECT_TRUE(UndoItem().m_bEnabled);

    MoveFileA((dir / "T2-A.mp3").c_str(), (dir / "moved.mp3").c_str()); // renamed since
    DeleteFileA((dir / "T3-A.mp3").c_str());                            // deleted since
    Song("d.mp3", "taken", "x");                                         // its old name taken
    boxes.Answer(IDOK);
    frame->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    ASSERT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(boxes.Shown()[2].text, "1 files were given back their old names.\n3 files were left as they are: "
                                     "renamed, moved or deleted since, or their old name is taken.");
    EXPECT_EQ(boxes.Shown()[2].type, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));
    EXPECT_EQ(Column(0), (std::vector<std::string>{"a.mp3", "T2-A.mp3", "T3-A.mp3", "T4-A.mp3", "e.mp3"}));
    EXPECT_EQ(Listing(dir.Path()), (std::vector<std::string>{"T4-A.mp3", "a.mp3", "d.mp3", "e.mp3", "moved.mp3"}));
    EXPECT_EQ(List().GetSelectedCount(), 1); // e.mp3, skipped, stays selected
    EXPECT_FALSE(UndoItem().m_bEnabled);

    // A cell rename, and its undo.
    List().SetItemText(0, 0, "new.mp3");
    List().PostRenameCell(0, "a.mp3", "new.mp3");
    boxes.Answer(IDYES);
    PumpMessages();
    EXPECT_EQ(UndoItem().text, "&Undo Rename of 1 File\tCtrl+Z");
    boxes.Answer(IDOK);
    frame->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(List().GetItemText(0, 0), "a.mp3");
    EXPECT_TRUE(FileExists(dir / "a.mp3"));
}

TEST_F(RenameTrustTest, CopyGivesATableAndPasteTakesOneBack)
{
    List().AddFiles({Song("a.mp3", "T1", "A1"), Song("b.mp3", "T2", "A2"), Song("c.mp3", "T3", "A3")});
    Select({0, 2});
    frame->SendMessage(WM_COMMAND, ID_EDIT_COPY);
    EXPECT_EQ(GetClipboardText(*frame), "File Name\tTitle\tArtist\tAlbum\tGenre\tYear\tTrack\tComment\r\n"
                                        "a.mp3\tT1\tA1\t\t\t\t\t\r\nc.mp3\tT3\tA3\t\t\t\t\t\r\n");
    ASSERT_TRUE(OpenClipboard(*frame));
    const char* ansi = static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT)));
    EXPECT_EQ(std::string(ansi ? ansi : "").substr(0, 10), "File Name\t");
    GlobalUnlock(GetClipboardData(CF_TEXT));
    CloseClipboard();

    // Reordered columns by their header, a genre by its name, a spreadsheet's last empty line.
    SetClipboardText(*frame, "Artist\tgenre\tTitle\nX1\tjazz\tY1\nX3\tRock\tY3\n\n");
    frame->SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Y1", "T2", "Y3"}));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"X1", "A2", "X3"}));
    EXPECT_EQ(Column(4), (std::vector<std::string>{"Jazz", "", "Rock"}));
    EXPECT_EQ(List().ModifiedTracks().GetCount(), 2u);
    EXPECT_EQ(UndoItem().text, "&Undo Paste\tCtrl+Z");

    // Without a header, in Copy's order; then a table that does not fit changes nothing.
    SetClipboardText(*frame, "x\tP1\tQ1\r\ny\tP3\tQ3\t\t\t\t5\r\n");
    frame->SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"P1", "T2", "P3"}));
    EXPECT_EQ(List().GetItemText(2, 6), "5");
    SetClipboardText(*frame, "only one line\n");
    boxes.Answer(IDOK);
    frame->SendMessage(WM_COMMAND, ID_EDIT_PASTE);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "The clipboard holds tags for 1 files, but 2 files are selected. Nothing was pasted.");
    EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_ICONEXCLAMATION | MB_OK));
    EXPECT_EQ(Column(1), (std::vector<std::string>{"P1", "T2", "P3"}));

    // Undo puts the paste's rows back as they were before it.
    frame->SendMessage(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(Column(1), (std::vector<std::string>{"Y1", "T2", "Y3"}));
}

// Inside an open editor Ctrl+C and Ctrl+V are the editor's, not the rows'.
TEST_F(RenameTrustTest, ClipboardKeysInAnEditorActOnItsText)
{
    List().AddFiles({Song("a.mp3", "Title", "A")});
    SetForegroundWindow(*frame);
    CWnd* editor = List().EditCell(0, 1);
    ASSERT_NE(editor, nullptr);
    SetClipboardText(*frame, "rows\tshould\tnot\tcome");
    editor->SendMessage(EM_SETSEL, 0, -1);
    const auto ctrl = [&](WPARAM key) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        editor->PostMessage(WM_KEYDOWN, key, 0);
        PumpMessages();
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
    };
    ctrl('C');
    EXPECT_EQ(GetClipboardText(*frame), "Title");
    editor->SendMessage(EM_SETSEL, 5, 5);
    ctrl('V');
    EXPECT_EQ(editor->GetWindowText(), "TitleTitle");
    EXPECT_EQ(List().GetItemText(0, 1), "Title");
    List().EndEdit();
}

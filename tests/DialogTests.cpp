#include "app/resource.h"
#include "dialogs/GenreBatchDlg.h"
#include "dialogs/TagBatchDlg.h"
#include "model/GenreTable.h"
#include "support/DialogDriver.h"
#include "support/GuiTest.h"

namespace {

constexpr char FORTY_CHARACTERS[] = "A comment of forty characters, 1234567..";
static_assert(sizeof FORTY_CHARACTERS == 41, "forty characters and the zero");

using DialogTest = HostFixture;

// Selects an entry of the open genre list by its text, as a user picking it would.
void ChooseGenre(HWND dialog, const std::string& name)
{
    const HWND list = GetDlgItem(dialog, IDC_BATCH_GENRE);
    const LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(name.c_str()));
    ASSERT_NE(index, CB_ERR) << name;
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ListEntry(HWND list, int index)
{
    char text[64] = "";
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

} // namespace

// The dialog, owned by the main window (disabled meanwhile), asks for its field and gives back
// the text as typed on Enter; Escape, Cancel and the close box give Cancel and no text.
TEST_F(DialogTest, TextDialogAsksForItsFieldAndGivesBackTheTextAsTyped)
{
    struct Case { int id; std::string field; std::string typed; int end; };
    const Case cases[] = {
        {ID_BATCH_TITLE, "Title", "Morning Song", 0}, {ID_BATCH_ARTIST, "Artist", "", 0},
        {ID_BATCH_ALBUM, "Album", "   ", 0}, {ID_BATCH_YEAR, "Year", "19x9", 0},
        {ID_BATCH_TRACK, "Track Number", "12a", 0}, {ID_BATCH_COMMENT, "Comment", FORTY_CHARACTERS, 0},
        {ID_BATCH_ALBUM, "Album", "typed", 1}, {ID_BATCH_ALBUM, "Album", "typed", 2}, {ID_BATCH_ALBUM, "Album", "typed", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field + " " + std::to_string(c.end));
        CTagBatchDlg dlg(c.id);
        std::string caption, prompt;
        int focus = 0;
        HWND owner = nullptr;
        BOOL ownerEnabled = TRUE;
        Texts cut;
        CDialogDriver driver;
        driver.Then([&](HWND d) {
            caption = WindowText(d);
            prompt = ItemText(d, IDC_BATCH_PROMPT);
            focus = FocusedId(d);
            owner = GetWindow(d, GW_OWNER);
            ownerEnabled = IsWindowEnabled(host);
            cut = TextsThatDoNotFit(d);
            TypeText(GetDlgItem(d, IDC_BATCH_VALUE), c.typed);
            if (c.end == 0 || c.end == 1)
                PressKey(d, c.end == 0 ? VK_RETURN : VK_ESCAPE);
            else if (c.end == 2)
                ClickButton(d, IDCANCEL);
            else
                CloseBox(d);
        });
        EXPECT_EQ(dlg.DoModal(), c.end == 0 ? IDOK : IDCANCEL);
        EXPECT_EQ(dlg.m_strValue, c.end == 0 ? c.typed : "");
        EXPECT_EQ(caption, "Batch-Edit Tag - " + c.field);
        EXPECT_EQ(prompt, "Enter new " + c.field + " tag for group of selected files.");
        EXPECT_EQ(focus, IDC_BATCH_VALUE);
        EXPECT_EQ(cut, Texts{});
        EXPECT_EQ(owner, host.m_hWnd);
        EXPECT_FALSE(ownerEnabled);
        EXPECT_TRUE(IsWindowEnabled(host));
    }

    // With no main window the dialog has no owner, and nothing is disabled.
    app.m_pMainWnd = nullptr;
    HWND owner = host;
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        owner = IsWindowEnabled(host) ? GetWindow(d, GW_OWNER) : host.m_hWnd;
        PressKey(d, VK_ESCAPE);
    });
    CTagBatchDlg(ID_BATCH_TITLE).DoModal();
    EXPECT_EQ(owner, nullptr);
}

TEST_F(DialogTest, TextsLongerThanTheEditBoxDefaultLimitCanBeTypedAndComeBackWhole)
{
    const std::string pasted(35000, 'p');
    CTagBatchDlg dlg(ID_BATCH_COMMENT);
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        const HWND edit = GetDlgItem(d, IDC_BATCH_VALUE);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pasted.c_str()));
        SendMessageA(edit, EM_SETSEL, pasted.size(), pasted.size());
        TypeText(edit, "z");
        PressKey(d, VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strValue, pasted + "z");
}

TEST_F(DialogTest, GenreListHoldsNoneAndEveryGenre)
{
    CGenreBatchDlg dlg;
    int count = 0, focus = 0;
    std::string caption, first, last;
    Texts missing, cut;
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        const HWND list = GetDlgItem(d, IDC_BATCH_GENRE);
        caption = WindowText(d);
        count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        first = ListEntry(list, 0);
        last = ListEntry(list, count - 1);
        for (int genre = 0; genre < GENRE_COUNT; ++genre) {
            if (SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(GenreTable[genre])) == CB_ERR)
                missing.push_back(GenreTable[genre]);
        }
        focus = FocusedId(d);
        cut = TextsThatDoNotFit(d);
        PressKey(d, VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(caption, "Batch-Edit Tag - Genre");
    EXPECT_EQ(count, 149);
    EXPECT_EQ(first, "<none>");
    EXPECT_EQ(last, "Vocal");
    EXPECT_EQ(missing, Texts{});
    EXPECT_EQ(focus, IDC_BATCH_GENRE);
    EXPECT_EQ(cut, Texts{});
    EXPECT_EQ(dlg.GetChosenGenre(), -1); // OK without a choice
}

// Found by name: the list's order is the platform's sort, which under Wine ignores hyphens.
// Each OK reads the list afresh, even on an object that chose a genre before.
TEST_F(DialogTest, ChosenGenreNameGivesItsNumberAndNoneOrCancelGiveMinusOne)
{
    struct Case { std::vector<const char*> choices; int key; INT_PTR result; int genre; };
    const Case cases[] = {
        {{"Blues"}, VK_RETURN, IDOK, 0}, {{"SynthPop"}, VK_RETURN, IDOK, 147}, {{"A Capella"}, VK_RETURN, IDOK, 123},
        {{"Vocal"}, VK_RETURN, IDOK, 28}, {{"Euro-Techno"}, VK_RETURN, IDOK, 25}, {{"Eurodance"}, VK_RETURN, IDOK, 54},
        {{"Euro House"}, VK_RETURN, IDOK, 124}, {{"Jazz", "<none>"}, VK_RETURN, IDOK, -1},
        {{"Jazz"}, VK_RETURN, IDOK, 8}, {{}, VK_RETURN, IDOK, -1}, {{"Rock"}, VK_ESCAPE, IDCANCEL, -1},
    };
    CGenreBatchDlg reused;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.choices.empty() ? "nothing" : c.choices.back());
        std::string selected;
        CDialogDriver driver;
        driver.Then([&](HWND d) {
            const HWND list = GetDlgItem(d, IDC_BATCH_GENRE);
            selected = ListEntry(list, static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)));
            for (const char* choice : c.choices)
                ChooseGenre(d, choice);
            PressKey(d, c.key);
        });
        CGenreBatchDlg fresh;
        CGenreBatchDlg& dlg = c.key == VK_ESCAPE ? fresh : reused;
        EXPECT_EQ(dlg.DoModal(), c.result);
        EXPECT_EQ(dlg.GetChosenGenre(), c.genre);
        EXPECT_EQ(selected, "<none>"); // every opening starts on <none>
    }
}

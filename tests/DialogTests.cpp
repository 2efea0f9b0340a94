#include "app/resource.h"
#include "dialogs/GenreBatchDlg.h"
#include "dialogs/TagBatchDlg.h"
#include "model/GenreTable.h"
#include "support/DialogDriver.h"
#include "support/GuiTest.h"

namespace {

using Texts = std::vector<std::string>;

constexpr char FORTY_CHARACTERS[] = "A comment of forty characters, 1234567..";
static_assert(sizeof FORTY_CHARACTERS == 41, "forty characters and the zero");

class DialogTest : public ::testing::Test
{
protected:
    CTestApp app;
    CTestHost host;
    CMessageBoxScript boxes;

    void SetUp() override { app.m_pMainWnd = &host; }
};

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

TEST_F(DialogTest, TextDialogAsksForItsFieldAndGivesBackTheTextAsTyped)
{
    struct Case { int id; std::string field; std::string typed; };
    const Case cases[] = {
        {ID_BATCH_TITLE, "Title", "Morning Song"},
        {ID_BATCH_ARTIST, "Artist", ""},
        {ID_BATCH_ALBUM, "Album", "   "},
        {ID_BATCH_YEAR, "Year", "19x9"},
        {ID_BATCH_TRACK, "Track Number", "12a"},
        {ID_BATCH_COMMENT, "Comment", FORTY_CHARACTERS},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        CTagBatchDlg dlg(c.id);
        std::string caption, prompt;
        int focus = 0;
        Texts cut;
        CDialogDriver driver;
        driver.Then([&](HWND d) {
            caption = WindowText(d);
            prompt = ItemText(d, IDC_BATCH_PROMPT);
            focus = FocusedId(d);
            cut = TextsThatDoNotFit(d);
            TypeText(GetDlgItem(d, IDC_BATCH_VALUE), c.typed);
            PressKey(d, VK_RETURN);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(caption, "Batch-Edit Tag - " + c.field);
        EXPECT_EQ(prompt, "Enter new " + c.field + " tag for group of selected files.");
        EXPECT_EQ(focus, IDC_BATCH_VALUE);
        EXPECT_EQ(cut, Texts{});
        EXPECT_EQ(dlg.m_strValue, c.typed);
    }
}

TEST_F(DialogTest, EscapeCancelAndTheCloseBoxGiveCancelWithoutReadingTheText)
{
    const std::function<void(HWND)> ways[] = {
        [](HWND d) { PressKey(d, VK_ESCAPE); },
        [](HWND d) { ClickButton(d, IDCANCEL); },
        [](HWND d) { CloseBox(d); },
    };
    int way = 0;
    for (const auto& end : ways) {
        SCOPED_TRACE(way++);
        CTagBatchDlg dlg(ID_BATCH_ALBUM);
        CDialogDriver driver;
        driver.Then([&](HWND d) {
            TypeText(GetDlgItem(d, IDC_BATCH_VALUE), "typed");
            end(d);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.m_strValue, "");
    }
}

TEST_F(DialogTest, MainWindowOwnsTheDialogAndIsDisabledWhileItIsOpen)
{
    CTagBatchDlg dlg(ID_BATCH_TITLE);
    HWND owner = nullptr;
    BOOL ownerEnabled = TRUE;
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        owner = GetWindow(d, GW_OWNER);
        ownerEnabled = IsWindowEnabled(host);
        PressKey(d, VK_ESCAPE);
    });
    dlg.DoModal();
    EXPECT_EQ(owner, host.m_hWnd);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(host));

    // With no main window the dialog has no owner, and nothing is disabled.
    app.m_pMainWnd = nullptr;
    driver.Then([&](HWND d) {
        owner = GetWindow(d, GW_OWNER);
        ownerEnabled = IsWindowEnabled(host);
        PressKey(d, VK_ESCAPE);
    });
    dlg.DoModal();
    EXPECT_EQ(owner, nullptr);
    EXPECT_TRUE(ownerEnabled);
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

TEST_F(DialogTest, GenreListHoldsNoneAndEveryGenreAndStartsOnNone)
{
    CGenreBatchDlg dlg;
    int count = 0, focus = 0;
    std::string caption, selected, first, last;
    Texts missing, cut;
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        const HWND list = GetDlgItem(d, IDC_BATCH_GENRE);
        caption = WindowText(d);
        count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
        selected = ListEntry(list, static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)));
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
    EXPECT_EQ(selected, "<none>");
    EXPECT_EQ(first, "<none>");
    EXPECT_EQ(last, "Vocal");
    EXPECT_EQ(missing, Texts{});
    EXPECT_EQ(focus, IDC_BATCH_GENRE);
    EXPECT_EQ(cut, Texts{});
    EXPECT_EQ(dlg.GetChosenGenre(), -1); // OK without a choice
}

TEST_F(DialogTest, ChosenGenreNameGivesItsNumber)
{
    // Found by name: the list's order is the platform's sort, which under Wine ignores hyphens.
    const std::pair<const char*, int> cases[] = {
        {"Blues", 0}, {"SynthPop", 147}, {"A Capella", 123}, {"Vocal", 28},
        {"Euro-Techno", 25}, {"Eurodance", 54}, {"Euro House", 124},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        CGenreBatchDlg dlg;
        CDialogDriver driver;
        driver.Then([&](HWND d) {
            ChooseGenre(d, c.first);
            PressKey(d, VK_RETURN);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(dlg.GetChosenGenre(), c.second);
    }
}

TEST_F(DialogTest, NoneAfterAGenreGivesMinusOneAndCancelChoosesNothing)
{
    CGenreBatchDlg dlg;
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        ChooseGenre(d, "Jazz");
        ChooseGenre(d, "<none>");
        PressKey(d, VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetChosenGenre(), -1);

    // Each OK reads the list afresh, even on an object that chose a genre before.
    std::string selected;
    driver.Then([&](HWND d) {
        ChooseGenre(d, "Jazz");
        PressKey(d, VK_RETURN);
    });
    driver.Then([&](HWND d) {
        const HWND list = GetDlgItem(d, IDC_BATCH_GENRE);
        selected = ListEntry(list, static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0)));
        PressKey(d, VK_RETURN);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.GetChosenGenre(), 8);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(selected, "<none>");
    EXPECT_EQ(dlg.GetChosenGenre(), -1);

    CGenreBatchDlg cancelled;
    driver.Then([&](HWND d) {
        ChooseGenre(d, "Rock");
        PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
    EXPECT_EQ(cancelled.GetChosenGenre(), -1);
}

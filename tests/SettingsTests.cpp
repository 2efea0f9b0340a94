#include "app/resource.h"
#include "dialogs/NameFormatDlg.h"
#include "framework/Profile.h"
#include "model/Mp3File.h"
#include "support/DialogDriver.h"
#include "support/GuiTest.h"

// These tests delete and rewrite HKEY_CURRENT_USER\Software\Quillworks: they run only inside the
// build folder's private Wine prefix, never in a user's own registry.

namespace {

using Texts = std::vector<std::string>;

const char* const COMPANY_KEY = "Software\\Quillworks";
const char* const APP_KEY = "Software\\Quillworks\\Quillfox";
const char* const OPTIONS_KEY = "Software\\Quillworks\\Quillfox\\Options";
const char* const VALUE = "RenameFormat";
const char* const INVALID_TEXT = "The file name format is invalid. Make sure all tags are surronded by brackets "
                                 "(ex. [title] ) and there is at least one tag.";
const char* const NOT_SAVED_TEXT =
    "The file name format could not be saved. It applies only until Quillfox is closed.";

std::string Environment(const char* name)
{
    char value[MAX_PATH * 4] = "";
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length < sizeof value ? value : "";
}

// True when WINEPREFIX names a private prefix such as build/wineprefix (not ~/.wine).
bool InPrivateWinePrefix(std::string& prefix)
{
    prefix = Environment("WINEPREFIX");
    while (!prefix.empty() && prefix.back() == '/')
        prefix.pop_back();
    const std::string suffix = "wineprefix";
    if (prefix.size() < suffix.size() || prefix.compare(prefix.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string home = Environment("HOME");
    return home.empty() || prefix != home + "/.wine";
}

bool KeyExists(const char* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The stored value as its type and raw bytes, "" when there is none.
std::string ReadStored()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, OPTIONS_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::string();
    DWORD type = 0, size = 0;
    std::string stored;
    if (RegQueryValueExA(key, VALUE, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::string bytes(size, '\0');
        RegQueryValueExA(key, VALUE, nullptr, &type, reinterpret_cast<BYTE*>(&bytes[0]), &size);
        stored = std::to_string(type) + ":" + bytes.substr(0, size);
    }
    RegCloseKey(key);
    return stored;
}

std::string StringValue(const std::string& text)
{
    return std::to_string(REG_SZ) + ":" + text + '\0';
}

void Store(DWORD type, const std::string& bytes)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, OPTIONS_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, VALUE, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

// The name a format builds for a track with these fields.
std::string NameFor(const CNameFormat& format)
{
    CMp3File track;
    track.SetTitle("Song");
    track.SetArtist("Band");
    track.SetAlbum("Record");
    return format.BuildFileName(track);
}

class SettingsTest : public ::testing::Test
{
protected:
    CTestApp app;
    CTestHost host;
    CMessageBoxScript boxes;
    bool m_bPrivate = false;

    void SetUp() override
    {
        std::string prefix;
        m_bPrivate = InPrivateWinePrefix(prefix);
        ASSERT_TRUE(m_bPrivate) << "refusing to touch the registry: WINEPREFIX is \"" << prefix
                                << "\", not the build folder's private prefix";
        app.m_pMainWnd = &host;
        RegDeleteTreeA(HKEY_CURRENT_USER, COMPANY_KEY);
        ASSERT_FALSE(KeyExists(COMPANY_KEY));
        SetRegistryKey("Quillworks", app.m_strAppName);
    }
    void TearDown() override
    {
        if (m_bPrivate)
            RegDeleteTreeA(HKEY_CURRENT_USER, COMPANY_KEY);
    }

    // Opens the dialog, types the text in place of the one shown, and presses Enter.
    INT_PTR Enter(CNameFormatDlg& dlg, const std::string& text)
    {
        CDialogDriver driver;
        driver.Then([&](HWND d) {
            ReplaceText(GetDlgItem(d, IDC_FORMAT_TEXT), text);
            PressKey(d, VK_RETURN);
        });
        return dlg.DoModal();
    }
    // Opens the dialog and cancels it; returns the text it showed.
    std::string Shown(CNameFormatDlg& dlg)
    {
        std::string shown;
        CDialogDriver driver;
        driver.Then([&](HWND d) {
            shown = ItemText(d, IDC_FORMAT_TEXT);
            PressKey(d, VK_ESCAPE);
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        return shown;
    }
};

} // namespace

TEST_F(SettingsTest, FirstStartShowsTheDefaultFormatAndCreatesTheKeys)
{
    CNameFormatDlg dlg;
    EXPECT_EQ(dlg.GetFormat(), "[title]-[artist].mp3");
    EXPECT_EQ(NameFor(dlg), "Song-Band.mp3");
    EXPECT_TRUE(KeyExists(OPTIONS_KEY));
    EXPECT_EQ(ReadStored(), ""); // reading stores nothing

    std::string caption, shown;
    int focus = 0;
    Texts statics, cut;
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        caption = WindowText(d);
        shown = ItemText(d, IDC_FORMAT_TEXT);
        focus = FocusedId(d);
        for (HWND child = GetWindow(d, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (GetDlgCtrlID(child) == -1 || GetDlgCtrlID(child) == 0xFFFF)
                statics.push_back(WindowText(child));
        }
        cut = TextsThatDoNotFit(d);
        PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(caption, "MP3 File Name Format");
    EXPECT_EQ(shown, "[title]-[artist].mp3");
    EXPECT_EQ(focus, IDC_FORMAT_TEXT);
    EXPECT_EQ(statics, (Texts{"Specify the format of the new file name. It can be any combination of text "
                              "characters and ID tags. All ID tags must be surrounded by [ brackets ].",
                              "Valid tags are:   [title]", "[track]", "[artist]", "[year]", "[album]",
                              "[comment]", "[genre]"}));
    EXPECT_EQ(cut, Texts{});
    EXPECT_EQ(ReadStored(), "");
}

TEST_F(SettingsTest, ValidFormatIsStoredAsTypedAndShownAtTheNextStart)
{
    CNameFormatDlg dlg;
    EXPECT_EQ(Enter(dlg, "[artist] - [title].mp3"), IDOK);
    EXPECT_EQ(ReadStored(), StringValue("[artist] - [title].mp3"));
    EXPECT_EQ(dlg.GetFormat(), "[artist] - [title].mp3");
    EXPECT_EQ(NameFor(dlg), "Band - Song.mp3");

    CNameFormatDlg nextStart;
    EXPECT_EQ(nextStart.GetFormat(), "[artist] - [title].mp3");
    EXPECT_EQ(NameFor(nextStart), "Band - Song.mp3");
    EXPECT_EQ(Shown(nextStart), "[artist] - [title].mp3");
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(SettingsTest, InvalidFormatIsTakenButNotStored)
{
    Store(REG_SZ, std::string("[album].mp3", 12));
    const std::string invalid[] = {"song.mp3", "[title", "[title][artist][album][genre][year][track][comment][title]"};
    for (const std::string& text : invalid) {
        SCOPED_TRACE(text);
        CNameFormatDlg dlg;
        EXPECT_EQ(Enter(dlg, text), IDOK); // the command, not the dialog, refuses it
        EXPECT_EQ(dlg.GetFormat(), text);
        EXPECT_EQ(NameFor(dlg), "");
        EXPECT_EQ(ReadStored(), StringValue("[album].mp3"));
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(SettingsTest, CancelKeepsTheFormatAndTheStoredValue)
{
    Store(REG_SZ, std::string("[album].mp3", 12));
    CNameFormatDlg dlg;
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        ReplaceText(GetDlgItem(d, IDC_FORMAT_TEXT), "[title].mp3");
        PressKey(d, VK_ESCAPE);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetFormat(), "[album].mp3");
    EXPECT_EQ(NameFor(dlg), "Record.mp3");
    EXPECT_EQ(ReadStored(), StringValue("[album].mp3"));
    EXPECT_EQ(Shown(dlg), "[album].mp3");
}

TEST_F(SettingsTest, StoredValueIsReadWholeAndAsItIs)
{
    {
        SCOPED_TRACE("invalid");
        Store(REG_SZ, std::string("song.mp3", 9));
        CNameFormatDlg dlg;
        EXPECT_EQ(dlg.GetFormat(), "song.mp3");
        EXPECT_EQ(NameFor(dlg), ""); // renaming skips every file
        EXPECT_EQ(Shown(dlg), "song.mp3");
    }
    {
        SCOPED_TRACE("not a string");
        Store(REG_DWORD, std::string("\x01\x00\x00\x00", 4));
        CNameFormatDlg dlg;
        EXPECT_EQ(dlg.GetFormat(), "[title]-[artist].mp3");
    }
    {
        SCOPED_TRACE("no terminating zero");
        Store(REG_SZ, "[artist].mp3");
        EXPECT_EQ(CNameFormatDlg().GetFormat(), "[artist].mp3");
        Store(REG_SZ, std::string("[year].mp3\0tail", 15));
        EXPECT_EQ(CNameFormatDlg().GetFormat(), "[year].mp3");
        Store(REG_SZ, "");
        EXPECT_EQ(CNameFormatDlg().GetFormat(), "");
    }
    {
        SCOPED_TRACE("40,000 characters");
        const std::string long40k = "[title]" + std::string(40000 - 7, 'x');
        Store(REG_SZ, long40k + '\0');
        CNameFormatDlg dlg;
        EXPECT_EQ(dlg.GetFormat(), long40k);
        size_t shownLength = 0;
        CDialogDriver driver;
        driver.Then([&](HWND d) {
            const HWND edit = GetDlgItem(d, IDC_FORMAT_TEXT);
            shownLength = static_cast<size_t>(GetWindowTextLengthA(edit));
            SendMessageA(edit, EM_SETSEL, long40k.size(), long40k.size());
            TypeText(edit, "y");
            PressKey(d, VK_RETURN);
        });
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(shownLength, long40k.size());
        EXPECT_EQ(dlg.GetFormat(), long40k + "y");
        EXPECT_EQ(ReadStored(), StringValue(long40k + "y"));
    }
}

TEST_F(SettingsTest, FailedWriteIsReportedAndTheFormatAppliesAllTheSame)
{
    // Under a volatile key no lasting key can be made, so the section cannot be created.
    HKEY company = nullptr, appKey = nullptr, options = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, COMPANY_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &company, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExA(company, "Quillfox", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &appKey,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCreateKeyExA(appKey, "Options", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &options, nullptr),
              ERROR_CHILD_MUST_BE_VOLATILE);
    RegCloseKey(appKey);
    RegCloseKey(company);

    CNameFormatDlg dlg;
    EXPECT_EQ(dlg.GetFormat(), "[title]-[artist].mp3");
    boxes.Answer(IDOK);
    EXPECT_EQ(Enter(dlg, "[artist].mp3"), IDOK);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, NOT_SAVED_TEXT);
    EXPECT_EQ(boxes.Shown()[0].caption, "Quillfox");
    EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(dlg.GetFormat(), "[artist].mp3");
    EXPECT_EQ(NameFor(dlg), "Band.mp3");
    EXPECT_FALSE(KeyExists(OPTIONS_KEY));
    EXPECT_TRUE(KeyExists(APP_KEY));
}

TEST_F(SettingsTest, FormatCommandReopensOnAnInvalidFormatAndCancelBringsBackTheEarlierOne)
{
    Store(REG_SZ, std::string("[album].mp3", 12));
    CNameFormatDlg dlg;
    std::string reopenedWith;
    boxes.Answer(IDOK);
    CDialogDriver driver;
    driver.Then([&](HWND d) {
        ReplaceText(GetDlgItem(d, IDC_FORMAT_TEXT), "song.mp3");
        PressKey(d, VK_RETURN);
    });
    driver.Then([&](HWND d) {
        reopenedWith = ItemText(d, IDC_FORMAT_TEXT);
        PressKey(d, VK_ESCAPE);
    });
    EXPECT_FALSE(RunFormatCommand(dlg));
    EXPECT_EQ(driver.StepsLeft(), 0);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, INVALID_TEXT);
    EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(reopenedWith, "song.mp3");
    EXPECT_EQ(dlg.GetFormat(), "[album].mp3");
    EXPECT_EQ(NameFor(dlg), "Record.mp3");
    EXPECT_EQ(ReadStored(), StringValue("[album].mp3"));
}

TEST_F(SettingsTest, FormatCommandEndsWithTheFirstValidFormatOrAPlainCancel)
{
    CNameFormatDlg dlg;
    boxes.Answer(IDOK);
    boxes.Answer(IDOK);
    CDialogDriver driver;
    for (const char* text : {"[title", "plain.mp3", "[track] [title].mp3"}) {
        driver.Then([text](HWND d) {
            ReplaceText(GetDlgItem(d, IDC_FORMAT_TEXT), text);
            PressKey(d, VK_RETURN);
        });
    }
    EXPECT_TRUE(RunFormatCommand(dlg));
    EXPECT_EQ(boxes.Shown().size(), 2u);
    EXPECT_EQ(dlg.GetFormat(), "[track] [title].mp3");
    EXPECT_EQ(ReadStored(), StringValue("[track] [title].mp3"));

    boxes.Clear();
    driver.Then([](HWND d) {
        ReplaceText(GetDlgItem(d, IDC_FORMAT_TEXT), "[album].mp3");
        ClickButton(d, IDCANCEL);
    });
    EXPECT_FALSE(RunFormatCommand(dlg));
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(dlg.GetFormat(), "[track] [title].mp3");
    EXPECT_EQ(ReadStored(), StringValue("[track] [title].mp3"));
}

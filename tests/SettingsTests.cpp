#include <tuple>

#include "app/resource.h"
#include "dialogs/NameFormatDlg.h"
#include "framework/Profile.h"
#include "model/Mp3File.h"
#include "support/DialogDriver.h"
#include "support/GuiTest.h"

// These tests delete and rewrite HKEY_CURRENT_USER\Software\Quillworks: they run only inside the
// build folder's private Wine prefix, never in a user's own registry.

namespace {

const char* const COMPANY_KEY = "Software\\Quillworks";
const char* const APP_KEY = "Software\\Quillworks\\Quillfox";
const char* const OPTIONS_KEY = "Software\\Quillworks\\Quillfox\\Options";
const char* const VALUE = "RenameFormat";

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

class SettingsTest : public HostFixture
{
protected:
    bool m_bPrivate = false;

    void SetUp() override
    {
        std::string prefix;
        m_bPrivate = InPrivateWinePrefix(prefix);
        ASSERT_TRUE(m_bPrivate) << "refusing to touch the registry: WINEPREFIX is \"" << prefix
                                << "\", not the build folder's private prefix";
        HostFixture::SetUp();
        RegDeleteTreeA(HKEY_CURRENT_USER, COMPANY_KEY);
        ASSERT_FALSE(KeyExists(COMPANY_KEY));
        SetRegistryKey("Quillworks", app.m_strAppName);
    }
    void TearDown() override
    {
        if (m_bPrivate)
            RegDeleteTreeA(HKEY_CURRENT_USER, COMPANY_KEY);
    }

    // Opens the dialog, types the text in place of the one shown, and presses the key.
    INT_PTR Enter(CNameFormatDlg& dlg, const std::string& text, UINT key = VK_RETURN)
    {
        CDialogDriver driver;
        driver.Then([&](HWND d) {
            ReplaceText(GetDlgItem(d, IDC_FORMAT_TEXT), text);
            PressKey(d, key);
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

// The dialog takes any text on OK (the command, not the dialog, refuses an invalid one) and
// stores only a valid one, as typed, for the next start; Escape keeps the format in force.
TEST_F(SettingsTest, OkTakesTheTextButStoresOnlyAValidOneAndCancelKeepsTheFormat)
{
    Store(REG_SZ, std::string("[album].mp3", 12));
    struct Case { std::string text; UINT key; std::string format, name, stored; };
    const std::string eight = "[title][artist][album][genre][year][track][comment][title]";
    const Case cases[] = {
        {"song.mp3", VK_RETURN, "song.mp3", "", "[album].mp3"}, {"[title", VK_RETURN, "[title", "", "[album].mp3"},
        {eight, VK_RETURN, eight, "", "[album].mp3"}, {"[title].mp3", VK_ESCAPE, "[album].mp3", "Record.mp3", "[album].mp3"},
        {"[artist] - [title].mp3", VK_RETURN, "[artist] - [title].mp3", "Band - Song.mp3", "[artist] - [title].mp3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CNameFormatDlg dlg;
        EXPECT_EQ(Enter(dlg, c.text, c.key), c.key == VK_RETURN ? IDOK : IDCANCEL);
        EXPECT_EQ(dlg.GetFormat(), c.format);
        EXPECT_EQ(NameFor(dlg), c.name);
        EXPECT_EQ(ReadStored(), StringValue(c.stored));
        EXPECT_EQ(Shown(dlg), c.format); // the next opening shows the format in force
        EXPECT_EQ(CNameFormatDlg().GetFormat(), c.stored); // and the next start the stored one
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST_F(SettingsTest, StoredValueIsReadWholeAndAsItIs)
{
    // Stored as it is, invalid or not, up to its first zero; a value that is not a string is
    // no format, and the default applies.
    const std::tuple<DWORD, std::string, std::string> cases[] = {
        {REG_SZ, std::string("song.mp3", 9), "song.mp3"}, {REG_DWORD, std::string("\x01\0\0\0", 4), "[title]-[artist].mp3"},
        {REG_SZ, "[artist].mp3", "[artist].mp3"}, {REG_SZ, std::string("[year].mp3\0tail", 15), "[year].mp3"}, {REG_SZ, "", ""},
    };
    for (const auto& [type, bytes, format] : cases) {
        Store(type, bytes);
        CNameFormatDlg dlg;
        EXPECT_EQ(dlg.GetFormat(), format);
        EXPECT_EQ(Shown(dlg), format);
    }
    {
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
    ASSERT_EQ(boxes.ShownTexts(), Texts{shown::FORMAT_NOT_SAVED});
    EXPECT_EQ(boxes.Shown()[0].caption, "Quillfox");
    EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(dlg.GetFormat(), "[artist].mp3");
    EXPECT_EQ(NameFor(dlg), "Band.mp3");
    EXPECT_FALSE(KeyExists(OPTIONS_KEY));
    EXPECT_TRUE(KeyExists(APP_KEY));
}

// Format command runs one after another: it reopens the dialog with an invalid text after
// saying why, ends with the first valid format (stored) or a cancel (the earlier format stays).
TEST_F(SettingsTest, FormatCommandReopensOnInvalidFormatsUntilAValidOneOrCancel)
{
    Store(REG_SZ, std::string("[album].mp3", 12));
    struct Run { std::vector<std::pair<const char*, UINT>> steps; bool result; Texts opened; size_t refused; std::string format; };
    const Run runs[] = {
        {{{"song.mp3", VK_RETURN}, {nullptr, VK_ESCAPE}}, false, {"[album].mp3", "song.mp3"}, 1, "[album].mp3"},
        {{{"[title", VK_RETURN}, {"plain.mp3", VK_RETURN}, {"[track] [title].mp3", VK_RETURN}}, true,
         {"[album].mp3", "[title", "plain.mp3"}, 2, "[track] [title].mp3"},
        {{{"[album].mp3", IDCANCEL}}, false, {"[track] [title].mp3"}, 0, "[track] [title].mp3"},
    };
    CNameFormatDlg dlg;
    for (const Run& run : runs) {
        SCOPED_TRACE(run.format);
        Texts opened;
        boxes.Clear();
        for (size_t i = 0; i < run.refused; ++i)
            boxes.Answer(IDOK);
        CDialogDriver driver;
        for (const auto& [text, key] : run.steps) {
            driver.Then([&opened, text = text, key = key](HWND d) {
                opened.push_back(ItemText(d, IDC_FORMAT_TEXT));
                if (text)
                    ReplaceText(GetDlgItem(d, IDC_FORMAT_TEXT), text);
                if (key == IDCANCEL)
                    ClickButton(d, IDCANCEL);
                else
                    PressKey(d, key);
            });
        }
        EXPECT_EQ(RunFormatCommand(dlg), run.result);
        EXPECT_EQ(opened, run.opened);
        EXPECT_EQ(boxes.ShownTexts(), Texts(run.refused, shown::FORMAT_INVALID));
        for (const ShownBox& box : boxes.Shown())
            EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONSTOP));
        EXPECT_EQ(dlg.GetFormat(), run.format);
        EXPECT_EQ(ReadStored(), StringValue(run.format));
    }
}

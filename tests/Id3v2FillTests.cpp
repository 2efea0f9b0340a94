#include <windows.h>

#include "app/resource.h"
#include "model/Mp3File.h"
#include "support/GuiTest.h"
#include "support/TestFiles.h"

namespace {

// A 2.3 frame of UTF-8 text (encoding 3).
std::string Frame(const std::string& id, const std::string& text)
{
    const size_t size = text.size() + 1;
    return id + std::string{0, 0, char(size >> 8), char(size), 0, 0, 3} + text;
}

// An MP3 file that starts with an ID3v2.3 tag of the frames, then audio and an optional ID3v1 tag.
void WriteTagged(const std::string& path, const std::string& frames, const TagBytes* id3v1 = nullptr)
{
    const size_t size = frames.size() + 20; // and some padding
    std::string tag = std::string("ID3\x03\x00\x00", 6) + char(size >> 21 & 0x7F) + char(size >> 14 & 0x7F) +
                      char(size >> 7 & 0x7F) + char(size & 0x7F) + frames + std::string(20, '\0');
    const std::string audio = path + ".audio";
    if (id3v1)
        WriteMp3(audio, 2, *id3v1);
    else
        WriteMp3(audio, 2);
    std::vector<unsigned char> bytes(tag.begin(), tag.end());
    const std::vector<unsigned char> rest = ReadBytes(audio);
    bytes.insert(bytes.end(), rest.begin(), rest.end());
    DeleteFileA(audio.c_str());
    WriteBytes(path, bytes);
}

class Id3v2FillTest : public TrackListFixture
{
protected:
    void SetUp() override
    {
        TrackListFixture::SetUp();
        const TagBytes old = TagBytes().Put(TITLE, "Old").Put(ALBUM, "Kept").Byte(TRACK, 4);
        WriteTagged(dir / "both.mp3", Frame("TIT2", "Northern Lights") + Frame("TPE1", "Anna Berg") +
                                          Frame("TRCK", "3/12") + Frame("TCON", "(17)") +
                                          Frame("COMM", std::string("eng\0", 4) + std::string(40, 'c')), &old);
        WriteTagged(dir / "only2.mp3", Frame("TIT2", u8"\u0141\u00f3d\u017a \U0001F600") + Frame("TYER", "2019"));
        WriteTagged(dir / "empty2.mp3", Frame("TXXX", "other"));
        WriteMp3(dir / "plain.mp3", 1, TagBytes().Put(TITLE, "Plain"));
        list.AddFiles({dir / "both.mp3", dir / "only2.mp3", dir / "empty2.mp3", dir / "plain.mp3"});
    }
    bool HasBadge(int row) const
    {
        return (list.GetItemState(row, LVIS_OVERLAYMASK) & LVIS_OVERLAYMASK) ==
               static_cast<UINT>(INDEXTOOVERLAYMASK(CTrackListCtrl::ID3V2_OVERLAY));
    }
    void SelectAll()
    {
        for (int row = 0; row < list.GetItemCount(); ++row)
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
    }
};

} // namespace

TEST_F(Id3v2FillTest, RowsWithAnId3v2TagCarryTheBadgeAndTheirTipNamesTheTags)
{
    EXPECT_TRUE(HasBadge(0) && HasBadge(1) && HasBadge(2));
    EXPECT_FALSE(HasBadge(3));
    EXPECT_EQ(list.GetItemText(0, 1), "Old"); // the ID3v1 tag is shown as before
    EXPECT_EQ(list.CellTip(0, 0), "ID3v2.3 tag with Title, Artist, Track, Genre, Comment; ID3v1 tag");
    EXPECT_EQ(list.CellTip(1, 0), "ID3v2.3 tag with Title, Year");
    EXPECT_EQ(list.CellTip(2, 0), "ID3v2.3 tag");
    EXPECT_EQ(list.CellTip(3, 0), "ID3v1 tag");
    EXPECT_EQ(list.CellTip(0, 1), "");

    // The mouse over a File Name cell puts its text in the list's own tooltip.
    RECT cell{};
    list.GetItemRect(1, cell, LVIR_BOUNDS);
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(cell.left + 10, (cell.top + cell.bottom) / 2));
    EXPECT_EQ(list.CellTipCtrl().GetText(&list, 1), "ID3v2.3 tag with Title, Year");
    list.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(cell.left + list.GetColumnWidth(0) + 10, (cell.top + cell.bottom) / 2));
    EXPECT_EQ(list.CellTipCtrl().GetText(&list, 1), "");
}

TEST_F(Id3v2FillTest, FillTakesWhatEachTagHoldsAndSaysWhatItDid)
{
    SelectAll();
    boxes.Answer(IDOK);
    view.SendMessage(WM_COMMAND, ID_EDIT_FILLFROMID3V2);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "2 files were filled from their ID3v2 tags.\n2 selected files have no ID3v2 tag "
                                     "with these fields.\n2 fields were cut to fit or had characters replaced.");
    EXPECT_EQ(boxes.Shown()[0].type, static_cast<UINT>(MB_ICONINFORMATION | MB_OK));

    const std::vector<std::string> both = {"both.mp3", "Northern Lights", "Anna Berg", "Kept", "Rock", "", "3",
                                           std::string(28, 'c')};
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(list.GetItemText(0, column), both[static_cast<size_t>(column)]) << column;
    // Characters the code page lacks become one "?" each, never a look-alike.
    EXPECT_EQ(list.GetItemText(1, 1), u8"?\u00f3d? ?");
    EXPECT_EQ(list.GetItemText(1, 5), "2019");
    EXPECT_EQ(list.ModifiedTracks().GetCount(), 2u);
    EXPECT_TRUE(list.GetTrack(0)->IsModified() && list.GetTrack(1)->IsModified());
    EXPECT_FALSE(list.GetTrack(2)->IsModified() || list.GetTrack(3)->IsModified());
}

// Writing the ID3v1 tag leaves the ID3v2 tag and the audio as they were, byte for byte.
TEST_F(Id3v2FillTest, WritingAfterAFillChangesOnlyTheLast128Bytes)
{
    const unsigned long long before[2] = {HashPrefix(dir / "both.mp3", FileSize(dir / "both.mp3") - ID3V1_SIZE),
                                          HashPrefix(dir / "only2.mp3", ~0u)};
    const unsigned long long onlySize = FileSize(dir / "only2.mp3");
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    list.FillSelectedFromId3v2();
    EXPECT_EQ(list.WriteTags(), 0);
    EXPECT_EQ(HashPrefix(dir / "both.mp3", FileSize(dir / "both.mp3") - ID3V1_SIZE), before[0]);
    EXPECT_EQ(FileSize(dir / "only2.mp3"), onlySize + ID3V1_SIZE);
    EXPECT_EQ(HashPrefix(dir / "only2.mp3", onlySize), before[1]);
    const CMp3File written(dir / "both.mp3");
    EXPECT_EQ(written.GetTitle(), "Northern Lights");
    EXPECT_EQ(written.GetTrack(), 3);
    EXPECT_EQ(written.GetGenre(), 17);
    EXPECT_EQ(written.GetComment(), std::string(28, 'c'));
    EXPECT_EQ(CMp3File(dir / "only2.mp3").GetYear(), "2019");
}

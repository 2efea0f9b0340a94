// Builds names from random tags with random formats. The name must match the reference
// builder; when it is not empty, IsUnsafeFileName must agree with a second reading of the
// rule, a name it lets through must stay in the folder, and RenameFromTag must skip exactly
// the empty and unsafe names and move the others inside the file's folder.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "FormatReference.h"
#include "model/PathText.h"
#include "rename/NameSafety.h"
#include "rename/RenameDecision.h"

namespace {

// Raw bytes, without FuzzedDataProvider's backslash escaping, so separators come through.
std::string SomeBytes(FuzzedDataProvider& in, size_t most)
{
    return in.ConsumeBytesAsString(in.ConsumeIntegralInRange<size_t>(0, most));
}

// A format made of pieces: literal bytes, tag words in brackets with odd case and white
// space, lone brackets, separators and dots, so that valid formats are common.
std::string SomeFormat(FuzzedDataProvider& in)
{
    static const char* const words[] = {"title", "artist", "album", "genre",
                                        "year",  "track",  "comment", "name"};
    std::string format;
    const int pieces = in.ConsumeIntegralInRange(0, 10);
    for (int i = 0; i < pieces; ++i) {
        switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0: format += SomeBytes(in, 8); break;
        case 1: {
            std::string word = words[in.ConsumeIntegralInRange(0, 7)];
            for (char& c : word) {
                if (in.ConsumeBool())
                    c = static_cast<char>(c - 'a' + 'A');
            }
            format += "[" + std::string(in.ConsumeIntegralInRange(0, 1), ' ') + word + "]";
            break;
        }
        case 2: format += in.ConsumeBool() ? "[" : "]"; break;
        case 3: format += in.PickValueInArray({"\\", "/", "..", ".", "\\..\\", "../"}); break;
        case 4: format += ".mp3"; break;
        default: format += " - "; break;
        }
    }
    return format;
}

int SomeNumber(FuzzedDataProvider& in)
{
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(-3, 300) : in.ConsumeIntegral<int>();
}

// A tag text: raw bytes, or one of the texts that could climb or root a path.
std::string SomeText(FuzzedDataProvider& in)
{
    if (in.ConsumeIntegralInRange(0, 3) == 0)
        return in.PickValueInArray({"", "..", ".", "\\", "/", "..\\..", "C:", "a/..", " "});
    return SomeBytes(in, 40);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1024)
        return -1;
    FuzzedDataProvider in(data, size);
    const std::string formatText = SomeFormat(in);
    CMp3File file;
    file.SetTitle(SomeText(in));
    file.SetArtist(SomeText(in));
    file.SetAlbum(SomeText(in));
    file.SetYear(SomeText(in));
    file.SetComment(SomeText(in));
    file.SetTrack(SomeNumber(in));
    file.SetGenre(SomeNumber(in));
    const unsigned long moveError = in.PickValueInArray({0UL, 5UL, RENAME_ERROR_ALREADY_EXISTS});
    const std::string currentPath = "C:\\music\\" + SomeBytes(in, 16);

    COpenNameFormat format;
    format.Compile(formatText);
    const std::string name = format.BuildFileName(file);
    FUZZ_CHECK(name == ref::BuildName(ref::Compile(formatText), file));
    FUZZ_CHECK(format.IsValid() || name.empty());

    const bool unsafe = IsUnsafeFileName(name);
    if (!name.empty()) {
        FUZZ_CHECK(unsafe == ref::IsUnsafeName(name));
        if (!unsafe) {
            FUZZ_CHECK(!ref::HasDotDotSegment(name));
            FUZZ_CHECK(ref::StaysInFolder(name));
        }
    }

    int moves = 0;
    std::string movedTo;
    const RenameOutcome outcome =
        RenameFromTag(name, currentPath, [&](const std::string& newPath) {
            ++moves;
            movedTo = newPath;
            return moveError;
        });
    if (name.empty() || unsafe) {
        FUZZ_CHECK(outcome == RENAME_SKIPPED && moves == 0);
    } else if (FolderOf(currentPath) + name == currentPath) {
        FUZZ_CHECK(outcome == RENAME_ALREADY_NAMED && moves == 0);
    } else {
        FUZZ_CHECK(moves == 1);
        FUZZ_CHECK(movedTo == FolderOf(currentPath) + name);
        FUZZ_CHECK(movedTo.compare(0, 9, "C:\\music\\") == 0);
        FUZZ_CHECK(outcome == (moveError == 0 ? RENAME_DONE
                               : moveError == RENAME_ERROR_ALREADY_EXISTS ? RENAME_NAME_EXISTS
                                                                          : RENAME_SKIPPED));
    }
    return 0;
}

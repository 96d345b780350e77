// The text-set reader on any bytes. The list of sets finds the title the reader finds. A set gives
// 78 texts (fewer once blanks at the end are trimmed); writing what was read and reading it back
// gives the same texts, title and window, and writes the same file again. Applied to the history list, any set starts (a window the list
// refuses is left out) and a copied text then shows at the top of the window.
#include "FuzzSupport.h"
#include "clipboard/CHistory.h"
#include "clipboard/TextSet.h"
#include "frame/StringList.h"
#include "settings/Profile.h"

namespace {

const std::string Folder = "C:\\Mirto\\";
const std::string SetPath = Folder + "Cliplist\\set.ini";
const std::string CopyPath = Folder + "Cliplist\\copy.ini";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static TMemoryPlatform platform;
    SetPlatform(&platform);
    platform.Files.clear();
    FuzzedDataProvider input(data, size);
    // The last byte chooses the number of history pages; the rest is the file.
    const int pages = input.ConsumeIntegralInRange<int>(1, 3);
    const std::string file = input.ConsumeRemainingBytesAsString();
    platform.Files[SetPath] = file;

    TStringList texts;
    TTextSetWindow window;
    const std::string title = ReadTextSet(texts, SetPath, "set.ini", &window);
    FUZZ_CHECK(texts.Count() == 78, "file " + Visible(file));

    // The list of sets reads the title from the first [Basic] section alone, and finds the same.
    const TProfile basic(ProfileSectionText(file, "Basic"));
    FUZZ_CHECK(basic.ReadUncutString("Basic", "Title", "set.ini") == title, "file " + Visible(file));

    TStringList trimmed;
    ReadTextSet(trimmed, SetPath, "set.ini", nullptr, true);
    FUZZ_CHECK(trimmed.Count() <= 78 && (trimmed.Empty() || !trimmed[trimmed.Count() - 1].empty()),
               "file " + Visible(file));
    for (std::size_t i = 0; i < trimmed.Count(); ++i)
        FUZZ_CHECK(trimmed[i] == texts[i], "file " + Visible(file));

    WriteTextSet(texts, CopyPath, title, window);
    const std::string written = platform.Files[CopyPath];
    TStringList again;
    TTextSetWindow windowAgain;
    const std::string titleAgain = ReadTextSet(again, CopyPath, "other", &windowAgain);
    FUZZ_CHECK(titleAgain == title, "title " + Visible(title) + " came back as " +
                                        Visible(titleAgain) + "\nfile " + Visible(file));
    FUZZ_CHECK(windowAgain == window, "file " + Visible(file));
    FUZZ_CHECK(again.Items() == texts.Items(), "texts\n" + VisibleLines(texts) + "came back as\n" +
                                                   VisibleLines(again) + "written " +
                                                   Visible(written));
    WriteTextSet(again, CopyPath, titleAgain, windowAgain);
    FUZZ_CHECK(platform.Files[CopyPath] == written, "file " + Visible(file));

    THistoryStringList history;
    history.SetMaxRecord(pages * HistoryPageSize);
    const std::string applied = PrepareClipboardMenu(history, TextSetFile, SetPath, false, Folder);
    FUZZ_CHECK(applied == title, "file " + Visible(file));
    FUZZ_CHECK(history.Items().Count() <= static_cast<std::size_t>(history.MaxRecord()) &&
                   history.History().Count() <= static_cast<std::size_t>(history.MaxRecord()),
               "file " + Visible(file));
    const int top = history.HistoryTop(), bottom = history.HistoryBottom();
    const std::string copied = "fuzz copy";
    history.BringTo(top, copied);
    if (top >= 0 && top < history.MaxRecord() && (bottom == -1 || bottom >= top)) {
        FUZZ_CHECK(SameText(history.History()[0], copied), "file " + Visible(file));
        FUZZ_CHECK(static_cast<std::size_t>(top) < history.Items().Count() &&
                       history.Items()[top] == history.History()[0],
                   "top " + std::to_string(top) + " bottom " + std::to_string(bottom) + "\nfile " +
                       Visible(file));
    }
    FUZZ_CHECK(history.Items().Count() <= static_cast<std::size_t>(history.MaxRecord()),
               "file " + Visible(file));
    return 0;
}

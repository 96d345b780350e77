// The settings load from any bytes, as "Mirto.ini" or as the predecessor's "Vorna.ini" that is
// taken over. The settings it loads are written so that the next start loads the same settings
// again: every number, and every text that the file can hold (well-formed text whose written
// form fits in a value; a stray lead byte before a double quote or a line break has no written
// form). Whatever the file held, the file written is written again unchanged by the next save.
#include "FuzzSupport.h"
#include "settings/Profile.h"
#include "settings/Setting.h"

namespace {

const std::string Folder = "C:\\Mirto\\";

struct TLoaded {
    TSettingData Data;
    TLaunchItemTable Items;
    TMenuSettings Menu;
    TStartupSettings Startup;
};

void Load(TLoaded& loaded) {
    TSettingsFile file(Folder);
    file.ResolveSettingsPath(SwitchAbsent);
    loaded.Menu.FontName = "default font";
    file.LoadSettings(loaded.Data, loaded.Items, loaded.Menu, loaded.Startup);
}

// Can the file hold the text? The written form (escape adds `added` bytes, and enclosing quotes
// may be needed) must fit in a value, and the text must be well-formed.
bool Holdable(std::string_view text, std::size_t added = 0) {
    return IsValidShiftJis(text) && text.size() + added + 2 <= ProfileValueMax;
}

// The bytes escaping adds: a backslash before each tab, line break and backslash of a name,
// before each double quote of the options.
std::size_t NameEscapes(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsSjisLead(static_cast<unsigned char>(text[i])))
            ++i;
        else if (text[i] == '\t' || text[i] == '\n' || text[i] == '\r' || text[i] == '\\')
            ++count;
    }
    return count;
}

std::size_t QuoteEscapes(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        count += c == '"';
    return count;
}

#define SAME(field)                                                                                \
    FUZZ_CHECK(first.field == second.field, std::string("field " #field "\nfile ") + Context())
#define SAME_TEXT(field)                                                                           \
    if (Holdable(first.field)) SAME(field)

// The file loaded first and the file saved from it, for the messages.
std::string Context();

void CompareItems(const TLaunchItemTable& first, const TLaunchItemTable& second) {
    for (int i = 0; i < first.Count(); ++i) {
        const auto where = [i] { return "entry " + std::to_string(i) + "\nfile " + Context(); };
        // An entry without a path is not written: it comes back empty.
        if (first.GetPath(i).empty()) {
            FUZZ_CHECK(second.GetPath(i).empty() && second.GetName(i).empty() &&
                           second.GetOption(i).empty() && second.GetWorkDir(i).empty() &&
                           second.GetSize(i) == 0,
                       where());
            continue;
        }
        const std::string name = first.GetName(i), path = first.GetPath(i),
                          option = first.GetOption(i), folder = first.GetWorkDir(i);
        if (Holdable(name, NameEscapes(name)))
            FUZZ_CHECK(first.GetName(i) == second.GetName(i),
                       "name " + Visible(first.GetName(i)) + " came back as " +
                           Visible(second.GetName(i)) + "\n" + where());
        if (Holdable(path))
            FUZZ_CHECK(first.GetPath(i) == second.GetPath(i),
                       "path " + Visible(first.GetPath(i)) + " came back as " +
                           Visible(second.GetPath(i)) + "\n" + where());
        if (Holdable(option, QuoteEscapes(option)))
            FUZZ_CHECK(first.GetOption(i) == second.GetOption(i),
                       "options " + Visible(first.GetOption(i)) + " came back as " +
                           Visible(second.GetOption(i)) + "\n" + where());
        if (Holdable(folder))
            FUZZ_CHECK(first.GetWorkDir(i) == second.GetWorkDir(i),
                       "folder " + Visible(first.GetWorkDir(i)) + " came back as " +
                           Visible(second.GetWorkDir(i)) + "\n" + where());
        FUZZ_CHECK(first.GetSize(i) == second.GetSize(i), where());
    }
}

void CompareData(const TSettingData& first, const TSettingData& second) {
    SAME(Startup);
    SAME_TEXT(LoadFile);
    SAME_TEXT(CurrentFile);
    SAME_TEXT(ListDir);
    SAME(SaveHistory);
    SAME(DeleteKey);
    SAME(ProtectKey);
    SAME(CallLauncherMenu);
    SAME(CallClipboardMenu);
    SAME(TotalClipboardPage);
    SAME(PageMemory);
    SAME(Hold);
    SAME(HoldTime);
    SAME(PageChangeKey);
    SAME(SettingKey);
    SAME(SelectCancelKey);
    SAME(QuitKey);
    SAME(MoveKey);
    SAME(MoveValue);
    SAME(MoveDirection);
    SAME(SizeKey);
    SAME(SizeValue);
    SAME(SizeDirection);
    // The tray-menu key is read but never written.
    for (int id = 0; id < WindowKeyCount; ++id) {
        if (id != wkTrayMenu) SAME(WindowKeys[id].Enabled);
        SAME(WindowKeys[id].Key1);
        SAME(WindowKeys[id].Key2);
    }
    SAME(ImeOpen);
    SAME(ImeClose);
    SAME_TEXT(Skin);
    SAME_TEXT(SkinDir);
    SAME(DialogWidth);
    SAME(DialogHeight);
    // Transparency level 0 is not written and comes back opaque.
    if (first.Transparent != 0) SAME(Transparent);
    SAME(Position);
}

std::string Loaded, Saved;

std::string Context() {
    return Visible(Loaded) + "\nsaved as " + Visible(Saved);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static TMemoryPlatform platform;
    SetPlatform(&platform);
    const bool takeOver = data[0] & 1;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    platform.Files.clear();
    platform.Files[Folder + (takeOver ? "Vorna.ini" : "Mirto.ini")] = text;

    TLoaded first;
    Load(first);
    if (takeOver) {
        FUZZ_CHECK(first.Startup.TookOver && platform.Files.count(Folder + "Vorna.ini") == 0 &&
                       platform.Files.count(Folder + "Mirto.ini") == 1,
                   "take-over of " + Visible(text));
    } else {
        // What the settings dialog does on OK and on closing.
        TSettingsFile file(Folder);
        file.SaveSettings(first.Data, first.Items, first.Menu);
        file.SaveDialogSize(first.Data.DialogWidth, first.Data.DialogHeight);
    }
    const std::string saved = platform.Files[Folder + "Mirto.ini"];
    Loaded = text;
    Saved = saved;

    TLoaded second;
    Load(second);
    FUZZ_CHECK(!second.Startup.TookOver, "file " + Visible(text));
    CompareItems(first.Items, second.Items);
    CompareData(first.Data, second.Data);
    const TMenuSettings& menuFirst = first.Menu;
    const TMenuSettings& menuSecond = second.Menu;
    if (Holdable(menuFirst.FontName))
        FUZZ_CHECK(menuFirst.FontName == menuSecond.FontName, Context());
    FUZZ_CHECK(menuFirst.Line == menuSecond.Line && menuFirst.FontBold == menuSecond.FontBold &&
                   menuFirst.FontItalic == menuSecond.FontItalic &&
                   menuFirst.FontSize == menuSecond.FontSize,
               "menu settings\nfile " + Context());
    FUZZ_CHECK(first.Startup.PagesInUse == second.Startup.PagesInUse, "pages\nfile " + Context());

    // Saving what was loaded again changes nothing (a transparency level of 0 is the exception:
    // it came back opaque, and opaque is written).
    if (first.Data.Transparent == 0) return 0;
    TSettingsFile file(Folder);
    file.SaveSettings(second.Data, second.Items, second.Menu);
    file.SaveDialogSize(second.Data.DialogWidth, second.Data.DialogHeight);
    FUZZ_CHECK(platform.Files[Folder + "Mirto.ini"] == saved, "file " + Context());
    return 0;
}

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "TestFolder.h"
#include "menu/SkinCompose.h"
#include "settings/IniStr.h"

// The built Skin.dll through its exports only, as the program and other programs use it.
namespace {

using TReadIniFile = BOOL(WINAPI*)(char*, const char*);
using TGetSkinBitmap = BOOL(WINAPI*)(const char*, HBITMAP*);
using TGetSkinString = BOOL(WINAPI*)(char*, int);

// The built library, loaded for each test, and its exports.
class SkinLibrary : public testing::Test {
protected:
    void SetUp() override {
        const std::string path = BuiltProgramsFolder() + "\\Skin.dll";
        Library = LoadLibraryA(path.c_str());
        ASSERT_NE(Library, nullptr) << path;
    }
    void TearDown() override {
        if (Library) FreeLibrary(Library);
    }
    template <class TFunction> TFunction Export(const char* name) const {
        return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(Library, name)));
    }
    HMODULE Library = nullptr;
};

} // namespace

TEST_F(SkinLibrary, BuildsTheDefinitionFromTheSettingsAndDrawsItsPictures) {
    const auto readIniFile = Export<TReadIniFile>("_ReadIniFile");
    const auto getSkinBitmap = Export<TGetSkinBitmap>("_GetSkinBitmap");
    const auto getSkinString = Export<TGetSkinString>("_GetSkinString");
    ASSERT_TRUE(readIniFile && getSkinBitmap && getSkinString);
    EXPECT_NE(GetProcAddress(Library, "_SetApplicationHandle"), nullptr);

    TTestFolder folder("MirtoSkinLibrary");
    const std::string settings = folder.Path() + "\\Mirto.ini";
    ASSERT_TRUE(WriteTextFile(settings, "[Window]\r\nWidth=640\r\nTopPanel=0\r\n"));
    std::string buffer(262144, '\x7F');
    ASSERT_TRUE(readIniFile(buffer.data(), settings.c_str()));
    const std::string text = buffer.c_str();
    EXPECT_EQ(text.rfind("[Basic]\r\n", 0), 0u) << text.substr(0, 80);
    EXPECT_NE(text.find("\r\nDef_Width=640\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Emblem"), std::string::npos); // it sits on the top panel only
    // No settings file yet (a first start): the default look, 560 pixels wide.
    ASSERT_TRUE(readIniFile(buffer.data(), (folder.Path() + "\\none.ini").c_str()));
    EXPECT_NE(std::string(buffer.c_str()).find("\r\nDef_Width=560\r\n"), std::string::npos);
    // A folder in the file's place cannot be read.
    EXPECT_FALSE(readIniFile(buffer.data(), folder.Path().c_str()));

    // A picture: the transparent colour in the corner, the drawing in the middle; the caller
    // owns it.
    HBITMAP page = nullptr;
    ASSERT_TRUE(getSkinBitmap("Page2", &page));
    BITMAP info{};
    GetObjectA(page, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 20);
    EXPECT_EQ(info.bmHeight, 40); // two frames
    TMemoryBitmap drawn;
    ASSERT_TRUE(drawn.Assign24(page));
    EXPECT_EQ(SkinPixel(drawn, 0, 0), RGB(255, 0, 255));
    EXPECT_NE(SkinPixel(drawn, 10, 3), RGB(255, 0, 255));
    EXPECT_TRUE(DeleteObject(page));
    HBITMAP none = reinterpret_cast<HBITMAP>(1);
    EXPECT_FALSE(getSkinBitmap("Page4", &none));
    EXPECT_EQ(none, nullptr);

    char names[64];
    ASSERT_TRUE(getSkinString(names, sizeof names));
    EXPECT_STREQ(names, "Emblem\r\nPage1\r\nPage2\r\nPage3\r\nProtect\r\n");
    EXPECT_FALSE(getSkinString(names, 10));
}

TEST_F(SkinLibrary, SettingsWindowWritesItsKeysAndKeepsTheRestOfTheFile) {
    using TOpenSettingWindow = void(WINAPI*)(const char*);
    const auto open = Export<TOpenSettingWindow>("_OpenSettingWindow");
    ASSERT_NE(open, nullptr);
    TTestFolder folder("MirtoSkinSettings");
    const std::string settings = folder.Path() + "\\Mirto.ini";
    ASSERT_TRUE(WriteTextFile(settings, "; mine\r\n[Window]\r\nWidth=700\r\n[Other]\r\nA=1\r\n"));

    // Another thread answers the window as a user would: a width out of range is refused with a
    // message, then a good one, a switch and an icon name are taken with OK.
    std::string refusal;
    std::thread user([&] {
        HWND dialog = nullptr;
        for (int i = 0; i < 500 && !dialog; ++i, Sleep(10))
            dialog = FindWindowA("#32770", "標準の背景");
        if (!dialog) return;
        char width[16] = {};
        GetDlgItemTextA(dialog, 101, width, sizeof width);
        if (std::string(width) != "700") return;
        SetDlgItemTextA(dialog, 101, "99999");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        HWND box = nullptr;
        for (int i = 0; i < 500 && !box; ++i, Sleep(10)) {
            box = FindWindowA("#32770", "てんみ");
        }
        if (!box) return;
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        refusal = text;
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 500 && IsWindow(box); ++i)
            Sleep(10);
        SetDlgItemTextA(dialog, 101, "800");
        SendDlgItemMessageA(dialog, 103, BM_SETCHECK, BST_UNCHECKED, 0);
        SetDlgItemTextA(dialog, 107, "on.ico");
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    open(settings.c_str());
    user.join();
    EXPECT_EQ(refusal, "幅は 320 から 1600 の間で入れてください。");

    TIniStringList written;
    written.LoadFromFile(settings);
    EXPECT_EQ(written.GetInteger("Window", "Width", 0), 800);
    EXPECT_FALSE(written.GetBool("Window", "TopPanel", true));
    EXPECT_TRUE(written.GetBool("Window", "BottomPanel", false));
    EXPECT_EQ(written.GetString("Window", "EnableIcon", ""), "on.ico");
    EXPECT_EQ(written.GetString("Other", "A", ""), "1");
    EXPECT_EQ(written.Items()[0], "; mine");
}

TEST_F(SkinLibrary, ItsDefinitionComposesWithItsOwnPictures) {
    const auto readIniFile = Export<TReadIniFile>("_ReadIniFile");
    const auto getSkinBitmap = Export<TGetSkinBitmap>("_GetSkinBitmap");
    ASSERT_TRUE(readIniFile && getSkinBitmap);
    TTestFolder folder("MirtoSkinCompose");
    const std::string settings = folder.Path() + "\\Mirto.ini";
    ASSERT_TRUE(WriteTextFile(settings, "[Window]\r\n"));
    std::string buffer(262144, '\0');
    ASSERT_TRUE(readIniFile(buffer.data(), settings.c_str()));
    TStringList lines;
    lines.SetText(buffer.c_str());
    TIniStringList definition;
    definition.SetItems(lines);
    TSkinInfo info;
    const TSkinDefinition skin = ReadSkinDefinition(definition, info);
    ASSERT_TRUE(skin.Ok) << skin.Error;

    const TSkinComposeResult composed = ComposeSkin(skin, [&](const std::string& name) {
        HBITMAP bitmap = nullptr;
        return getSkinBitmap(name.c_str(), &bitmap) ? bitmap : nullptr;
    });
    ASSERT_TRUE(composed.Ok) << composed.Error;
    const TSkinPicture& picture = *composed.Picture;
    EXPECT_EQ(picture.Width(), 560);
    EXPECT_EQ(picture.Height(), 348);
    // The top panel ($00603010), the emblem on it at (8, 6) with its pale middle.
    EXPECT_EQ(SkinPixel(picture.Background, 2, 2), RGB(0x10, 0x30, 0x60));
    EXPECT_EQ(SkinPixel(picture.Background, 20, 18), RGB(255, 245, 210));
    // The marks come from the library as two frames of 20 x 20 (the padlock 16 wide).
    for (int k = 1; k <= 3; ++k) {
        EXPECT_TRUE(picture.Marks[k].Loaded) << k;
        EXPECT_EQ(picture.Marks[k].Height, 20) << k;
    }
    EXPECT_EQ(picture.Marks[0].Width, 16);

    // Without the library its pictures are left out: the panel shows where the emblem was.
    const TSkinComposeResult plain = ComposeSkin(skin);
    ASSERT_TRUE(plain.Ok) << plain.Error;
    EXPECT_EQ(SkinPixel(plain.Picture->Background, 20, 18), RGB(0x10, 0x30, 0x60));
    EXPECT_FALSE(plain.Picture->Marks[1].Loaded);
}

// Libraries of the program's names left where the program is started from: the program is
// started in a folder of downloads that holds a "Skin.dll", with none beside the program, and a
// skin that asks the skin library for its picture. The planted library never runs.
#include <windows.h>

#include <string>

#include "E2eFixture.h"

namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

TEST_F(MirtoTest, ASkinLibraryInTheCurrentFolderNeverRuns) {
    const std::string downloads = Folder.FilePath("downloads\\");
    const std::string planted = downloads + "Skin.dll", mark = planted + ".loaded";
    ASSERT_TRUE(CreateDirectoryA(downloads.c_str(), nullptr));
    ASSERT_TRUE(CopyFileA((BinFolder() + "testing\\Planted.dll").c_str(), planted.c_str(), FALSE));
    // The planted library does leave its mark when something loads it.
    HMODULE library = LoadLibraryA(planted.c_str());
    ASSERT_NE(library, nullptr);
    FreeLibrary(library);
    ASSERT_TRUE(Exists(mark)) << "the planted library leaves no mark";
    ASSERT_TRUE(DeleteFileA(mark.c_str()));

    ASSERT_TRUE(DeleteFileA(Folder.FilePath("Skin.dll").c_str()));
    ASSERT_TRUE(CreateDirectoryA(Folder.FilePath("Skin").c_str(), nullptr));
    ASSERT_TRUE(Folder.Write("Skin\\Library.ini",
                             IniText({"[Basic]", "Bitmap=Emblem", "[Size]", "Def_Width=300",
                                      "Def_Height=200"})));
    ASSERT_TRUE(Folder.Write("Mirto.ini", IniText({"[Setting]", "Skin=Skin\\Library.ini"})));
    Mirto = std::make_unique<TMirto>(Folder, "", downloads);
    ASSERT_TRUE(Mirto->Started());
    ASSERT_TRUE(Mirto->WaitResident());
    // Once the menu has the skin's size, the skin has been made and its picture asked for: a
    // picture the program's own library cannot give is left out.
    ASSERT_TRUE(WaitFor([&] {
        const RECT rect = WindowRect(Form());
        return rect.right - rect.left == 300 && rect.bottom - rect.top == 200;
    })) << "the skin was not made";
    EXPECT_FALSE(Exists(mark)) << "the program ran the library of its current folder";
    EXPECT_EQ(Mirto->MessageBoxWindow(), nullptr);
}

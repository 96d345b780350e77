#include <gtest/gtest.h>

#include <string>

#include "clipboard/SetFileName.h"
#include "frame/Platform.h"

namespace {
using F = TSetFileNameFault;
}

TEST(SetFileName, OnlyAPlainNameInsideTheFolderIsTaken) {
    SetPlatform(nullptr); // code page 932 lead bytes
    const struct {
        std::string Name;
        std::size_t Folder;
        F Fault;
    } cases[] = {
        {"Work", 20, F::None},
        {"..\\Mirto", 20, F::Separator},
        {"sub\\set", 20, F::Separator},
        {"a/b", 20, F::Separator},
        {"C:set", 20, F::Separator},
        {".", 20, F::DotName},
        {"..", 20, F::DotName},
        {"...", 20, F::None},
        {"", 20, F::Empty},
        {"CON", 20, F::Reserved},
        {"con.txt", 20, F::Reserved},
        {"Nul .x", 20, F::Reserved},
        {"aux", 20, F::Reserved},
        {"prn", 20, F::Reserved},
        {"COM1", 20, F::Reserved},
        {"lpt9", 20, F::Reserved},
        {"COM0", 20, F::None},
        {"LPT10", 20, F::None},
        {"CONSOLE", 20, F::None},
        {"a*b", 20, F::BadCharacter},
        {"what?", 20, F::BadCharacter},
        {"\"q\"", 20, F::BadCharacter},
        {"<a>", 20, F::BadCharacter},
        {"a|b", 20, F::BadCharacter},
        {"tab\there", 20, F::BadCharacter},
        // Double-byte characters whose trail byte is "\" or "|" are whole characters.
        {"表ソ能", 20, F::None},
        {"\x81\x7C", 20, F::None},
        {"end\x81", 20, F::BadCharacter},
        {"\x81\x7F", 20, F::BadCharacter}, // 0x7F is no second byte
        // The full path, ".ini" included, takes at most 259 bytes, a name at most 255.
        {std::string(55, 'n'), 200, F::None},
        {std::string(56, 'n'), 200, F::TooLong},
        {std::string(251, 'n'), 3, F::None},
        {std::string(252, 'n'), 3, F::TooLong},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckSetFileName(c.Name, c.Folder), c.Fault) << "\"" << c.Name << "\"";
}

TEST(SetFileName, MessagesSayWhatIsWrongWithTheName) {
    EXPECT_EQ(SetFileNameMessage(F::None, "a"), "");
    EXPECT_EQ(SetFileNameMessage(F::Empty, ""), "設定を保存するファイル名を入力してください。");
    EXPECT_EQ(SetFileNameMessage(F::Reserved, "con"),
              "ファイル名 \"con\" は Windows が予約している名前のため使えません。");
    for (F fault : {F::Separator, F::DotName, F::BadCharacter, F::TooLong})
        EXPECT_NE(SetFileNameMessage(fault, "x").find("ファイル名"), std::string::npos);
    EXPECT_EQ(ReplaceSetFileQuestion("a.ini"),
              "ファイル \"a.ini\" は既にあります。\n上書きしてもよろしいでしょうか？");
}

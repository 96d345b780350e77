#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <thread>

#include "clipboard/ClipboardWin.h"

namespace {

// Puts formats on the clipboard as another program would: each a format and its bytes; a null
// data pointer puts the format with no data.
struct TFormat {
    UINT Format;
    const void* Data;
    std::size_t Size;
};

bool PutRaw(std::initializer_list<TFormat> formats) {
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    for (const TFormat& f : formats) {
        HGLOBAL block = nullptr;
        if (f.Data != nullptr) {
            block = GlobalAlloc(GMEM_MOVEABLE, f.Size);
            CopyMemory(GlobalLock(block), f.Data, f.Size);
            GlobalUnlock(block);
        }
        SetClipboardData(f.Format, block);
    }
    CloseClipboard();
    return true;
}

TFormat Ansi(const char* text) {
    return {CF_TEXT, text, std::char_traits<char>::length(text) + 1};
}

std::wstring ReadUnicode() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

} // namespace

TEST(ClipboardText, TextsPasteBackAsCopiedAndReadAsCodePage932) {
    // "€" and an emoji have no code page 932 form: the menu shows "?" for them, the paste puts
    // the Unicode text back. "日本" reads as its Shift_JIS bytes.
    const std::wstring unicode = L"\x65E5\x672C \x20AC \xD83D\xDE00";
    TClipboardText text;
    text.Unicode = unicode;
    text.Ansi = "\x93\xFA\x96\x7B ? ?";
    const DWORD sequence = WriteClipboardText(nullptr, text);
    EXPECT_NE(sequence, 0u);
    EXPECT_EQ(sequence, GetClipboardSequenceNumber());
    EXPECT_EQ(ReadUnicode(), unicode);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_LOCALE));

    TClipboardText read;
    ASSERT_EQ(ReadClipboardText(nullptr, read), TClipboardRead::Text);
    EXPECT_EQ(read.Unicode, unicode);
    EXPECT_EQ(read.Ansi, "\x93\xFA\x96\x7B ? ??");

    // A text written from its ANSI bytes alone gets the same characters in Unicode.
    text = {};
    text.Ansi = "\x83\x5C\x95\x5C\r\nx";
    ASSERT_NE(WriteClipboardText(nullptr, text), 0u);
    EXPECT_EQ(ReadUnicode(), L"\x30BD\x8868\r\nx");
    ASSERT_EQ(ReadClipboardText(nullptr, read), TClipboardRead::Text);
    EXPECT_EQ(read.Ansi, text.Ansi);
}

TEST(ClipboardText, NothingToRecordForEmptyPicturesMarkedOrHugeContent) {
    const UINT exclude = RegisterClipboardFormatA("ExcludeClipboardContentFromMonitorProcessing");
    const UINT ignore = RegisterClipboardFormatA("Clipboard Viewer Ignore");
    const UINT history = RegisterClipboardFormatA("CanIncludeInClipboardHistory");
    const DWORD no = 0, yes = 1;
    const BITMAPINFOHEADER picture{sizeof(BITMAPINFOHEADER), 1, 1, 1, 24, BI_RGB, 4, 0, 0, 0, 0};
    const std::string huge(MaxRecordedText + 1, 'a');
    const std::string largest(MaxRecordedText, 'a');
    const struct {
        const char* What;
        std::initializer_list<TFormat> Formats;
        TClipboardRead Expected;
    } cases[] = {
        {"empty text", {Ansi("")}, TClipboardRead::NoText},
        {"picture", {{CF_DIB, &picture, sizeof picture}}, TClipboardRead::NoText},
        {"excluded, no data", {Ansi("pw"), {exclude, nullptr, 0}}, TClipboardRead::Excluded},
        {"viewer ignore", {Ansi("pw"), {ignore, &yes, sizeof yes}}, TClipboardRead::Excluded},
        {"history 0", {Ansi("pw"), {history, &no, sizeof no}}, TClipboardRead::Excluded},
        {"history 1", {Ansi("pw"), {history, &yes, sizeof yes}}, TClipboardRead::Text},
        {"1 MiB + 1", {{CF_TEXT, huge.c_str(), huge.size() + 1}}, TClipboardRead::TooLarge},
        {"1 MiB", {{CF_TEXT, largest.c_str(), largest.size() + 1}}, TClipboardRead::Text},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(PutRaw(c.Formats)) << c.What;
        TClipboardText read;
        EXPECT_EQ(ReadClipboardText(nullptr, read), c.Expected) << c.What;
        EXPECT_EQ(read.Ansi.empty(), c.Expected != TClipboardRead::Text) << c.What;
    }
}

TEST(ClipboardText, AClipboardHeldOpenElsewhereIsBusyAndReadOnceItIsClosed) {
    ASSERT_TRUE(PutRaw({Ansi("held")}));
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
        OpenClipboard(window);
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        CloseClipboard();
        DestroyWindow(window);
    });
    WaitForSingleObject(opened, 10000);
    TClipboardText read;
    EXPECT_EQ(ReadClipboardText(nullptr, read), TClipboardRead::Busy);
    EXPECT_EQ(WriteClipboardText(nullptr, read), 0u);
    SetEvent(release);
    holder.join();
    EXPECT_EQ(ReadClipboardText(nullptr, read), TClipboardRead::Text);
    EXPECT_EQ(read.Ansi, "held");
    CloseHandle(opened);
    CloseHandle(release);
}

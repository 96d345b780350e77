#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "core/Mapping.h"

namespace {

// A hidden window of the test's own thread to stand for the program's window.
class TTestWindow {
public:
    TTestWindow() {
        FHandle = CreateWindowExA(0, "STATIC", "mapping test", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TTestWindow() { DestroyWindow(FHandle); }
    operator HWND() const { return FHandle; }

private:
    HWND FHandle;
};

// Reads the whole area, reserved bytes included, the way another process would.
bool ReadRawArea(unsigned char (&bytes)[ShareAreaSize]) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MappingName);
    if (mapping == nullptr) return false;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, ShareAreaSize);
    if (view != nullptr) {
        std::memcpy(bytes, view, ShareAreaSize);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return view != nullptr;
}

} // namespace

TEST(MappingArea, CreatesTheAreaWithTheWindowItsThreadAndZeros) {
    TTestWindow window;
    ASSERT_NE(static_cast<HWND>(window), nullptr);
    TMappingArea area;
    ASSERT_TRUE(area.CreateMappingArea(window));
    EXPECT_EQ(area.GetHostWindow(), static_cast<HWND>(window));

    TShareData data;
    std::memset(&data, 0x5A, sizeof data);
    ASSERT_TRUE(area.GetMappingData(data));
    EXPECT_EQ(data.HookHandle, 0u);
    EXPECT_EQ(data.HostWindow, HandleToULong(static_cast<HWND>(window)));
    EXPECT_EQ(data.ProcessId, GetCurrentProcessId());
    EXPECT_EQ(data.ThreadId, GetCurrentThreadId());
    EXPECT_EQ(data.MessageId, 0u);
    EXPECT_EQ(data.CallLauncherMenu, 0);
    EXPECT_EQ(data.CallClipboardMenu, 0);
    EXPECT_EQ(data.ImeOpen, 0);
    EXPECT_EQ(data.ImeClose, 0);
    // Only the record is copied out: the caller's reserved bytes stay as they were.
    EXPECT_EQ(data.Reserved[0], 0x5A);
    EXPECT_EQ(data.Reserved[1], 0x5A);
}

TEST(MappingArea, SecondCreationFailsWithAlreadyExistsAndLeavesTheRecord) {
    TTestWindow first, second;
    TMappingArea running;
    ASSERT_TRUE(running.CreateMappingArea(first));

    TMappingArea another;
    SetLastError(0);
    EXPECT_FALSE(another.CreateMappingArea(second));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_FALSE(another.CloseMappingArea());
    // The same object asked twice is refused the same way.
    EXPECT_FALSE(running.CreateMappingArea(second));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

    TShareData data{};
    ASSERT_TRUE(another.GetMappingData(data));
    EXPECT_EQ(data.HostWindow, HandleToULong(static_cast<HWND>(first)));
}

TEST(MappingArea, RecordRoundTripsAndReservedBytesAreNeverWritten) {
    TTestWindow window;
    TMappingArea area;
    ASSERT_TRUE(area.CreateMappingArea(window));

    TShareData sent{};
    sent.HookHandle = 0x00C0FFEE;
    sent.HostWindow = 0x00012345;
    sent.ProcessId = 0x1111;
    sent.ThreadId = 0x2222;
    sent.MessageId = 0xC123;
    sent.CallLauncherMenu = -1;
    sent.CallClipboardMenu = 2;
    sent.ImeOpen = 1;
    sent.ImeClose = 1;
    sent.Reserved[0] = 0xCD;
    sent.Reserved[1] = 0xCD;
    // A second object (as the main form's installation uses the one of the entry sequence, any
    // object finds the area by its name).
    TMappingArea writer;
    ASSERT_TRUE(writer.SetMappingData(sent));

    TShareData received{};
    ASSERT_TRUE(area.GetMappingData(received));
    EXPECT_EQ(std::memcmp(&received, &sent, ShareRecordSize), 0);
    EXPECT_EQ(received.CallLauncherMenu, -1);

    unsigned char raw[ShareAreaSize];
    ASSERT_TRUE(ReadRawArea(raw));
    EXPECT_EQ(std::memcmp(raw, &sent, ShareRecordSize), 0);
    EXPECT_EQ(raw[30], 0);
    EXPECT_EQ(raw[31], 0);
}

TEST(MappingArea, WithoutAnAreaReadAndWriteFailAndTheLastErrorStays) {
    TTestWindow window;
    {
        TMappingArea area;
        ASSERT_TRUE(area.CreateMappingArea(window));
        TShareData data{};
        SetLastError(4242);
        EXPECT_TRUE(area.GetMappingData(data));
        EXPECT_EQ(GetLastError(), 4242u);
        EXPECT_TRUE(area.CloseMappingArea());
        EXPECT_FALSE(area.CloseMappingArea());
    }
    TMappingArea none;
    TShareData data{};
    SetLastError(4242);
    EXPECT_FALSE(none.GetMappingData(data));
    EXPECT_EQ(GetLastError(), 4242u);
    EXPECT_FALSE(none.SetMappingData(data));

    // Destroying the object closes the area too: a new one can be created.
    {
        TMappingArea area;
        ASSERT_TRUE(area.CreateMappingArea(window));
    }
    TMappingArea again;
    EXPECT_TRUE(again.CreateMappingArea(window));
}

// The hook library keeps a view of the area in every process it runs in. When the program ends,
// the name must go with it, so that a new start of the program can create its area.
TEST(MappingArea, AViewLeftInAnotherPlaceDoesNotBlockTheNextStart) {
    TTestWindow window;
    const void* leftView = nullptr;
    {
        TMappingArea area;
        ASSERT_TRUE(area.CreateMappingArea(window));
        HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MappingName);
        ASSERT_NE(mapping, nullptr);
        leftView = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, ShareAreaSize);
        CloseHandle(mapping);
        ASSERT_NE(leftView, nullptr);
    }
    TMappingArea next;
    EXPECT_TRUE(next.CreateMappingArea(window)) << "error " << GetLastError();
    UnmapViewOfFile(leftView);
}

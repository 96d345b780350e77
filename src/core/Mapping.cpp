#include "core/Mapping.h"

namespace {

// Writes the record's fields one by one as aligned whole values: a hook procedure in another
// process may read the area at any moment, and must never see a field half written. The reserved
// bytes stay as they are.
void StoreRecord(void* view, const TShareData& data) {
    volatile TShareData* target = static_cast<volatile TShareData*>(view);
    target->HookHandle = data.HookHandle;
    target->HostWindow = data.HostWindow;
    target->ProcessId = data.ProcessId;
    target->ThreadId = data.ThreadId;
    target->MessageId = data.MessageId;
    target->CallLauncherMenu = data.CallLauncherMenu;
    target->CallClipboardMenu = data.CallClipboardMenu;
    target->ImeOpen = data.ImeOpen;
    target->ImeClose = data.ImeClose;
}

void LoadRecord(const void* view, TShareData& data) {
    const volatile TShareData* source = static_cast<const volatile TShareData*>(view);
    data.HookHandle = source->HookHandle;
    data.HostWindow = source->HostWindow;
    data.ProcessId = source->ProcessId;
    data.ThreadId = source->ThreadId;
    data.MessageId = source->MessageId;
    data.CallLauncherMenu = source->CallLauncherMenu;
    data.CallClipboardMenu = source->CallClipboardMenu;
    data.ImeOpen = source->ImeOpen;
    data.ImeClose = source->ImeClose;
}

// Maps the area's record, writes it, flushes the whole area and unmaps it.
bool WriteRecord(HANDLE mapping, const TShareData& data) {
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, ShareAreaSize);
    if (view == nullptr) return false;
    StoreRecord(view, data);
    const bool flushed = FlushViewOfFile(view, ShareAreaSize) != FALSE;
    UnmapViewOfFile(view);
    return flushed;
}

} // namespace

TMappingArea::~TMappingArea() {
    CloseMappingArea();
}

bool TMappingArea::CreateMappingArea(HWND window) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        ShareAreaSize, MappingName);
    if (mapping != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another copy (or this object already) holds the area: it is not ours to fill.
        CloseHandle(mapping);
        SetLastError(ERROR_ALREADY_EXISTS);
        return false;
    }
    FHostWindow = window;
    if (mapping == nullptr) return false;
    FMapping = mapping;

    TShareData data{};
    data.HostWindow = HandleToULong(window);
    DWORD processId = 0;
    data.ThreadId = GetWindowThreadProcessId(window, &processId);
    data.ProcessId = processId;
    return WriteRecord(FMapping, data);
}

bool TMappingArea::CloseMappingArea() {
    if (FMapping == nullptr) return false;
    const bool closed = CloseHandle(FMapping) != FALSE;
    FMapping = nullptr;
    return closed;
}

bool TMappingArea::GetMappingData(TShareData& data) const {
    const DWORD lastError = GetLastError();
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MappingName);
    if (mapping == nullptr) {
        SetLastError(lastError);
        return false;
    }
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, ShareAreaSize);
    if (view == nullptr) {
        const DWORD mapError = GetLastError();
        CloseHandle(mapping);
        SetLastError(mapError);
        return false;
    }
    LoadRecord(view, data);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    SetLastError(lastError);
    return true;
}

bool TMappingArea::SetMappingData(TShareData data) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, MappingName);
    if (mapping == nullptr) return false;
    const bool written = WriteRecord(mapping, data);
    CloseHandle(mapping);
    return written;
}

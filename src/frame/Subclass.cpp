#include "frame/Subclass.h"

#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

namespace {

struct TEntry {
    SUBCLASSPROC Proc; // nullptr once removed while a message is on its way
    UINT_PTR Id;
    DWORD_PTR Data;
};

struct TChain {
    WNDPROC Original = nullptr;
    // The oldest first; a message runs from the back. Entries stay in place while a message is
    // on its way through them, so that the place of the next one stays right.
    std::vector<TEntry> Entries;
    std::size_t Next = 0; // the entry before this one is the next to see the message
    int Running = 0;      // messages on their way through the chain
    bool Destroyed = false;
};

// One table for the program; a chain itself is only touched on its window's thread.
std::unordered_map<HWND, std::unique_ptr<TChain>> Chains;
SRWLOCK ChainsLock = SRWLOCK_INIT;

TChain* ChainOf(HWND window) {
    AcquireSRWLockShared(&ChainsLock);
    const auto found = Chains.find(window);
    TChain* chain = found == Chains.end() ? nullptr : found->second.get();
    ReleaseSRWLockShared(&ChainsLock);
    return chain;
}

TChain* AddChain(HWND window) {
    AcquireSRWLockExclusive(&ChainsLock);
    auto& chain = Chains[window];
    chain = std::make_unique<TChain>();
    TChain* added = chain.get();
    ReleaseSRWLockExclusive(&ChainsLock);
    return added;
}

void DropChain(HWND window) {
    std::unique_ptr<TChain> dropped;
    AcquireSRWLockExclusive(&ChainsLock);
    if (const auto found = Chains.find(window); found != Chains.end()) {
        dropped = std::move(found->second);
        Chains.erase(found);
    }
    ReleaseSRWLockExclusive(&ChainsLock);
}

LRESULT CALLBACK ChainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Once no message is on its way: the removed entries go, and a window without subclasses gets
// its own procedure back (when no one has subclassed it after us) or leaves the table when gone.
void Tidy(HWND window, TChain& chain) {
    if (chain.Running > 0) return;
    chain.Entries.erase(std::remove_if(chain.Entries.begin(), chain.Entries.end(),
                                       [](const TEntry& entry) { return !entry.Proc; }),
                        chain.Entries.end());
    if (chain.Destroyed) {
        DropChain(window);
        return;
    }
    if (!chain.Entries.empty() ||
        GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(ChainProc))
        return;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain.Original));
    DropChain(window);
}

LRESULT CALLBACK ChainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TChain* chain = ChainOf(window);
    if (!chain) return DefWindowProcW(window, message, wParam, lParam);
    const std::size_t outer = chain->Next;
    chain->Next = chain->Entries.size();
    ++chain->Running;
    const LRESULT result = DefSubclass(window, message, wParam, lParam);
    --chain->Running;
    chain->Next = outer;
    if (message == WM_NCDESTROY) chain->Destroyed = true;
    Tidy(window, *chain);
    return result;
}

} // namespace

bool SetSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    // A window of another thread, or none (whose thread is 0), cannot be subclassed here.
    if (!proc || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
    TChain* chain = ChainOf(window);
    if (!chain) {
        chain = AddChain(window);
        chain->Original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChainProc)));
        if (!chain->Original) {
            DropChain(window);
            return false;
        }
    }
    for (TEntry& entry : chain->Entries)
        if (entry.Proc == proc && entry.Id == id) {
            entry.Data = data;
            return true;
        }
    chain->Entries.push_back(TEntry{proc, id, data});
    return true;
}

bool RemoveSubclass(HWND window, SUBCLASSPROC proc, UINT_PTR id) {
    TChain* chain = ChainOf(window);
    if (!chain || !proc) return false;
    for (TEntry& entry : chain->Entries)
        if (entry.Proc == proc && entry.Id == id) {
            entry.Proc = nullptr;
            Tidy(window, *chain);
            return true;
        }
    return false;
}

LRESULT DefSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    TChain* chain = ChainOf(window);
    if (!chain) return DefWindowProcW(window, message, wParam, lParam);
    while (chain->Next > 0) {
        const TEntry entry = chain->Entries[--chain->Next];
        if (entry.Proc) return entry.Proc(window, message, wParam, lParam, entry.Id, entry.Data);
    }
    return CallWindowProcW(chain->Original, window, message, wParam, lParam);
}

// The keyboard hook's decision runs inside every application on every key. This measures what one
// decision costs for an ordinary key, for a modifier that completes nothing and for a call-key
// press, against a bare indirect call measured in the same run, and counts how often the system's
// key state would be asked for a million ordinary keys (it must be never).
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "hook/HookLogic.h"

namespace {

class TCountingKeyboard final : public TKeyStateQuery {
public:
    bool Held[256] = {};
    mutable uint64_t Queries = 0;

    bool IsDown(unsigned key) const override {
        ++Queries;
        return Held[key & 0xFF];
    }
};

// Something for the optimiser to keep.
volatile unsigned Sink = 0;

// The baseline: a call that cannot be inlined and does nothing but return.
[[gnu::noinline]] THookAction NothingToDo(const TKeyEvent& key, const TShareData&,
                                          const TKeyStateQuery&) {
    return key.VirtualKey == 0x100 ? THookAction::OpenIme : THookAction::None;
}

using TDecision = THookAction (*)(const TKeyEvent&, const TShareData&, const TKeyStateQuery&);

// Nanoseconds per call over the events, repeated until about 0.2 s have passed; best of 5.
double TimePerCall(TDecision decide, const std::vector<TKeyEvent>& events, const TShareData& share,
                   const TKeyStateQuery& keys) {
    using Clock = std::chrono::steady_clock;
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        uint64_t calls = 0;
        unsigned sum = 0;
        const auto start = Clock::now();
        auto elapsed = Clock::duration::zero();
        do {
            for (const TKeyEvent& key : events)
                sum += static_cast<unsigned>(decide(key, share, keys));
            calls += events.size();
            elapsed = Clock::now() - start;
        } while (elapsed < std::chrono::milliseconds(40));
        Sink = sum;
        const double ns = std::chrono::duration<double, std::nano>(elapsed).count() / calls;
        if (ns < best) best = ns;
    }
    return best;
}

std::vector<TKeyEvent> Repeat(const TKeyEvent& key, size_t count) {
    return std::vector<TKeyEvent>(count, key);
}

} // namespace

int main() {
    TShareData share{};
    share.CallLauncherMenu = 1;
    share.CallClipboardMenu = 2;
    share.ImeOpen = 1;
    share.ImeClose = 1;

    // Ordinary keys: every key code the hook does not act on, going down and coming up.
    std::vector<TKeyEvent> ordinary;
    for (unsigned key = 0; key < 256; ++key) {
        if (MattersToHook(key)) continue;
        ordinary.push_back(MakeKeyEvent(key, 0));
        ordinary.push_back(MakeKeyEvent(key, 0xC0000000u));
    }

    TCountingKeyboard idle;
    TCountingKeyboard controlHeld;
    controlHeld.Held[0x11] = controlHeld.Held[0xA2] = true;

    const TKeyEvent controlDown = MakeKeyEvent(0x11, 0);
    const TKeyEvent altDown = MakeKeyEvent(0x12, 0);

    const double baseline = TimePerCall(NothingToDo, ordinary, share, idle);
    const double ordinaryNs = TimePerCall(DecideHookAction, ordinary, share, idle);
    const double modifierNs = TimePerCall(DecideHookAction, Repeat(controlDown, 512), share, idle);
    const double pairNs = TimePerCall(DecideHookAction, Repeat(altDown, 512), share, controlHeld);

    // The hot path asks the system nothing.
    TCountingKeyboard counted;
    unsigned posted = 0;
    const uint64_t million = 1000000;
    for (uint64_t i = 0; i < million; ++i)
        posted +=
            DecideHookAction(ordinary[i % ordinary.size()], share, counted) != THookAction::None;

    std::printf("%-40s %12s %10s\n", "event", "ns/call", "x baseline");
    std::printf("%-40s %12.2f %10.2f\n", "baseline (empty indirect call)", baseline, 1.0);
    std::printf("%-40s %12.2f %10.2f\n", "ordinary key (down and up)", ordinaryNs,
                ordinaryNs / baseline);
    std::printf("%-40s %12.2f %10.2f\n", "Control down, nothing held", modifierNs,
                modifierNs / baseline);
    std::printf("%-40s %12.2f %10.2f\n", "Alt down with Control held (posts)", pairNs,
                pairNs / baseline);
    std::printf("\ncall-key press / ordinary key: %.2f\n", pairNs / ordinaryNs);
    std::printf("key-state queries for %llu ordinary keys: %llu (actions: %u)\n",
                static_cast<unsigned long long>(million),
                static_cast<unsigned long long>(counted.Queries), posted);
    return counted.Queries == 0 && posted == 0 ? 0 : 1;
}

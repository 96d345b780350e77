#include "clipboard/CaptureRetry.h"

#include <algorithm>

unsigned TCaptureRetry::Busy() {
    if (Waited >= TotalWait) {
        Reset();
        return 0;
    }
    // Doubling waits, the last one cut so that the whole stays within the total.
    const unsigned wait = std::min(Next, TotalWait - Waited);
    Waited += wait;
    Next *= 2;
    return wait;
}

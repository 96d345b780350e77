#pragma once
// When a copy is heard of while another program still holds the clipboard open, the text is
// read again later rather than waited for: the user-interface thread never sleeps on the
// clipboard. The waits between tries grow, and after about two seconds in all the copy is given
// up. The clipboard holds only its newest content, so a newer copy starts the schedule afresh.

class TCaptureRetry {
public:
    // The first wait and the most all waits of one copy add up to, in milliseconds.
    static constexpr unsigned FirstWait = 10;
    static constexpr unsigned TotalWait = 2000;

    // A copy was heard of: a retry still pending for an older one is dropped.
    void Reset() { Waited = 0, Next = FirstWait; }
    // The clipboard was busy: the milliseconds to wait before the next try, or 0 when the copy
    // has been waited for long enough and is given up.
    unsigned Busy();
    // A retry is scheduled and its copy not yet read.
    bool Pending() const { return Waited > 0; }

private:
    unsigned Waited = 0;
    unsigned Next = FirstWait;
};

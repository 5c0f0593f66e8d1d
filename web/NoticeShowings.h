// The life of a shown notice: showings of 11 seconds, 40 minutes apart, as many as the
// notice asks for, and the end by the player (close, click) or by the program (minimise).
// Says what the window does at each step and what "PopEnable" becomes. Platform-free.
#pragma once

namespace vorel {

constexpr unsigned kNoticeShowingMs = 11000;        // timer 1
constexpr unsigned kNoticeWaitMs = 40 * 60 * 1000;  // timer 2
constexpr unsigned kNoticeShowingTimer = 1;
constexpr unsigned kNoticeWaitTimer = 2;

// What the window does after an event. Ending takes every timer with it.
struct NoticeStep {
    bool startShowingTimer = false;
    bool startWaitTimer = false;
    bool hide = false;
    bool show = false;
    bool end = false;
    bool openLink = false;               // only when the link may be opened at all
    const wchar_t* popEnable = nullptr;  // the value to store, or null: untouched
};

class NoticeShowings {
public:
    enum class State { Showing, Waiting, Ended };

    // showings: the notice's field 6; fewer than 1 still gives the first showing.
    explicit NoticeShowings(int showings) : m_showings(showings) {}

    // The first showing starts (timer 1), whether or not the window was shown.
    NoticeStep Start();
    // Timer 1: the showing is over.
    NoticeStep ShowingOver();
    // Timer 2: the next showing is due; it is counted, but only seen while the main window
    // is visible.
    NoticeStep WaitOver(bool parentVisible);
    // The close button: not to be shown again until a new notice comes.
    NoticeStep Closed();
    // A click on title, text or details; linkOpenable: the link may be handed to the shell.
    NoticeStep Clicked(bool linkOpenable);
    // The program's own end (the notice was not to be shown): the settings stay.
    NoticeStep Minimised();

    State state() const { return m_state; }
    int showing() const { return m_showing; }

private:
    NoticeStep End(const wchar_t* popEnable);

    int m_showings;
    int m_showing = 1;  // the first showing counts as 1
    State m_state = State::Showing;
};

}  // namespace vorel

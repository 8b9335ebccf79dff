#pragma once

// What the page server needs of the main window. The main window implements it; programs
// and tests without one give a stand-in.
class TPageServerHost {
public:
    virtual ~TPageServerHost() = default;

    // The list page shown: 0 reading list, 1 download schedule, 2 web phone book (0 when
    // there is no window yet). Called on the main thread. Missing pages are fetched live
    // only while it is 2.
    virtual int CurrentList() const = 0;
    // Brings up the Internet connection when it is down; true when the live fetch may go
    // on. Called on the answering worker's own thread; may block while it dials.
    virtual bool EnsureConnection() = 0;
};

// The list page on which missing pages are fetched live.
inline constexpr int PhoneBookList = 2;

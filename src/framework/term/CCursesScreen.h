// The terminal as a full screen, through ncurses: started on standard input
// and output when both are terminals that can place the cursor, shows a
// painted cell grid, reads keys without waiting, and puts the terminal back
// as it was when it stops, at exit, and on a signal that ends the process (a
// crash included).
#pragma once

class CCellGrid;

class CCursesScreen {
public:
    CCursesScreen();
    ~CCursesScreen();
    CCursesScreen(const CCursesScreen&) = delete;
    CCursesScreen& operator=(const CCursesScreen&) = delete;

    // False when there is no terminal to take over; nothing is changed then.
    bool Start();
    bool IsStarted() const { return m_started; }

    void GetSize(int* rows, int* columns) const;
    void Show(const CCellGrid& grid);
    // The next key as a ScreenKey, or skNone when no key waits.
    int ReadKey();

private:
    bool m_started = false;
    void* m_screen = nullptr;  // the library's SCREEN
};

// The keys of the full-screen terminal front end, independent of the terminal
// library: a typed character is its code page 1252 byte (0x20 to 0xFF, not
// 0x7F); the other keys have codes of their own.
#pragma once

enum ScreenKey : int {
    skNone = 0,
    skInterrupt = 0x03,  // Ctrl-C
    skBackspace = 0x08,
    skTab = 0x09,
    skEnter = 0x0D,
    skEscape = 0x1B,
    skBackTab = 0x100,   // Shift-Tab
    skLeft,
    skRight,
    skUp,
    skDown,
    skHome,
    skEnd,
    skDelete,
    skSystemMenu,        // F10 or Alt-Space
    skResize,            // the terminal changed its size
};

// True for a key that types the character of its code.
inline bool IsTypedCharacter(int key)
{
    return key >= 0x20 && key <= 0xFF && key != 0x7F;
}

// The emulated USB devices of these tests live in umockdev's test bed, which
// reaches the program only through umockdev's preload library: a program
// that is not yet running under it starts itself again with it (and with the
// sanitizer told that the library comes first). Processes it starts inherit
// the emulation.
#pragma once

// Returns only when the program runs under the preload library.
void RunUnderUmockdev(char** argv);

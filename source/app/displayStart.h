#ifndef ZENTROVA_DISPLAYSTART_H
#define ZENTROVA_DISPLAYSTART_H

// Starts every SDL subsystem. With a display set and no driver named, SDL
// 1.2 is asked for its X11 driver: left to choose, it falls back from a
// refused connection to a text-mode driver and draws in the terminal.
//
// An X server that has just lost its last client resets; for a moment it
// refuses connections, and a connection that lands in the reset can wait for
// ever for the server's greeting. So for a local display the game first
// opens a connection of its own, waits a bounded time for the greeting, and
// holds that connection while SDL connects, which keeps the server from
// resetting under SDL. Refusals and silences are tried again for about a
// second. False when SDL could not start.
bool startMediaLibrary();

#endif

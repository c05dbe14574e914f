// The ways out that arrive from outside the main loop: the window's close
// button (the library calls back on its own thread) and the signals that
// ask a program to end (SIGINT, SIGTERM, SIGQUIT). Each is only noted where
// it arrives, which is all a signal handler may safely do; the next pass or
// key wait ends the game through the usual shutdown.
#pragma once

constexpr int kNoQuitRequested = -1;
constexpr int kSignalStatusBase = 128;  // a signal's status: 128 + its number

// The close button: the game ends with status 0.
void requestClose();
// Puts handlers that only note the signal in place of the library's, which
// shut the library down under the running game. Call once graphics are up.
void catchQuitSignals();

// The status the game is asked to end with, or kNoQuitRequested. The first
// request wins.
int requestedQuitStatus();
// The requested status, or `status` when none was asked for.
int quitStatusOr(int status);
// Forgets the request (tests run several in one process).
void clearQuitRequest();

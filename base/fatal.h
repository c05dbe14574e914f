// Ending the game on a fatal problem the way every fatal path does: leave the
// graphics mode, show the message with allegro_message, exit with status 0
// (or the status a caller chose for its failures); and making a picture the
// game cannot go on without.
#pragma once

struct BITMAP;

[[noreturn]] void leaveWithMessage(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

// The status leaveWithMessage ends with from now on; 0 at first.
void setFatalStatus(int status);

// A memory picture of w x h pixels, or the game ends with the message below
// (a null picture would only crash later, far from the cause).
BITMAP* createBitmapOrExit(int w, int h);

// The message for a map that cannot be loaded.
constexpr const char* kMissingMapMessage = "Cannot find MAP file:  %s";
// Room for a message with a path in it.
constexpr int kMessageSize = 4096;
// The message for a picture that cannot be loaded.
constexpr const char* kMissingPictureMessage = "Cannot load picture file:  %s\n";
// The message for a picture that cannot be made (out of memory).
constexpr const char* kPictureNotMadeMessage = "Cannot create picture:  %d x %d\n";

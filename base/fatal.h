// Ending the game on a fatal problem the way every fatal path does: leave the
// graphics mode, show the message with allegro_message, exit with status 0.
#pragma once

[[noreturn]] void leaveWithMessage(const char* format, ...)
    __attribute__((format(printf, 1, 2)));

// The message for a map that cannot be loaded.
constexpr const char* kMissingMapMessage = "Cannot find MAP file:  %s";
// Room for a message with a path in it.
constexpr int kMessageSize = 4096;
// The message for a picture that cannot be loaded.
constexpr const char* kMissingPictureMessage = "Cannot load picture file:  %s\n";

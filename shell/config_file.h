// Reading a config file: `key = value` lines, blanks around either part
// left out, `#` comment lines and blank lines skipped, no sections. A file
// is taken whole or refused whole, with what is wrong and on which line.
#pragma once

#include <string>
#include <vector>

// One `key = value` line of a config file.
struct ConfigEntry {
    std::string name;
    std::string value;
    int line;
};

// Reads the file at `path` into `entries`. "" when it is a good file, else
// why not, without the path: it cannot be read (a folder among those), is
// over 64 KiB (refused unread), holds a section (`keyNames` are named as the
// keys to give instead), a line of another kind or a key given twice.
std::string readConfigEntries(const std::string& path, const char* keyNames, std::vector<ConfigEntry>& entries);

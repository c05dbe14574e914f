#include "shell/config_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Config files are a few lines; anything far bigger is not one, and is
// refused before it is read.
constexpr long kMaxConfigBytes = 64 * 1024;
constexpr const char* kMaxConfigSize = "64 KiB";
// Some editors start a UTF-8 file with this mark; it is not part of a key.
constexpr const char kByteOrderMark[] = "\xef\xbb\xbf";
constexpr const char* kBlanks = " \t\r";

using FileHandle = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// The bytes of the file at `path` into `bytes`; "" when read, else what is
// wrong with it. A folder opens but fails the read, and is refused like any
// file that cannot be read.
std::string readConfigBytes(const std::string& path, std::string& bytes)
{
    const FileHandle file(std::fopen(path.c_str(), "rb"), std::fclose);
    struct stat status = {};
    if (file == nullptr || fstat(fileno(file.get()), &status) != 0) {
        return std::string("cannot be read: ") + std::strerror(errno);
    }
    const std::string tooLarge = std::string("is larger than ") + kMaxConfigSize + "; a config file is a few lines";
    if (status.st_size > kMaxConfigBytes) {
        return tooLarge;
    }
    // The size is checked again while reading: a device or a pipe has none.
    char chunk[BUFSIZ];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) {
        bytes.append(chunk, got);
        if (bytes.size() > static_cast<std::size_t>(kMaxConfigBytes)) {
            return tooLarge;
        }
    }
    return std::ferror(file.get()) ? std::string("cannot be read: ") + std::strerror(errno) : "";
}

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(kBlanks);
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The file's `key = value` lines, after comments and blank lines are left
// out; "" when every line is one of those, else what is wrong and where.
std::string splitConfigLines(std::string bytes, const char* keyNames, std::vector<ConfigEntry>& entries)
{
    if (bytes.compare(0, sizeof kByteOrderMark - 1, kByteOrderMark) == 0) {
        bytes.erase(0, sizeof kByteOrderMark - 1);
    }
    int number = 0;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = std::min(bytes.find('\n', start), bytes.size());
        const std::string line = trimmed(bytes.substr(start, end - start));
        start = end + 1;
        ++number;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::string where = "line " + std::to_string(number);
        if (line[0] == '[') {
            return "unknown section " + line + "; the keys " + keyNames + " stand before any section";
        }
        if (line.find('\0') != std::string::npos) {
            return where + " holds a NUL byte; a config file is text";
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            return where + " \"" + line + "\" is not key = value";
        }
        entries.push_back({trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1)), number});
    }
    return "";
}

// "" when no key is given twice; else the first such key and all its lines.
std::string repeatedKey(const std::vector<ConfigEntry>& entries)
{
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::vector<int> lines = {entries[i].line};
        for (std::size_t later = i + 1; later < entries.size(); ++later) {
            if (entries[later].name == entries[i].name) {
                lines.push_back(entries[later].line);
            }
        }
        if (lines.size() == 1) {
            continue;
        }
        std::string listed = std::to_string(lines[0]);
        for (std::size_t at = 1; at < lines.size(); ++at) {
            listed += (at + 1 == lines.size() ? " and " : ", ") + std::to_string(lines[at]);
        }
        return "key \"" + entries[i].name + "\" is given more than once, on lines " + listed +
               "; give each key once";
    }
    return "";
}

}  // namespace

std::string readConfigEntries(const std::string& path, const char* keyNames, std::vector<ConfigEntry>& entries)
{
    std::string bytes;
    std::string wrong = readConfigBytes(path, bytes);
    if (wrong.empty()) {
        wrong = splitConfigLines(std::move(bytes), keyNames, entries);
    }
    return wrong.empty() ? repeatedKey(entries) : wrong;
}

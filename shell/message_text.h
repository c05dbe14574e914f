// Text from outside (file contents, arguments, paths) made safe to print in
// a one-line message: a byte that would break the line, move the cursor or
// start a terminal escape is shown as \xHH instead.
#pragma once

#include <string>

// Printable ASCII and well-formed UTF-8 of printable characters are kept;
// control bytes (C0, DEL, and C1 as UTF-8) and malformed UTF-8 become \xHH.
std::string escapeNonPrinting(const std::string& text);

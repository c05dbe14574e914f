#include "shell/message_text.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7f;
// The C1 controls, U+0080 to U+009F, can start escapes in some terminals.
constexpr std::uint32_t kFirstPrintableAboveAscii = 0xa0;

// How a UTF-8 sequence's first byte gives its length; the shortest code
// point of each length tells an overlong (disguised) form.
struct Utf8Lead {
    unsigned char mask, bits;
    std::size_t length;
    std::uint32_t lowest;
};
constexpr Utf8Lead kUtf8Leads[] = {{0xe0, 0xc0, 2, 0x80}, {0xf0, 0xe0, 3, 0x800}, {0xf8, 0xf0, 4, 0x10000}};
constexpr unsigned char kContinuationMask = 0xc0, kContinuationBits = 0x80;
constexpr int kContinuationPayload = 6;
constexpr std::uint32_t kSurrogateFirst = 0xd800, kSurrogateLast = 0xdfff, kLastCodePoint = 0x10ffff;

// The length of the well-formed UTF-8 sequence of a printable character at
// `at`, or 0 when the bytes there are anything else.
std::size_t printableUtf8Length(const std::string& text, std::size_t at)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    for (const Utf8Lead& lead : kUtf8Leads) {
        if ((byte(at) & lead.mask) != lead.bits) {
            continue;
        }
        if (at + lead.length > text.size()) {
            return 0;
        }
        std::uint32_t code = byte(at) & static_cast<unsigned char>(~lead.mask);
        for (std::size_t i = 1; i < lead.length; ++i) {
            if ((byte(at + i) & kContinuationMask) != kContinuationBits) {
                return 0;
            }
            code = (code << kContinuationPayload) | (byte(at + i) & static_cast<unsigned char>(~kContinuationMask));
        }
        const bool surrogate = code >= kSurrogateFirst && code <= kSurrogateLast;
        const bool valid = code >= lead.lowest && code <= kLastCodePoint && !surrogate;
        return valid && code >= kFirstPrintableAboveAscii ? lead.length : 0;
    }
    return 0;
}

}  // namespace

std::string escapeNonPrinting(const std::string& text)
{
    std::string shown;
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= kFirstPrintable && byte < kDelete) {
            shown += text[at++];
            continue;
        }
        const std::size_t length = byte > kDelete ? printableUtf8Length(text, at) : 0;
        if (length > 0) {
            shown.append(text, at, length);
            at += length;
            continue;
        }
        char escaped[sizeof "\\xff"];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        shown += escaped;
        ++at;
    }
    return shown;
}

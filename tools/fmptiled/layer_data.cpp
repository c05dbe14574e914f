// Tile layer data in Tiled's encodings: CSV, or base64 of 32-bit
// little-endian ids, raw or compressed with zlib, gzip or zstd (inflated by
// zlib and libzstd).
#include "tools/fmptiled/tiled_map.h"

#include <zlib.h>
#include <zstd.h>

#include <cctype>
#include <cstdlib>

namespace tiled {
namespace {

constexpr int kIdBytes = 4;
constexpr int kBase64GroupBits = 6;
constexpr int kByteBits = 8;
constexpr int kZlibOrGzipHeader = 15 + 32;  // the largest window, either header

[[noreturn]] void refuse(const std::string& where, const std::string& why)
{
    throw Refusal(where + ": " + why);
}

int base64Value(char c)
{
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

std::string fromBase64(const std::string& where, const std::string& text)
{
    std::string bytes;
    uint32_t bits = 0;
    int held = 0;
    bool ended = false;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            continue;
        }
        if (c == '=') {
            ended = true;
            continue;
        }
        const int value = base64Value(c);
        if (value < 0 || ended) {
            refuse(where, "the base64 layer data holds a stray character");
        }
        bits = bits << kBase64GroupBits | static_cast<uint32_t>(value);
        held += kBase64GroupBits;
        if (held >= kByteBits) {
            held -= kByteBits;
            bytes.push_back(static_cast<char>(bits >> held));
        }
    }
    return bytes;
}

// Inflates exactly `size` bytes; more or fewer is refused.
std::string inflateZlib(const std::string& where, const std::string& packed, std::size_t size)
{
    std::string out(size + 1, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, kZlibOrGzipHeader) != Z_OK) {
        refuse(where, "zlib could not start");
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const std::size_t got = out.size() - stream.avail_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END || got != size) {
        refuse(where, "the compressed layer data does not inflate to the layer's cells");
    }
    out.resize(size);
    return out;
}

std::string inflateZstd(const std::string& where, const std::string& packed, std::size_t size)
{
    std::string out(size + 1, '\0');
    const std::size_t got = ZSTD_decompress(out.data(), out.size(), packed.data(), packed.size());
    if (ZSTD_isError(got) || got != size) {
        refuse(where, "the zstd layer data does not inflate to the layer's cells");
    }
    out.resize(size);
    return out;
}

std::vector<uint32_t> fromCsv(const std::string& where, const std::string& text)
{
    std::vector<uint32_t> ids;
    const char* p = text.c_str();
    while (*p) {
        while (std::isspace(static_cast<unsigned char>(*p))) ++p;
        if (!*p) break;
        if (!std::isdigit(static_cast<unsigned char>(*p))) {
            refuse(where, "the CSV layer data holds something that is not a tile id");
        }
        char* end = nullptr;
        const unsigned long long id = std::strtoull(p, &end, 10);
        if (id > UINT32_MAX) {
            refuse(where, "a tile id in the CSV layer data is too large");
        }
        ids.push_back(static_cast<uint32_t>(id));
        p = end;
        while (std::isspace(static_cast<unsigned char>(*p))) ++p;
        if (*p == ',') ++p;
    }
    return ids;
}

}  // namespace

uint32_t plainGid(uint32_t gid, const std::string& where, std::size_t cell, int width)
{
    if (gid & (kFlipHorizontal | kFlipVertical | kFlipDiagonal)) {
        const int w = width > 0 ? width : 1;
        refuse(where, "cell (" + std::to_string(cell % w) + ", " + std::to_string(cell / w) +
                          ") holds a flipped or rotated tile, which FMP cannot show");
    }
    return gid & ~kRotateHex;
}

std::vector<uint32_t> decodeLayerData(const std::string& where, const std::string& encoding,
                                      const std::string& compression, const std::string& text, std::size_t cells)
{
    std::vector<uint32_t> ids;
    if (encoding == "csv") {
        if (!compression.empty()) refuse(where, "CSV layer data cannot be compressed");
        ids = fromCsv(where, text);
    } else if (encoding == "base64") {
        std::string bytes = fromBase64(where, text);
        if (compression == "zlib" || compression == "gzip") {
            bytes = inflateZlib(where, bytes, cells * kIdBytes);
        } else if (compression == "zstd") {
            bytes = inflateZstd(where, bytes, cells * kIdBytes);
        } else if (!compression.empty()) {
            refuse(where, "unknown compression \"" + compression + "\"");
        }
        if (bytes.size() % kIdBytes != 0) refuse(where, "the base64 layer data is not whole tile ids");
        for (std::size_t i = 0; i < bytes.size(); i += kIdBytes) {
            uint32_t id = 0;
            for (int b = kIdBytes - 1; b >= 0; --b) id = id << kByteBits | static_cast<uint8_t>(bytes[i + b]);
            ids.push_back(id);
        }
    } else {
        refuse(where, "unknown layer encoding \"" + encoding + "\"");
    }
    if (ids.size() != cells) {
        refuse(where, "the layer data holds " + std::to_string(ids.size()) + " cells, the layer " +
                          std::to_string(cells));
    }
    return ids;
}

}  // namespace tiled

// Building FMP map files byte by byte for tests and benchmarks: fields in
// either byte order, chunks with big-endian lengths, the FORM container and
// the usual chunks from their field values. It follows the file layout only.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace fmp {

// Values of the given sizes in bytes, in the given byte order.
inline std::string fields(bool littleEndian, std::initializer_list<std::pair<int64_t, int>> list)
{
    std::string out;
    for (const auto& [value, size] : list) {
        for (int i = 0; i < size; ++i) {
            out.push_back(static_cast<char>(static_cast<uint64_t>(value) >> 8 * (littleEndian ? i : size - 1 - i)));
        }
    }
    return out;
}

// id, big-endian length, data; no padding after an odd length.
inline std::string chunk(const std::string& id, const std::string& data)
{
    return id + fields(false, {{static_cast<int64_t>(data.size()), 4}}) + data;
}

inline std::string form(const std::string& chunks)
{
    return "FORM" + fields(false, {{static_cast<int64_t>(chunks.size() + 4), 4}}) + "FMAP" + chunks;
}

struct Header {
    int version = 1, encodingType = 1, mapWidth = 2, mapHeight = 2, blockWidth = 2, blockHeight = 2;
    int blockDepth = 32, blockRecordSize = 32, blockRecordCount = 1, graphicCount = 1;
    int blockStepX = 2, blockStepY = 2, staggerX = 0, staggerY = 0;
    bool littleEndian = false;
};

inline std::string mphd(const Header& h)
{
    const bool le = h.littleEndian;
    return chunk("MPHD", fields(le, {{h.version, 1}, {0, 1}, {le, 1}, {h.encodingType, 1}, {h.mapWidth, 2},
                                     {h.mapHeight, 2}, {0, 4}, {h.blockWidth, 2}, {h.blockHeight, 2},
                                     {h.blockDepth, 2}, {h.blockRecordSize, 2}, {h.blockRecordCount, 2},
                                     {h.graphicCount, 2}, {0, 4}, {h.blockStepX, 2}, {h.blockStepY, 2},
                                     {h.staggerX, 2}, {h.staggerY, 2}}));
}

struct Block {
    int64_t back = 0, fore1 = 0, fore2 = 0, fore3 = 0, user1 = 0, user2 = 0;
    int user3 = 0, user4 = 0, user5 = 0, user6 = 0, user7 = 0, flags = 0;
};

// Records of recordSize bytes: the bytes past the 32 of the fields are 0xEE
// so that reading them would show; a smaller size cuts each record short.
inline std::string bkdt(const std::vector<Block>& blocks, bool littleEndian = false, int recordSize = 32)
{
    std::string records;
    for (const Block& k : blocks) {
        std::string record = fields(littleEndian, {{k.back, 4}, {k.fore1, 4}, {k.fore2, 4}, {k.fore3, 4},
                                                   {k.user1, 4}, {k.user2, 4}, {k.user3, 2}, {k.user4, 2},
                                                   {k.user5, 1}, {k.user6, 1}, {k.user7, 1}, {k.flags, 1}});
        record.resize(static_cast<std::size_t>(recordSize < 0 ? 0 : recordSize), '\xEE');
        records += record;
    }
    return chunk("BKDT", records);
}

struct Anim {
    int type = 1, delay = 0, counter = 0, user = 0;
    int64_t current = 0, first = 0, end = 0;
};

// Frame list, the end record, then the records in file order.
inline std::string andt(const std::vector<int64_t>& frames, const std::vector<Anim>& anims, bool littleEndian = false)
{
    std::string data;
    for (int64_t f : frames) {
        data += fields(littleEndian, {{f, 4}});
    }
    data += '\xFF' + std::string(15, '\0');
    for (const Anim& a : anims) {
        data += fields(littleEndian, {{a.type, 1}, {a.delay, 1}, {a.counter, 1}, {a.user, 1}, {a.current, 4},
                                      {a.first, 4}, {a.end, 4}});
    }
    return chunk("ANDT", data);
}

// 16-bit values: cells of encodingType 0 and 1, or the run stream of 2 and 3.
inline std::string shorts(const std::vector<int>& values, bool littleEndian = false)
{
    std::string out;
    for (int v : values) {
        out += fields(littleEndian, {{v, 2}});
    }
    return out;
}

inline std::string layer(int index, const std::vector<int>& values, bool littleEndian = false)
{
    return chunk(index == 0 ? std::string("BODY") : "LYR" + std::to_string(index), shorts(values, littleEndian));
}

// count graphics of w x h pixels at the given depth, each a pattern of its own.
inline std::string patternGraphics(int count, int w, int h, int depth)
{
    const int size = w * h * ((depth + 1) / 8);
    std::string out;
    for (int i = 0; i < count * size; ++i) {
        out.push_back(static_cast<char>((i / size * 37 + i % size * 11 + 1) & 0xFF));
    }
    return out;
}

}  // namespace fmp

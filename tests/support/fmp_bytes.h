// Building FMP map files byte by byte for tests, fuzz seeds and benchmarks:
// values in either byte order, chunks with big-endian lengths, the FORM
// container, and the usual chunks from their field values. Nothing here
// knows the loader; it only follows the file layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fmp {

// Bytes in the map's declared byte order (chunk lengths are always
// big-endian and written by chunk()).
class Bytes {
public:
    explicit Bytes(bool littleEndian = false) : little_(littleEndian) {}
    Bytes& u8(int value)
    {
        data_.push_back(static_cast<char>(value & 0xFF));
        return *this;
    }
    Bytes& u16(int value)
    {
        const auto v = static_cast<uint16_t>(value);
        return little_ ? u8(v).u8(v >> 8) : u8(v >> 8).u8(v);
    }
    Bytes& u32(int64_t value)
    {
        const auto v = static_cast<uint32_t>(value);
        return little_ ? u16(static_cast<int>(v & 0xFFFF)).u16(static_cast<int>(v >> 16))
                       : u16(static_cast<int>(v >> 16)).u16(static_cast<int>(v & 0xFFFF));
    }
    Bytes& raw(const std::string& bytes)
    {
        data_ += bytes;
        return *this;
    }
    Bytes& fill(std::size_t count, int value)
    {
        data_.append(count, static_cast<char>(value));
        return *this;
    }
    const std::string& str() const { return data_; }
    bool little() const { return little_; }

private:
    bool little_;
    std::string data_;
};

inline std::string bigEndian32(uint32_t value)
{
    return std::string{static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
                       static_cast<char>(value)};
}

// id, big-endian length, data; no padding after an odd length.
inline std::string chunk(const std::string& id, const std::string& data)
{
    return id + bigEndian32(static_cast<uint32_t>(data.size())) + data;
}

// "FORM", the form length (form type and chunks), "FMAP", the chunks.
inline std::string form(const std::string& chunks)
{
    return "FORM" + bigEndian32(static_cast<uint32_t>(chunks.size() + 4)) + "FMAP" + chunks;
}

struct Header {
    int version = 1;
    bool littleEndian = false;
    int encodingType = 1;
    int mapWidth = 2;
    int mapHeight = 2;
    int blockWidth = 2;
    int blockHeight = 2;
    int blockDepth = 32;
    int blockRecordSize = 32;
    int blockRecordCount = 1;
    int graphicCount = 1;
    bool withSteps = true;  // 36 data bytes with steps and staggers, else 28
    int blockStepX = 2;
    int blockStepY = 2;
    int staggerX = 0;
    int staggerY = 0;
};

inline std::string headerData(const Header& h)
{
    Bytes b(h.littleEndian);
    b.u8(h.version).u8(0).u8(h.littleEndian ? 1 : 0).u8(h.encodingType);
    b.u16(h.mapWidth).u16(h.mapHeight).u32(0);
    b.u16(h.blockWidth).u16(h.blockHeight).u16(h.blockDepth);
    b.u16(h.blockRecordSize).u16(h.blockRecordCount).u16(h.graphicCount).u32(0);
    if (h.withSteps) {
        b.u16(h.blockStepX).u16(h.blockStepY).u16(h.staggerX).u16(h.staggerY);
    }
    return b.str();
}

inline std::string mphd(const Header& h)
{
    return chunk("MPHD", headerData(h));
}

struct Block {
    int64_t back = 0;
    int64_t fore1 = 0;
    int64_t fore2 = 0;
    int64_t fore3 = 0;
    uint32_t user1 = 0;
    uint32_t user2 = 0;
    int user3 = 0;
    int user4 = 0;
    int user5 = 0;
    int user6 = 0;
    int user7 = 0;
    int flags = 0;
};

// Records of recordSize bytes each; bytes past the first 32 are filled with
// 0xEE so that a decoder reading them would show. A size below 32 cuts each
// record short.
inline std::string bkdt(const std::vector<Block>& blocks, bool littleEndian = false, int recordSize = 32)
{
    constexpr int kFieldBytes = 32;
    std::string records;
    for (const Block& k : blocks) {
        Bytes b(littleEndian);
        b.u32(k.back).u32(k.fore1).u32(k.fore2).u32(k.fore3).u32(k.user1).u32(k.user2);
        b.u16(k.user3).u16(k.user4).u8(k.user5).u8(k.user6).u8(k.user7).u8(k.flags);
        if (recordSize > kFieldBytes) {
            b.fill(static_cast<std::size_t>(recordSize - kFieldBytes), 0xEE);
        }
        records += b.str().substr(0, static_cast<std::size_t>(recordSize < 0 ? 0 : recordSize));
    }
    return chunk("BKDT", records);
}

struct Anim {
    int type = 1;
    int delay = 0;
    int counter = 0;
    int user = 0;
    int64_t current = 0;
    int64_t first = 0;
    int64_t end = 0;
};

inline void animRecord(Bytes& b, const Anim& a)
{
    b.u8(a.type).u8(a.delay).u8(a.counter).u8(a.user).u32(a.current).u32(a.first).u32(a.end);
}

// Frame list, the end record, then the records in file order.
inline std::string andt(const std::vector<int64_t>& frames, const std::vector<Anim>& anims, bool littleEndian = false)
{
    Bytes b(littleEndian);
    for (int64_t f : frames) {
        b.u32(f);
    }
    animRecord(b, Anim{-1, 0, 0, 0, 0, 0, 0});
    for (const Anim& a : anims) {
        animRecord(b, a);
    }
    return chunk("ANDT", b.str());
}

// Plain 16-bit values, as BODY/LYRn data of encodingType 0 or 1, or as the
// run stream of types 2 and 3.
inline std::string shorts(const std::vector<int>& values, bool littleEndian = false)
{
    Bytes b(littleEndian);
    for (int v : values) {
        b.u16(v);
    }
    return b.str();
}

inline std::string layer(int index, const std::vector<int>& values, bool littleEndian = false)
{
    const std::string id = index == 0 ? std::string("BODY") : "LYR" + std::to_string(index);
    return chunk(id, shorts(values, littleEndian));
}

// A 32-bit pixel: the unused byte, then red, green, blue.
inline std::string pixel32(int r, int g, int b)
{
    return std::string{'\x00', static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
}

// count graphics of w x h pixels at the given depth, each filled with a
// byte pattern that differs from graphic to graphic.
inline std::string patternGraphics(int count, int w, int h, int depth)
{
    const int bytes = (depth + 1) / 8;
    std::string out;
    for (int g = 0; g < count; ++g) {
        for (int i = 0; i < w * h * bytes; ++i) {
            out.push_back(static_cast<char>((g * 37 + i * 11 + 1) & 0xFF));
        }
    }
    return out;
}

}  // namespace fmp

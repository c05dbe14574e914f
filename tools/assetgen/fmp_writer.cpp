#include "tools/assetgen/fmp_writer.h"

#include <allegro.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

namespace fmp {
namespace {

constexpr int kRecordSize = 32;       // bytes per block record
constexpr int kAnimRecordSize = 16;
constexpr uint8_t kEndRecordMark = 0xFF;
constexpr int kFormatVersion = 1;
constexpr int kPaletteColours = 256;
constexpr int kMinimumBackCopy = 3;   // shorter repeats cost more than literals
constexpr int kBackCopyRows = 3;      // how far back a copy may reach, in rows
constexpr int kMaxQuantiseShift = 7;
constexpr std::size_t kMaxDomes = 5;

// Bytes of one chunk's data, with the values in the map's byte order.
class Data {
public:
    explicit Data(bool littleEndian) : little_(littleEndian) {}

    void byte(uint8_t value) { bytes_.push_back(value); }
    void bytes(const std::vector<uint8_t>& values) { bytes_.insert(bytes_.end(), values.begin(), values.end()); }
    void text(const char* chars)
    {
        for (; *chars; ++chars) {
            byte(static_cast<uint8_t>(*chars));
        }
    }
    void word(int32_t value) { ordered(static_cast<uint32_t>(value), 2); }
    void longWord(int32_t value) { ordered(static_cast<uint32_t>(value), 4); }
    void bigEndianLong(uint32_t value)
    {
        for (int shift = 24; shift >= 0; shift -= 8) {
            byte(static_cast<uint8_t>(value >> shift));
        }
    }
    const std::vector<uint8_t>& get() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }

private:
    void ordered(uint32_t value, int count)
    {
        for (int i = 0; i < count; ++i) {
            const int shift = little_ ? 8 * i : 8 * (count - 1 - i);
            byte(static_cast<uint8_t>(value >> shift));
        }
    }

    bool little_;
    std::vector<uint8_t> bytes_;
};

int bytesPerPixel(int depth)
{
    return (depth + 1) / 8;
}

int blockHeightOf(const Map& map)
{
    return map.blockHeight > 0 ? map.blockHeight : map.blockSize;
}

int graphicBytes(const Map& map)
{
    return map.blockSize * blockHeightOf(map) * bytesPerPixel(map.depth);
}

uint8_t red(uint32_t rgb) { return static_cast<uint8_t>(rgb >> 16); }
uint8_t green(uint32_t rgb) { return static_cast<uint8_t>(rgb >> 8); }
uint8_t blue(uint32_t rgb) { return static_cast<uint8_t>(rgb); }

// An 8-bit palette for every colour the graphics use: index 0 is the
// transparent colour, the rest the colours in order of first use. When
// there are more than 255 colours the components are rounded ever more
// coarsely until they fit.
struct Palette {
    std::vector<uint32_t> colours;      // index -> colour
    std::map<uint32_t, uint8_t> index;  // rounded colour -> index
    int shift = 0;

    uint32_t rounded(uint32_t rgb) const
    {
        const uint32_t keep = (0xFFu << shift) & 0xFFu;
        const uint32_t half = shift ? (1u << (shift - 1)) : 0;
        auto component = [&](uint8_t c) { return std::min<uint32_t>(0xFF, (c & keep) + half); };
        return component(red(rgb)) << 16 | component(green(rgb)) << 8 | component(blue(rgb));
    }

    bool build(const Map& map)
    {
        for (shift = 0; shift <= kMaxQuantiseShift; ++shift) {
            colours.assign(1, kTransparent);
            index.clear();
            bool fits = true;
            for (const auto& graphic : map.graphics) {
                for (uint32_t rgb : graphic) {
                    if (rgb == kTransparent) {
                        continue;
                    }
                    const uint32_t key = rounded(rgb);
                    if (index.count(key)) {
                        continue;
                    }
                    if (colours.size() == kPaletteColours) {
                        fits = false;
                        break;
                    }
                    index[key] = static_cast<uint8_t>(colours.size());
                    colours.push_back(key);
                }
                if (!fits) {
                    break;
                }
            }
            if (fits) {
                return true;
            }
        }
        return false;
    }

    uint8_t of(uint32_t rgb) const { return rgb == kTransparent ? 0 : index.at(rounded(rgb)); }
};

void addChunk(Data& file, const char* id, const Data& data)
{
    file.text(id);
    file.bigEndianLong(static_cast<uint32_t>(data.size()));
    file.bytes(data.get());
}

Data header(const Map& map)
{
    Data data(map.littleEndian);
    data.byte(kFormatVersion);
    data.byte(0);
    data.byte(map.littleEndian ? 1 : 0);
    data.byte(static_cast<uint8_t>(map.encodingType));
    data.word(map.width);
    data.word(map.height);
    data.longWord(0);
    data.word(map.blockSize);
    data.word(blockHeightOf(map));
    data.word(map.depth);
    data.word(kRecordSize);
    data.word(static_cast<int32_t>(map.blocks.size()));
    data.word(static_cast<int32_t>(map.graphics.size()));
    data.longWord(0);
    data.word(map.stepX > 0 ? map.stepX : map.blockSize);  // by default a plain grid
    data.word(map.stepY > 0 ? map.stepY : blockHeightOf(map));
    data.word(0);              // no stagger
    data.word(0);
    return data;
}

Data blockRecords(const Map& map)
{
    // Encoding 0 names graphics by their byte offset in the graphics chunk.
    const int32_t unit = map.encodingType == 0 ? graphicBytes(map) : 1;
    Data data(map.littleEndian);
    for (const Block& block : map.blocks) {
        data.longWord(block.back * unit);
        data.longWord(block.fore1 * unit);
        data.longWord(block.fore2 * unit);
        data.longWord(block.fore3 * unit);
        data.longWord(static_cast<int32_t>(block.user1));
        data.longWord(static_cast<int32_t>(block.user2));
        data.word(block.user3);
        data.word(block.user4);
        data.byte(block.user5);
        data.byte(block.user6);
        data.byte(block.user7);
        data.byte(block.flags);
    }
    return data;
}

Data animations(const Map& map)
{
    int frameCount = 0;
    for (const Animation& animation : map.animations) {
        frameCount += static_cast<int>(animation.frames.size());
    }
    const int32_t total = 4 * frameCount + kAnimRecordSize * (1 + static_cast<int>(map.animations.size()));
    // Encoding 0 names a frame entry by its byte offset counted back from
    // the end of the chunk's data, and a block by its record's offset.
    auto framePosition = [&](int position) { return map.encodingType == 0 ? position * 4 - total : position; };
    const int32_t blockUnit = map.encodingType == 0 ? kRecordSize : 1;

    Data data(map.littleEndian);
    for (const Animation& animation : map.animations) {
        for (int32_t block : animation.frames) {
            data.longWord(block * blockUnit);
        }
    }
    data.byte(kEndRecordMark);
    for (int i = 1; i < kAnimRecordSize; ++i) {
        data.byte(0);
    }
    int first = 0;
    for (const Animation& animation : map.animations) {
        const int end = first + static_cast<int>(animation.frames.size());
        data.byte(static_cast<uint8_t>(animation.type));
        data.byte(static_cast<uint8_t>(animation.delay));
        data.byte(static_cast<uint8_t>(animation.counter < 0 ? animation.delay : animation.counter));
        data.byte(static_cast<uint8_t>(animation.userByte));
        data.longWord(framePosition(first));
        data.longWord(framePosition(first));
        data.longWord(framePosition(end));
        first = end;
    }
    return data;
}

// One pixel of 15, 16, 24 or 32 bits, high byte first whatever the map's
// byte order: 0-5-5-5 or 5-6-5 packed, or R G B (after a byte unused at 32).
// The transparent colour is magenta at every depth.
void pixel(Data& data, int depth, uint32_t rgb)
{
    if (depth == 15 || depth == 16) {
        const uint16_t packed = depth == 16
            ? static_cast<uint16_t>((red(rgb) >> 3) << 11 | (green(rgb) >> 2) << 5 | (blue(rgb) >> 3))
            : static_cast<uint16_t>((red(rgb) >> 3) << 10 | (green(rgb) >> 3) << 5 | (blue(rgb) >> 3));
        data.byte(static_cast<uint8_t>(packed >> 8));
        data.byte(static_cast<uint8_t>(packed));
        return;
    }
    if (depth == 32) {
        data.byte(0);
    }
    data.byte(red(rgb));
    data.byte(green(rgb));
    data.byte(blue(rgb));
}

Data graphics(const Map& map, const Palette* palette)
{
    Data data(map.littleEndian);
    for (const auto& graphic : map.graphics) {
        for (uint32_t rgb : graphic) {
            if (map.depth == 8) {
                data.byte(palette->of(rgb));
                continue;
            }
            pixel(data, map.depth, rgb);
        }
    }
    return data;
}

// Run-length codes one row from `start` (its first cell) onwards: literal
// runs, and either repeated values (encoding 2) or copies from earlier
// cells of the layer (encoding 3).
void codeRow(const Map& map, const std::vector<Cell>& cells, int start, Data& data)
{
    std::vector<Cell> literals;
    auto flush = [&] {
        if (literals.empty()) {
            return;
        }
        data.word(static_cast<int32_t>(literals.size()));
        for (Cell cell : literals) {
            data.word(cell);
        }
        literals.clear();
    };

    const int end = start + map.width;
    for (int pos = start; pos < end;) {
        int bestLength = 0;
        int bestOffset = 0;
        if (map.encodingType == 3) {
            const int reach = std::min(pos, kBackCopyRows * map.width);
            for (int offset = -1; offset >= -reach; --offset) {
                int length = 0;
                while (pos + length < end && cells[pos + length] == cells[pos + offset + length]) {
                    ++length;
                }
                if (length > bestLength) {
                    bestLength = length;
                    bestOffset = offset;
                }
            }
        } else {
            while (pos + bestLength < end && cells[pos + bestLength] == cells[pos]) {
                ++bestLength;
            }
        }
        if (bestLength < kMinimumBackCopy) {
            literals.push_back(cells[pos]);
            ++pos;
            continue;
        }
        flush();
        data.word(-bestLength);
        data.word(map.encodingType == 3 ? bestOffset : cells[pos]);
        pos += bestLength;
    }
    flush();
}

Data layer(const Map& map, const std::vector<Cell>& cells)
{
    Data data(map.littleEndian);
    if (map.encodingType <= 1) {
        for (Cell cell : cells) {
            if (map.encodingType == 1) {
                data.word(cell);
            } else {
                // Byte offsets: block records of 32 bytes, animation records
                // of 16 counted back from the end of the records.
                data.word(cell < 0 ? cell * kAnimRecordSize : cell * kRecordSize);
            }
        }
        return data;
    }
    for (int row = 0; row < map.height; ++row) {
        codeRow(map, cells, row * map.width, data);
    }
    return data;
}

bool check(const Map& map, std::string* error)
{
    auto fail = [&](const std::string& why) {
        *error = why;
        return false;
    };
    if (map.depth != 8 && map.depth != 15 && map.depth != 16 && map.depth != 24 && map.depth != 32) {
        return fail("graphics are written at 8, 15, 16, 24 or 32 bits");
    }
    if (map.encodingType < 0 || map.encodingType > 3) {
        return fail("encoding type must be 0 to 3");
    }
    if (map.layers.empty() || map.layers.size() > 8) {
        return fail("a map has 1 to 8 layers");
    }
    const std::size_t pixels = static_cast<std::size_t>(map.blockSize) * blockHeightOf(map);
    for (const auto& graphic : map.graphics) {
        if (graphic.size() != pixels) {
            return fail("a graphic has the wrong number of pixels");
        }
    }
    const int graphicCount = static_cast<int>(map.graphics.size());
    for (const Block& block : map.blocks) {
        for (int32_t g : {block.back, block.fore1, block.fore2, block.fore3}) {
            if (g < 0 || g >= graphicCount) {
                return fail("a block names a graphic that does not exist");
            }
        }
    }
    const int blockCount = static_cast<int>(map.blocks.size());
    for (const Animation& animation : map.animations) {
        for (int32_t frame : animation.frames) {
            if (frame < 0 || frame >= blockCount) {
                return fail("an animation frame names a block that does not exist");
            }
        }
    }
    const int animationCount = static_cast<int>(map.animations.size());
    for (const auto& cells : map.layers) {
        if (cells.size() != static_cast<std::size_t>(map.width) * map.height) {
            return fail("a layer has the wrong number of cells");
        }
        for (Cell cell : cells) {
            if (cell >= blockCount || -cell > animationCount) {
                return fail("a cell names a block or animation that does not exist");
            }
            if (map.encodingType == 0 && cell * kRecordSize > INT16_MAX) {
                return fail("too many blocks for byte-offset cells");
            }
        }
    }
    if (map.hasPlaces) {
        const auto inside = [&](const CellXY& c) { return c.x >= 0 && c.x < map.width && c.y >= 0 && c.y < map.height; };
        const auto& domes = map.places.domes;
        if (!inside(map.places.start) || domes.empty() || domes.size() > kMaxDomes ||
            !std::all_of(domes.begin(), domes.end(), inside)) {
            return fail("the places need a start and one to five domes inside the map");
        }
    }
    return true;
}

Data places(const Map& map)
{
    Data data(map.littleEndian);
    data.word(map.places.start.x);
    data.word(map.places.start.y);
    data.word(static_cast<int32_t>(map.places.domes.size()));
    for (const CellXY& dome : map.places.domes) {
        data.word(dome.x);
        data.word(dome.y);
    }
    return data;
}

}  // namespace

std::vector<uint8_t> encode(const Map& map, std::string* error)
{
    if (!check(map, error)) {
        return {};
    }
    Palette palette;
    if (map.depth == 8 && !palette.build(map)) {
        *error = "the graphics have too many colours for an 8-bit palette";
        return {};
    }

    Data chunks(false);
    addChunk(chunks, "MPHD", header(map));
    if (map.depth == 8) {
        Data colours(map.littleEndian);
        for (int i = 0; i < kPaletteColours; ++i) {
            const uint32_t rgb = i < static_cast<int>(palette.colours.size()) ? palette.colours[i] : 0;
            colours.byte(red(rgb));
            colours.byte(green(rgb));
            colours.byte(blue(rgb));
        }
        addChunk(chunks, "CMAP", colours);
    }
    addChunk(chunks, "BKDT", blockRecords(map));
    if (!map.animations.empty()) {
        addChunk(chunks, "ANDT", animations(map));
    }
    addChunk(chunks, "BGFX", graphics(map, map.depth == 8 ? &palette : nullptr));
    for (std::size_t n = 0; n < map.layers.size(); ++n) {
        char id[5] = "BODY";
        if (n > 0) {
            std::snprintf(id, sizeof id, "LYR%d", static_cast<int>(n));
        }
        addChunk(chunks, id, layer(map, map.layers[n]));
    }
    if (map.hasPlaces) {
        addChunk(chunks, "PLCS", places(map));
    }

    Data file(false);
    file.text("FORM");
    file.bigEndianLong(static_cast<uint32_t>(4 + chunks.size()));
    file.text("FMAP");
    file.bytes(chunks.get());
    return file.get();
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, bool packed)
{
    PACKFILE* out = pack_fopen(path.c_str(), packed ? F_WRITE_PACKED : F_WRITE);
    if (!out) {
        return false;
    }
    const long written = pack_fwrite(bytes.data(), static_cast<long>(bytes.size()), out);
    const bool closed = pack_fclose(out) == 0;
    return written == static_cast<long>(bytes.size()) && closed;
}

}  // namespace fmp

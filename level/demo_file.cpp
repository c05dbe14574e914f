#include "level/demo_file.h"

#include "base/fnv_hash.h"

#include <cerrno>
#include <cstdarg>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr char kMagic[8] = {'G', 'L', 'I', 'M', 'D', 'E', 'M', 'O'};
constexpr std::size_t kMaxMapNameBytes = 4096;
constexpr std::size_t kMaxVersionBytes = 64;

// Carried-state flag bits.
constexpr uint8_t kBackEnginesBit = 0x01;
constexpr uint8_t kFrontEnginesBit = 0x02;
constexpr uint8_t kAimLockHeldBit = 0x04;
constexpr uint8_t kKnownFlagBits = kBackEnginesBit | kFrontEnginesBit | kAimLockHeldBit;

// A frame record is at least its key set, its run count and its hash.
constexpr std::size_t kSmallestFrameBytes = 2 + 2 + 4;

class ByteWriter {
public:
    void u8(uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void u16(uint16_t value)
    {
        u8(static_cast<uint8_t>(value));
        u8(static_cast<uint8_t>(value >> 8));
    }
    void u32(uint32_t value)
    {
        u16(static_cast<uint16_t>(value));
        u16(static_cast<uint16_t>(value >> 16));
    }
    void i32(int32_t value) { u32(static_cast<uint32_t>(value)); }
    void text(const std::string& value)
    {
        u16(static_cast<uint16_t>(value.size()));
        bytes_ += value;
    }
    void raw(const char* data, std::size_t size) { bytes_.append(data, size); }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// Reads little-endian fields; past the end it reads zeros and remembers
// that it ran short, so a record is checked once, after it has been read.
class ByteReader {
public:
    explicit ByteReader(const std::string& bytes) : bytes_(bytes) {}
    uint8_t u8()
    {
        if (at_ >= bytes_.size()) {
            short_ = true;
            return 0;
        }
        return static_cast<uint8_t>(bytes_[at_++]);
    }
    uint16_t u16()
    {
        const uint16_t low = u8();
        return static_cast<uint16_t>(low | u8() << 8);
    }
    uint32_t u32()
    {
        const uint32_t low = u16();
        return low | static_cast<uint32_t>(u16()) << 16;
    }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    std::string text(std::size_t length)
    {
        if (length > left()) {
            short_ = true;
            at_ = bytes_.size();
            return {};
        }
        std::string value = bytes_.substr(at_, length);
        at_ += length;
        return value;
    }
    std::size_t left() const { return bytes_.size() - at_; }
    bool ranShort() const { return short_; }

private:
    const std::string& bytes_;
    std::size_t at_ = 0;
    bool short_ = false;
};

std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string formatted(const char* format, ...)
{
    char line[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    return line;
}

// The name is opened as a file and printed in messages: no control
// characters (a NUL would cut it short, an escape would reach the terminal).
bool printableName(const std::string& name)
{
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            return false;
        }
    }
    return !name.empty();
}

bool decodeHeader(ByteReader& in, DemoHeader& header, std::string& error)
{
    char magic[sizeof kMagic];
    for (char& c : magic) {
        c = static_cast<char>(in.u8());
    }
    if (in.ranShort() || std::memcmp(magic, kMagic, sizeof kMagic) != 0) {
        error = "not a demo file (no GLIMDEMO at its start)";
        return false;
    }
    const uint16_t version = in.u16();
    if (!in.ranShort() && version != kDemoFormatVersion) {
        error = formatted("format version %u, this build reads version %u", version, kDemoFormatVersion);
        return false;
    }
    const uint16_t nameLength = in.u16();
    header.mapName = in.text(nameLength);
    const uint16_t versionLength = in.u16();
    header.programVersion = in.text(versionLength);
    header.mapChecksum = in.u32();
    header.seed = in.u32();
    header.carried.lastFireTick = in.i32();
    header.carried.lastScoreTick = in.i32();
    const uint8_t flags = in.u8();
    header.startHash = in.u32();
    if (in.ranShort()) {
        error = "truncated in the header";
        return false;
    }
    if (nameLength > kMaxMapNameBytes || !printableName(header.mapName)) {
        error = "the header does not parse: the map name is empty, too long or not printable";
        return false;
    }
    if (versionLength > kMaxVersionBytes || !printableName(header.programVersion)) {
        error = "the header does not parse: the program version is empty, too long or not printable";
        return false;
    }
    if ((flags & ~kKnownFlagBits) != 0) {
        error = formatted("the header does not parse: unknown flag bits 0x%02x", flags & ~kKnownFlagBits);
        return false;
    }
    header.carried.backEnginesOn = (flags & kBackEnginesBit) != 0;
    header.carried.frontEnginesOn = (flags & kFrontEnginesBit) != 0;
    header.carried.aimLockKeyHeld = (flags & kAimLockHeldBit) != 0;
    return true;
}

// The clock never goes back during a level (it starts at 0): a reading
// below the one before can only be damage.
bool decodeFrame(ByteReader& in, InputFrame& frame, int32_t& lastTick, std::string& fault)
{
    const uint32_t knownKeys = (1u << playKeyScancodes().size()) - 1;
    frame.keys = in.u16();
    const uint16_t runs = in.u16();
    frame.ticks.clear();
    for (uint16_t i = 0; i < runs && !in.ranShort(); ++i) {
        const TickRun run{in.i32(), in.u16()};
        if (in.ranShort()) {
            break;
        }
        if (run.reads == 0) {
            fault = "a clock reading counted 0 times";
            return false;
        }
        if (run.value < lastTick) {
            fault = formatted("the clock goes back from %" PRId32 " to %" PRId32, lastTick, run.value);
            return false;
        }
        lastTick = run.value;
        frame.ticks.push_back(run);
    }
    frame.stateHash = in.u32();
    if ((frame.keys & ~knownKeys) != 0) {
        fault = formatted("unknown key bits 0x%04x", frame.keys & ~knownKeys);
        return false;
    }
    return true;
}

bool readWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

std::string encodeDemo(const Demo& demo)
{
    const DemoHeader& header = demo.header;
    ByteWriter out;
    out.raw(kMagic, sizeof kMagic);
    out.u16(kDemoFormatVersion);
    out.text(header.mapName);
    out.text(header.programVersion);
    out.u32(header.mapChecksum);
    out.u32(header.seed);
    out.i32(header.carried.lastFireTick);
    out.i32(header.carried.lastScoreTick);
    out.u8(static_cast<uint8_t>((header.carried.backEnginesOn ? kBackEnginesBit : 0) |
                                (header.carried.frontEnginesOn ? kFrontEnginesBit : 0) |
                                (header.carried.aimLockKeyHeld ? kAimLockHeldBit : 0)));
    out.u32(header.startHash);
    out.u32(static_cast<uint32_t>(demo.frames.size()));
    for (const InputFrame& frame : demo.frames) {
        out.u16(frame.keys);
        out.u16(static_cast<uint16_t>(frame.ticks.size()));
        for (const TickRun& run : frame.ticks) {
            out.i32(run.value);
            out.u16(run.reads);
        }
        out.u32(frame.stateHash);
    }
    return out.bytes();
}

bool decodeDemo(const std::string& bytes, Demo& demo, std::string& error)
{
    ByteReader in(bytes);
    if (!decodeHeader(in, demo.header, error)) {
        return false;
    }
    const uint32_t frameCount = in.u32();
    if (in.ranShort()) {
        error = "truncated in the header";
        return false;
    }
    // Checked before anything is set aside for the frames, so a damaged
    // count cannot ask for gigabytes.
    if (frameCount > in.left() / kSmallestFrameBytes) {
        error = formatted("truncated: %" PRIu32 " frames announced, room for at most %zu", frameCount,
                          in.left() / kSmallestFrameBytes);
        return false;
    }
    demo.frames.assign(frameCount, InputFrame{});
    int32_t lastTick = 0;
    for (uint32_t i = 0; i < frameCount; ++i) {
        std::string fault;
        if (!decodeFrame(in, demo.frames[i], lastTick, fault)) {
            error = formatted("frame %" PRIu32 " does not parse: %s", i + 1, fault.c_str());
            return false;
        }
        if (in.ranShort()) {
            error = formatted("truncated in frame %" PRIu32 " of %" PRIu32, i + 1, frameCount);
            return false;
        }
    }
    if (in.left() != 0) {
        error = formatted("stray bytes after the last frame: %zu", in.left());
        return false;
    }
    return true;
}

bool mapChecksum(const std::string& mapName, uint32_t& checksum)
{
    std::string bytes;
    if (!readWholeFile(mapName, bytes)) {
        return false;
    }
    FnvHash hash;
    hash.addBytes(bytes.data(), bytes.size());
    checksum = hash.value();
    return true;
}

bool loadDemo(const std::string& path, Demo& demo, std::string& error)
{
    const std::string prefix = "demo " + path + ": ";
    std::string bytes;
    if (!readWholeFile(path, bytes)) {
        error = prefix + "cannot be read (" + std::strerror(errno) + ")";
        return false;
    }
    std::string fault;
    if (!decodeDemo(bytes, demo, fault)) {
        error = prefix + fault;
        return false;
    }
    const std::string& map = demo.header.mapName;
    uint32_t checksum = 0;
    if (!mapChecksum(map, checksum)) {
        error = prefix + "its map " + map + " cannot be read (" + std::strerror(errno) + ")";
        return false;
    }
    if (checksum != demo.header.mapChecksum) {
        error = prefix + "its map " + map + " is not the one it was recorded on" +
                formatted(" (checksum %08X, recorded %08X)", checksum, demo.header.mapChecksum);
        return false;
    }
    return true;
}

bool saveDemo(const std::string& path, const Demo& demo, std::string& error)
{
    const std::string bytes = encodeDemo(demo);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "demo " + path + ": cannot be written (" + std::strerror(errno) + ")";
        return false;
    }
    return true;
}

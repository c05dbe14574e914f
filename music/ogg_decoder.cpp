#include "music/ogg_decoder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr int kLittleEndian = 0;
constexpr int kBytesPerSample = 2;
constexpr int kUnsignedSamples = 0;
// A damaged stretch of data (a hole) is skipped; this many in a row without
// any sound in between means the data cannot be read any further.
constexpr int kMaxHolesInARow = 64;
// The decoder gives at most one packet per call anyway; this keeps the
// length it is told within its int.
constexpr long kMostBytesPerCall = 1 << 16;
}

OggDecoder::~OggDecoder()
{
    if (opened_) {
        ov_clear(&file_);
    }
}

std::size_t OggDecoder::readSource(void* into, std::size_t itemSize, std::size_t items, void* source)
{
    Source& from = *static_cast<Source*>(source);
    if (itemSize == 0) {
        return 0;
    }
    const std::size_t left = from.size - from.position;
    std::size_t count = items;
    if (count > left / itemSize) {
        count = left / itemSize;
    }
    if (count > 0) {
        std::memcpy(into, from.data + from.position, count * itemSize);
        from.position += count * itemSize;
    }
    return count;
}

int OggDecoder::seekSource(void* source, ogg_int64_t offset, int whence)
{
    Source& from = *static_cast<Source*>(source);
    ogg_int64_t base = 0;
    switch (whence) {
    case SEEK_SET: base = 0; break;
    case SEEK_CUR: base = static_cast<ogg_int64_t>(from.position); break;
    case SEEK_END: base = static_cast<ogg_int64_t>(from.size); break;
    default: return -1;
    }
    const ogg_int64_t target = base + offset;
    if (target < 0 || target > static_cast<ogg_int64_t>(from.size)) {
        return -1;
    }
    from.position = static_cast<std::size_t>(target);
    return 0;
}

long OggDecoder::tellSource(void* source)
{
    return static_cast<long>(static_cast<Source*>(source)->position);
}

bool OggDecoder::open(const unsigned char* data, std::size_t size)
{
    if (opened_ || data == nullptr || size == 0) {
        return false;
    }
    source_ = Source{data, size, 0};
    // The bytes belong to the caller, so closing the file must not free them.
    const ov_callbacks callbacks{readSource, seekSource, nullptr, tellSource};
    if (ov_open_callbacks(&source_, &file_, nullptr, 0, callbacks) != 0) {
        return false;
    }
    opened_ = true;
    const vorbis_info* info = ov_info(&file_, -1);
    const ogg_int64_t total = ov_pcm_total(&file_, -1);
    if (info == nullptr || info->channels <= 0 || info->rate <= 0 || total <= 0) {
        ov_clear(&file_);
        opened_ = false;
        return false;
    }
    channels_ = info->channels;
    sampleRate_ = static_cast<int>(info->rate);
    totalFrames_ = total;
    return true;
}

bool OggDecoder::rewind()
{
    return opened_ && ov_pcm_seek(&file_, 0) == 0;
}

long OggDecoder::decodeSome(char* out, long bytes)
{
    int holes = 0;
    for (;;) {
        int section = 0;
        const long got = ov_read(&file_, out, static_cast<int>(std::min(bytes, kMostBytesPerCall)), kLittleEndian, kBytesPerSample,
                                 kUnsignedSamples, &section);
        if (got != OV_HOLE) {
            return got;
        }
        if (++holes >= kMaxHolesInARow) {
            return OV_EREAD;
        }
    }
}

long OggDecoder::read(std::uint16_t* out, long frames, bool loop)
{
    if (!opened_ || out == nullptr || frames <= 0) {
        return 0;
    }
    const long frameBytes = static_cast<long>(channels_) * kBytesPerSample;
    char* cursor = reinterpret_cast<char*>(out);
    long bytesLeft = frames * frameBytes;
    // A wrap that yields nothing at once means the piece has no sound to
    // give; stop rather than spin.
    bool wrappedWithoutSound = false;
    while (bytesLeft > 0) {
        const long got = decodeSome(cursor, bytesLeft);
        if (got > 0) {
            cursor += got;
            bytesLeft -= got;
            wrappedWithoutSound = false;
            continue;
        }
        if (got < 0 || !loop || wrappedWithoutSound || !rewind()) {
            break;
        }
        wrappedWithoutSound = true;
    }
    return frames - bytesLeft / frameBytes;
}

// Decodes an Ogg Vorbis file that sits whole in memory, as 16-bit unsigned
// interleaved frames (the layout the library's audio streams take), and can
// wrap round to the start so that a looped piece has no gap at its seam.
// The bytes are read in place: the caller keeps them alive and unchanged
// for as long as the decoder lives.
#pragma once

#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>

class OggDecoder {
public:
    OggDecoder() = default;
    ~OggDecoder();
    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;

    // Opens the bytes; false when they are not a complete Ogg Vorbis header.
    bool open(const unsigned char* data, std::size_t size);

    int channels() const { return channels_; }
    int sampleRate() const { return sampleRate_; }
    // Frames in one pass through the piece (every channel counts once).
    std::int64_t totalFrames() const { return totalFrames_; }

    // Writes up to `frames` frames into out (channels() samples per frame).
    // With loop set, the end of the piece continues at its start inside the
    // same call; otherwise the call stops short at the end. Returns the
    // frames written; fewer than asked only at the end of an unlooped piece
    // or when the data is damaged beyond reading.
    long read(std::uint16_t* out, long frames, bool loop);

    // Goes back to the first frame.
    bool rewind();

private:
    struct Source {
        const unsigned char* data = nullptr;
        std::size_t size = 0;
        std::size_t position = 0;
    };

    static std::size_t readSource(void* into, std::size_t itemSize, std::size_t items, void* source);
    static int seekSource(void* source, ogg_int64_t offset, int whence);
    static long tellSource(void* source);

    // One decode call: >0 bytes written, 0 at the end, <0 on damaged data.
    long decodeSome(char* out, long bytes);

    Source source_;
    OggVorbis_File file_{};
    bool opened_ = false;
    int channels_ = 0;
    int sampleRate_ = 0;
    std::int64_t totalFrames_ = 0;
};

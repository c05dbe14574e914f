// Feeds arbitrary bytes to the music layer as if they were a track file
// read whole from the game folder: it opens them the way the game does and,
// when they pass for Ogg Vorbis, decodes them in stream-sized fragments to
// the end, then once more across the loop seam.
#include "music/alogg.h"
#include "music/ogg_stream.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {
constexpr long kFragmentFrames = 16384;  // about what the game streams (64 KiB of stereo)
// Damaged lengths can claim hours of sound; this keeps one input quick
// while still passing the seam of any short piece more than once.
constexpr long kMostFramesPerPass = 1 << 20;
constexpr int kMostChannels = 255;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);  // read in place, never written
    ALOGG_OGG* ogg = alogg_create_ogg_from_buffer(bytes.data(), static_cast<int>(bytes.size()));
    if (ogg == nullptr) return 0;
    OggDecoder& decoder = ogg->decoder;
    if (decoder.channels() <= 0 || decoder.channels() > kMostChannels || decoder.sampleRate() <= 0) {
        std::abort();  // an opened piece must describe a playable layout
    }
    std::vector<std::uint16_t> fragment(static_cast<std::size_t>(kFragmentFrames) * decoder.channels());
    for (bool loop : {false, true}) {
        long got = decoder.rewind() ? kFragmentFrames : 0;
        for (long done = 0; got == kFragmentFrames && done < kMostFramesPerPass; done += kFragmentFrames) {
            got = decoder.read(fragment.data(), kFragmentFrames, loop);
            if (got < 0 || got > kFragmentFrames) std::abort();  // never more than asked, never negative
        }
    }
    alogg_destroy_ogg(ogg);
    return 0;
}

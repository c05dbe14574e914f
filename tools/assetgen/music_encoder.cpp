#include "tools/assetgen/music_encoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {
// Any fixed number will do; a random one would change the bytes every run.
constexpr int kStreamSerial = 0x6c696d47;
constexpr int kStereo = 2;
constexpr long kFramesPerChunk = 1024;

void appendPage(const ogg_page& page, std::vector<unsigned char>& bytes)
{
    bytes.insert(bytes.end(), page.header, page.header + page.header_len);
    bytes.insert(bytes.end(), page.body, page.body + page.body_len);
}

// Pulls every finished block out of the analyser into pages.
void drainBlocks(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream,
                 std::vector<unsigned char>& bytes)
{
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page) != 0) {
                appendPage(page, bytes);
            }
        }
    }
}

bool encode(const std::vector<float>& stereoFrames, int sampleRate, float quality, const std::string& title,
            std::vector<unsigned char>& bytes)
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, kStereo, sampleRate, quality) != 0) {
        vorbis_info_clear(&info);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
    vorbis_comment_add_tag(&comment, "ARTIST", "the Glimmerfall developers");

    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_init(&stream, kStreamSerial);

    ogg_packet identification, comments, codebooks;
    vorbis_analysis_headerout(&dsp, &comment, &identification, &comments, &codebooks);
    ogg_stream_packetin(&stream, &identification);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &codebooks);
    ogg_page page;
    // The audio must start on a fresh page after the headers.
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage(page, bytes);
    }

    const long frames = static_cast<long>(stereoFrames.size() / kStereo);
    for (long done = 0; done < frames; done += kFramesPerChunk) {
        const long count = std::min(kFramesPerChunk, frames - done);
        float** channels = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
        for (long i = 0; i < count; ++i) {
            channels[0][i] = stereoFrames[static_cast<std::size_t>(2 * (done + i))];
            channels[1][i] = stereoFrames[static_cast<std::size_t>(2 * (done + i) + 1)];
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        drainBlocks(dsp, block, stream, bytes);
    }
    // End of stream: the last page's position trims the decoder to exactly
    // the frames written.
    vorbis_analysis_wrote(&dsp, 0);
    drainBlocks(dsp, block, stream, bytes);
    while (ogg_stream_flush(&stream, &page) != 0) {
        appendPage(page, bytes);
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return true;
}
}

bool writeOggVorbis(const std::string& path, const std::vector<float>& stereoFrames, int sampleRate,
                    float quality, const std::string& title)
{
    std::vector<unsigned char> bytes;
    if (stereoFrames.empty() || !encode(stereoFrames, sampleRate, quality, title, bytes)) {
        std::fprintf(stderr, "cannot encode %s\n", path.c_str());
        return false;
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

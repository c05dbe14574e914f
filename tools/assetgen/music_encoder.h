// Writes interleaved stereo floats as an Ogg Vorbis file with libvorbisenc,
// at a fixed stream serial so the same sound gives the same bytes.
#pragma once

#include <string>
#include <vector>

bool writeOggVorbis(const std::string& path, const std::vector<float>& stereoFrames, int sampleRate,
                    float quality, const std::string& title);

// Minimal WAV files for the harness: reads PCM (16, 24, 32 bit) and IEEE float (32 bit) with
// any channel count; writes 32-bit float. Samples are held per channel.
#pragma once

#include <string>
#include <vector>

struct WavAudio {
    unsigned sampleRate = 44100;
    std::vector<std::vector<float>> channels;  // channels[c][frame]
    size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

// False with a message in error when the file cannot be read or has an unsupported format.
bool readWav(const std::string &path, WavAudio &audio, std::string &error);
bool writeWav(const std::string &path, const WavAudio &audio, std::string &error);

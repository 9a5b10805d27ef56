// Minimal RIFF/WAVE files for the demo and the tests: 16-bit PCM or 32-bit float, interleaved.
// Reading also accepts 24- and 32-bit PCM and the extensible format header.
#pragma once

#include <string>
#include <vector>

enum class WavSampleFormat { Pcm16, Float32 };

struct WavData {
    int channels = 2;
    int sampleRate = 44100;
    std::vector<float> samples;  // interleaved, full scale = 1.0

    size_t frames() const { return channels > 0 ? samples.size() / size_t(channels) : 0; }
};

// Encodes the audio as a complete file image. 16-bit samples are x * 32768 rounded and limited
// to the 16-bit range (+1.0 becomes 32767), and read back as value / 32768, so every multiple
// of 1/32768 below full scale survives a round trip exactly.
std::vector<unsigned char> encodeWav(const WavData &audio, WavSampleFormat format);
// Decodes a file image; false (and the audio left empty) for anything it does not understand.
bool decodeWav(const std::vector<unsigned char> &bytes, WavData &audio);

bool writeWavFile(const std::string &path, const WavData &audio, WavSampleFormat format);
bool readWavFile(const std::string &path, WavData &audio);

// Minimal WAV files for the harness: reads PCM (16, 24, 32 bit) and IEEE float (32 bit) with
// any channel count, also behind an extensible format header; writes 32-bit float or 16-bit
// PCM. Samples are held per channel, full scale = 1.0.
#pragma once

#include <string>
#include <vector>

struct WavAudio {
    unsigned sampleRate = 44100;
    std::vector<std::vector<float>> channels;  // channels[c][frame]
    size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
};

enum class WavSampleFormat { Float32, Pcm16 };

// A complete file image. Float samples are stored bit for bit. 16-bit samples are x * 32768
// rounded to the nearest integer and limited to -32768..32767 (so +1.0 becomes 32767, a
// non-number 0), and read back as value / 32768: every multiple of 1/32768 below full scale
// survives a round trip exactly.
std::vector<unsigned char> encodeWav(const WavAudio &audio, WavSampleFormat format);
// False with a message in error (and no channels in audio) for an image it cannot read. A data
// chunk cut short by the end of the image yields the whole frames that are there.
bool decodeWav(const std::vector<unsigned char> &bytes, WavAudio &audio, std::string &error);

// False with a message in error when the file cannot be read or has an unsupported format.
bool readWav(const std::string &path, WavAudio &audio, std::string &error);
bool writeWav(const std::string &path, const WavAudio &audio, std::string &error,
              WavSampleFormat format = WavSampleFormat::Float32);

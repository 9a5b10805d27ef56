#include "wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr unsigned kFormatPcm = 1;
constexpr unsigned kFormatFloat = 3;
constexpr unsigned kFormatExtensible = 0xFFFE;

// Byte-wise little-endian access, so the files are the same on every machine.
uint32_t le32(const unsigned char *p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}
uint16_t le16(const unsigned char *p) { return (uint16_t)(p[0] | p[1] << 8); }

void put32(std::vector<unsigned char> &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back((unsigned char)(v >> (8 * i)));
}
void put16(std::vector<unsigned char> &out, uint16_t v)
{
    out.push_back((unsigned char)v);
    out.push_back((unsigned char)(v >> 8));
}
void putTag(std::vector<unsigned char> &out, const char *tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back((unsigned char)tag[i]);
}

float decode(const unsigned char *p, unsigned bits, bool isFloat)
{
    if (isFloat) {
        uint32_t word = le32(p);
        float value;
        std::memcpy(&value, &word, sizeof(value));
        return value;
    }
    switch (bits) {
    case 16:
        return (float)(int16_t)le16(p) / 32768.f;
    case 24: {
        int32_t v = (int32_t)((uint32_t)p[0] << 8 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 24) >> 8;
        return (float)((double)v / 8388608.0);
    }
    default:
        return (float)((double)(int32_t)le32(p) / 2147483648.0);
    }
}

uint16_t pcm16(float sample)
{
    double scaled = std::nearbyint((double)sample * 32768.0);
    if (scaled != scaled)
        scaled = 0.0;  // a sample that is not a number is written as silence
    scaled = std::min(std::max(scaled, -32768.0), 32767.0);
    return (uint16_t)(int16_t)scaled;
}

}  // namespace

std::vector<unsigned char> encodeWav(const WavAudio &audio, WavSampleFormat format)
{
    const bool isFloat = format == WavSampleFormat::Float32;
    const uint16_t bytesPerSample = isFloat ? 4 : 2;
    const uint16_t channelCount = (uint16_t)audio.channels.size();
    const size_t frames = audio.frames();
    const uint32_t dataSize = (uint32_t)(frames * channelCount * bytesPerSample);
    std::vector<unsigned char> out;
    out.reserve(44 + (size_t)dataSize);
    putTag(out, "RIFF");
    put32(out, 36 + dataSize);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, isFloat ? kFormatFloat : kFormatPcm);
    put16(out, channelCount);
    put32(out, audio.sampleRate);
    put32(out, audio.sampleRate * channelCount * bytesPerSample);
    put16(out, (uint16_t)(channelCount * bytesPerSample));
    put16(out, (uint16_t)(bytesPerSample * 8));
    putTag(out, "data");
    put32(out, dataSize);
    for (size_t f = 0; f < frames; ++f) {
        for (uint16_t c = 0; c < channelCount; ++c) {
            const float sample = audio.channels[c][f];
            if (isFloat) {
                uint32_t word;
                std::memcpy(&word, &sample, sizeof(word));
                put32(out, word);
            } else {
                put16(out, pcm16(sample));
            }
        }
    }
    return out;
}

bool decodeWav(const std::vector<unsigned char> &bytes, WavAudio &audio, std::string &error)
{
    audio.channels.clear();
    if (bytes.size() < 12 || std::memcmp(&bytes[0], "RIFF", 4) != 0 || std::memcmp(&bytes[8], "WAVE", 4) != 0) {
        error = "not a RIFF WAVE file";
        return false;
    }
    unsigned format = 0, channelCount = 0, bits = 0, sampleRate = 0;
    const unsigned char *data = nullptr;
    size_t dataSize = 0;
    // A chunk that claims more bytes than there are ends the walk; only the data chunk may be
    // cut short (a recording that was never finished).
    for (size_t at = 12; at + 8 <= bytes.size();) {
        uint32_t size = le32(&bytes[at + 4]);
        const unsigned char *body = &bytes[at + 8];
        size_t available = bytes.size() - (at + 8);
        if (std::memcmp(&bytes[at], "fmt ", 4) == 0 && size >= 16 && available >= 16) {
            format = le16(body);
            channelCount = le16(body + 2);
            sampleRate = le32(body + 4);
            bits = le16(body + 14);
            if (format == kFormatExtensible && size >= 26 && available >= 26)
                format = le16(body + 24);  // the sub-format of an extensible header
        } else if (std::memcmp(&bytes[at], "data", 4) == 0) {
            data = body;
            dataSize = size < available ? size : available;
        }
        at += 8 + (size_t)size + (size & 1);
    }
    bool isFloat = format == kFormatFloat && bits == 32;
    bool isPcm = format == kFormatPcm && (bits == 16 || bits == 24 || bits == 32);
    if (!data || channelCount == 0 || sampleRate == 0 || (!isFloat && !isPcm)) {
        error = "only 16/24/32-bit PCM and 32-bit float WAV files are read";
        return false;
    }
    audio.sampleRate = sampleRate;
    size_t frameBytes = (size_t)channelCount * (bits / 8);
    size_t frames = dataSize / frameBytes;
    audio.channels.assign(channelCount, std::vector<float>(frames));
    for (size_t f = 0; f < frames; ++f)
        for (unsigned c = 0; c < channelCount; ++c)
            audio.channels[c][f] = decode(data + f * frameBytes + c * (bits / 8), bits, isFloat);
    return true;
}

bool readWav(const std::string &path, WavAudio &audio, std::string &error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        audio.channels.clear();
        error = "cannot open " + path;
        return false;
    }
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!decodeWav(bytes, audio, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

bool writeWav(const std::string &path, const WavAudio &audio, std::string &error, WavSampleFormat format)
{
    const std::vector<unsigned char> out = encodeWav(audio, format);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file.write(reinterpret_cast<const char *>(out.data()), (std::streamsize)out.size()) || !file.flush()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

#include "wav_io.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

constexpr uint16_t formatPcm = 1;
constexpr uint16_t formatFloat = 3;
constexpr uint16_t formatExtensible = 0xFFFE;

// Byte-wise little-endian access, so the files are the same on every machine.
void put16(std::vector<unsigned char> &out, uint32_t v)
{
    out.push_back(static_cast<unsigned char>(v & 0xFF));
    out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
}

void put32(std::vector<unsigned char> &out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

void putTag(std::vector<unsigned char> &out, const char *tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(tag[i]));
}

uint32_t get16(const unsigned char *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8;
}

uint32_t get32(const unsigned char *p)
{
    return get16(p) | get16(p + 2) << 16;
}

int32_t signExtend(uint32_t v, int bits)
{
    const uint32_t sign = 1u << (bits - 1);
    return static_cast<int32_t>((v ^ sign) - sign);
}

}  // namespace

std::vector<unsigned char> encodeWav(const WavData &audio, WavSampleFormat format)
{
    const bool isFloat = format == WavSampleFormat::Float32;
    const uint32_t bytesPerSample = isFloat ? 4 : 2;
    const uint32_t dataBytes = uint32_t(audio.samples.size()) * bytesPerSample;
    const uint32_t channels = uint32_t(audio.channels);
    const uint32_t rate = uint32_t(audio.sampleRate);

    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes + 1);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes + (dataBytes & 1));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, isFloat ? formatFloat : formatPcm);
    put16(out, channels);
    put32(out, rate);
    put32(out, rate * channels * bytesPerSample);
    put16(out, channels * bytesPerSample);
    put16(out, bytesPerSample * 8);
    putTag(out, "data");
    put32(out, dataBytes);
    for (float sample : audio.samples) {
        if (isFloat) {
            uint32_t bits;
            std::memcpy(&bits, &sample, 4);
            put32(out, bits);
        } else {
            double scaled = std::nearbyint(double(sample) * 32768.0);
            if (scaled != scaled)
                scaled = 0.0;  // a sample that is not a number is written as silence
            scaled = std::min(std::max(scaled, -32768.0), 32767.0);
            put16(out, static_cast<uint32_t>(static_cast<int32_t>(scaled)) & 0xFFFF);
        }
    }
    if (dataBytes & 1)
        out.push_back(0);
    return out;
}

bool decodeWav(const std::vector<unsigned char> &bytes, WavData &audio)
{
    audio.samples.clear();
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        return false;

    uint32_t format = 0, channels = 0, rate = 0, bits = 0;
    bool haveFormat = false;
    size_t pos = 12;
    while (pos + 8 <= bytes.size()) {
        const unsigned char *chunk = bytes.data() + pos;
        const uint32_t size = get32(chunk + 4);
        const size_t bodyStart = pos + 8;
        const size_t available = bytes.size() - bodyStart;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (size < 16 || size > available)
                return false;
            const unsigned char *f = chunk + 8;
            format = get16(f);
            channels = get16(f + 2);
            rate = get32(f + 4);
            bits = get16(f + 14);
            if (format == formatExtensible) {
                if (size < 40)
                    return false;
                format = get16(f + 24);  // first two bytes of the sub-format GUID
            }
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat || channels == 0 || rate == 0)
                return false;
            const bool pcm = format == formatPcm && (bits == 16 || bits == 24 || bits == 32);
            const bool flt = format == formatFloat && bits == 32;
            if (!pcm && !flt)
                return false;
            const size_t bytesPerSample = bits / 8;
            // A data size beyond the end of the file (a truncated recording) reads what is there.
            const size_t usable = std::min<size_t>(size, available);
            const size_t frameBytes = bytesPerSample * channels;
            const size_t count = usable / frameBytes * channels;
            audio.samples.resize(count);
            const unsigned char *p = chunk + 8;
            for (size_t i = 0; i < count; ++i, p += bytesPerSample) {
                if (flt) {
                    const uint32_t raw = get32(p);
                    std::memcpy(&audio.samples[i], &raw, 4);
                } else if (bits == 16) {
                    audio.samples[i] = float(signExtend(get16(p), 16) / 32768.0);
                } else if (bits == 24) {
                    audio.samples[i] = float(signExtend(get16(p) | uint32_t(p[2]) << 16, 24) / 8388608.0);
                } else {
                    audio.samples[i] = float(signExtend(get32(p), 32) / 2147483648.0);
                }
            }
            audio.channels = int(channels);
            audio.sampleRate = int(rate);
            return true;
        }
        if (size > available)
            return false;
        pos = bodyStart + size + (size & 1);
    }
    return false;
}

bool writeWavFile(const std::string &path, const WavData &audio, WavSampleFormat format)
{
    const std::vector<unsigned char> bytes = encodeWav(audio, format);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return bool(file.flush());
}

bool readWavFile(const std::string &path, WavData &audio)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return decodeWav(bytes, audio);
}

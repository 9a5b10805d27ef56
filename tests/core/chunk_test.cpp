// The host chunk through the loaded plug-in: the byte image of a fresh instance, round trips,
// the scope rule for the meter settings, short and damaged chunks.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "loaded_plugin.h"

namespace {

using ChunkTest = LoadedPluginTest;
using Bytes = std::vector<unsigned char>;

float slot(const Bytes &chunk, size_t offset)
{
    uint32_t bits = (uint32_t)chunk[offset] | (uint32_t)chunk[offset + 1] << 8 | (uint32_t)chunk[offset + 2] << 16 |
                    (uint32_t)chunk[offset + 3] << 24;
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

void setSlot(Bytes &chunk, size_t offset, float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    for (int i = 0; i < 4; ++i)
        chunk[offset + (size_t)i] = (unsigned char)(bits >> (8 * i));
}

std::vector<VstInt32> meterSettingIndices()
{
    std::vector<VstInt32> indices;
    for (VstInt32 i = 72; i <= 100; ++i)
        if (i != 82 && i != 92)
            indices.push_back(i);
    return indices;
}

std::string label(const Bytes &chunk) { return std::string((const char *)&chunk[4]); }

}  // namespace

TEST_F(ChunkTest, FreshInstanceImage)
{
    PluginInstance plugin(host());
    Bytes chunk = plugin.getChunk();
    ASSERT_EQ(chunk.size(), 596u);
    EXPECT_EQ(slot(chunk, 0), 300.f);
    EXPECT_EQ(std::memcmp(&chunk[0], "\x00\x00\x96\x43", 4), 0) << "300.0 little-endian";
    EXPECT_EQ(label(chunk), "Master Track");
    for (size_t i = 4 + 12; i < 44; ++i)
        EXPECT_EQ(chunk[i], 0) << i;
    const float expected[17] = {0.f, 0.5f, 0.5f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 1.f, 0.f, 0.f, 1.f, 0.f, 1.f, 0.f, 0.f};
    for (size_t i = 0; i < 17; ++i)
        EXPECT_EQ(slot(chunk, 44 + 4 * i), expected[i]) << i;
    for (size_t i = 17; i < 64; ++i)
        EXPECT_EQ(slot(chunk, 44 + 4 * i), 0.5f) << i;
    size_t offset = 300;
    for (VstInt32 index : meterSettingIndices()) {
        EXPECT_EQ(slot(chunk, offset), plugin.getParameter(index)) << index;
        offset += 4;
    }
    EXPECT_EQ(offset, 408u);
    for (size_t i = 408; i < 596; ++i)
        EXPECT_EQ(chunk[i], 0) << i;
}

TEST_F(ChunkTest, RoundTripRestoresEveryValue)
{
    Bytes saved;
    std::vector<float> values;
    {
        PluginInstance source(host());
        const float settings[17] = {1.f, 0.3f, 1.f,   0.5f, 1.f, 0.5f, 0.f, 1.f, 1.f,
                                    0.f, 1.f,  0.25f, 0.f,  1.f, 0.6f, 1.f, 0.4f};
        for (VstInt32 i = 0; i < 17; ++i)
            source.setParameter(i, settings[i]);
        float setting = 0.05f;
        for (VstInt32 index : meterSettingIndices())
            source.setParameter(index, setting += 0.03f);
        saved = source.getChunk();
        for (VstInt32 i = 0; i <= 100; ++i)
            values.push_back(source.getParameter(i));
    }
    PluginInstance target(host());
    EXPECT_EQ(target.setChunk(saved), 0);
    for (VstInt32 i = 0; i <= 100; ++i)
        EXPECT_EQ(target.getParameter(i), values[(size_t)i]) << i;
    EXPECT_EQ(target.getChunk(), saved);
}

TEST_F(ChunkTest, TheBufferHandedOutMayComeBack)
{
    PluginInstance plugin(host());
    plugin.setParameter(1, 0.8f);
    void *data = nullptr;
    VstIntPtr size = plugin.dispatch(effGetChunk, 0, 0, &data);
    ASSERT_EQ(size, 596);
    plugin.setParameter(1, 0.1f);
    EXPECT_EQ(plugin.dispatch(effSetChunk, 0, size, data), 0);
    EXPECT_EQ(plugin.getParameter(1), 0.8f);
    EXPECT_EQ(plugin.getParameter(6), 1.f);
}

TEST_F(ChunkTest, GlobalScopeKeepsTheGlobalMeterSettings)
{
    {
        PluginInstance setup(host());
        setup.setParameter(2, 0.f);  // new instances start in the Global scope
    }
    PluginInstance reference(host());
    PluginInstance plugin(host());
    Bytes chunk = plugin.getChunk();
    setSlot(chunk, 44 + 4 * 2, 0.f);
    for (size_t offset = 300; offset < 408; offset += 4)
        setSlot(chunk, offset, 0.123f);
    setSlot(chunk, 44 + 4 * 1, 0.7f);
    plugin.setChunk(chunk);
    EXPECT_EQ(plugin.getParameter(1), 0.7f) << "indices 0..63 are restored";
    for (VstInt32 index : meterSettingIndices()) {
        EXPECT_NE(plugin.getParameter(index), 0.123f) << index;
        EXPECT_EQ(plugin.getParameter(index), reference.getParameter(index)) << index;
    }

    setSlot(chunk, 44 + 4 * 2, 0.5f);  // Session: the stored settings apply
    plugin.setChunk(chunk);
    for (VstInt32 index : meterSettingIndices())
        EXPECT_EQ(plugin.getParameter(index), 0.123f) << index;
}

TEST_F(ChunkTest, ShortChunkCountsAsZeroPadded)
{
    PluginInstance plugin(host());
    Bytes chunk = plugin.getChunk();
    std::memcpy(&chunk[4], "Drums\0", 6);
    chunk.resize(44);
    plugin.setChunk(chunk);
    EXPECT_EQ(label(plugin.getChunk()), "Drums");
    for (VstInt32 i = 0; i < 17; ++i)
        EXPECT_EQ(plugin.getParameter(i), 0.f) << i;
    for (VstInt32 i = 17; i < 64; ++i)
        EXPECT_EQ(plugin.getParameter(i), 0.5f) << "spares never change: " << i;
    EXPECT_EQ(plugin.text(effGetParamDisplay, 1), "-20.0dB");
}

TEST_F(ChunkTest, MeterTypeCarriesToTheNextInstance)
{
    {
        PluginInstance plugin(host());
        Bytes chunk = plugin.getChunk();
        setSlot(chunk, 44 + 4 * 3, 1.f);
        plugin.setChunk(chunk);
        EXPECT_EQ(plugin.text(effGetParamDisplay, 3), "PPM3");
    }
    PluginInstance next(host());
    EXPECT_EQ(next.getParameter(3), 1.f);
}

TEST_F(ChunkTest, DamagedChunksAreHandledSafely)
{
    PluginInstance plugin(host());
    plugin.setParameter(1, 0.9f);
    Bytes chunk = plugin.getChunk();
    setSlot(chunk, 44 + 4 * 1, 0.2f);

    EXPECT_EQ(plugin.dispatch(effSetChunk, 0, -1, chunk.data()), 0);
    EXPECT_EQ(plugin.dispatch(effSetChunk, 0, 596, nullptr), 0);
    EXPECT_EQ(plugin.getParameter(1), 0.9f) << "nothing applied";

    // Longer than ours: the first 596 bytes count.
    Bytes longer = chunk;
    longer.resize(2000, 0xff);
    plugin.setChunk(longer);
    EXPECT_EQ(plugin.getParameter(1), 0.2f);

    // Values outside 0..1 are clamped; a label without a terminator keeps 39 characters.
    setSlot(chunk, 44 + 4 * 1, 7.5f);
    std::memset(&chunk[4], 'L', 40);
    plugin.setChunk(chunk);
    EXPECT_EQ(plugin.getParameter(1), 1.f);
    EXPECT_EQ(label(plugin.getChunk()), std::string(39, 'L'));
}

// An autosave thread and the UI asking for the chunk at the same time: each must read a whole
// image of the state, never one that the other call is rewriting. Every copy taken at once
// after the call equals the image of the state it was taken in.
TEST_F(ChunkTest, TwoThreadsAskingAtOnceNeverSeeATornImage)
{
    PluginInstance plugin(host());
    constexpr int kCallsPerThreadAndState = 50000;  // two threads, two states: 200 000 calls
    int torn = 0;
    for (float trim : {0.8f, 0.3f}) {
        plugin.setParameter(1, trim);
        const Bytes valid = plugin.getChunk();
        ASSERT_EQ(valid.size(), 596u);
        std::atomic<int> tornInState{0};
        auto ask = [&] {
            unsigned char copy[596];
            for (int call = 0; call < kCallsPerThreadAndState; ++call) {
                void *data = nullptr;
                if (plugin.dispatch(effGetChunk, 0, 0, &data) != 596 || !data) {
                    tornInState.fetch_add(1);
                    continue;
                }
                std::memcpy(copy, data, sizeof copy);
                if (std::memcmp(copy, valid.data(), sizeof copy) != 0)
                    tornInState.fetch_add(1);
            }
        };
        std::thread autosave(ask);
        ask();
        autosave.join();
        torn += tornInState.load();
        EXPECT_EQ(plugin.getChunk(), valid);
    }
    EXPECT_EQ(torn, 0) << "images that were neither state";
}

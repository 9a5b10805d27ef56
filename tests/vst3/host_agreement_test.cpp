// One core behind the three formats: a programme signal of zem_host, with the same parameter
// changes, gives bit for bit the same audio and the same meter read-outs through ZEM Ordwen.vst3
// as through the VST 2.4 library and ZEM Ordwen.clap (in each of the three builds, so the builds agree with each other
// as the other suites show they do); a change at a sample inside a block takes effect there, as
// the VST 2.4 effect gives it when its block is split at that sample. The editor opened through
// the VST 3 view shows the same picture as through effEditOpen after the same tone and idles.
#ifdef ZEM_VST3_BUNDLE  // the tests build the bundle beside them
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

// Before the X11 headers, whose macros (Always) would change it.
#include "vst3_editor.h"

#include "../clap/host_fixture.h"
#include "clap/clap_readout.h"
#include "core/loaded_plugin.h"
#include "host_fixture.h"
#include "support/format_agreement.h"
#include "test_signals.h"
#include "vst3/vst3_readout.h"

#ifndef _WIN32
#include "support/private_x_server.h"
#endif

namespace {

using Vst3HostAgreement = Vst3HostTest;

// A change at a sample of a block: the VST 3 (and VST 2.4) normalised value and the CLAP value.
struct Change {
    int block;
    int32_t offset;
    uint32_t id;
    double normalised;
    double plain;
};
const Change kChanges[] = {
    {10, 200, 0, 1.0, 1.0},     // Process: on (the trim and the filters in the audio path), inside the block
    {20, 37, 1, 0.65, 6.0},     // Trim +6.0 dB, inside the block
    {40, 100, 4, 1.0, 1.0},     // LR/MS: mid/side, inside the block
    {55, 0, 5, 1.0, 2.0},       // Hold: on
    {70, 0, 8, 1.0, 1.0},       // ProcFlt: the strip filters in the path
    {70, 300, 11, 0.5, 200.0},  // HPFreq 200 Hz, inside the block
    {90, 511, 1, 0.25, -10.0},  // Trim -10 dB at the block's last sample
};

TEST_F(Vst3HostAgreement, SameAudioAndReadoutsAsVst24AndClapForAProgrammeSignal)
{
    const int32_t block = 512;
    WavAudio signal = agreementSignal();
    ASSERT_EQ(signal.channels.size(), 2u);
    const int blocks = (int)(signal.frames() / block);

    ASSERT_TRUE(loadedPlugin().loaded());
    resetSharedPluginState(loadedPlugin());
    PluginInstance vst(loadedPlugin());
    ASSERT_TRUE(vst.valid());
    vst.start(44100.f, (VstInt32)block);
    ClapLibrary clapLibrary(builtClapPath());
    ClapHost clapHost;
    ClapInstance clap(clapLibrary, clapHost);
    ASSERT_TRUE(clap.valid());
    ASSERT_TRUE(clap.activate(44100, 1, block) && clap.startProcessing());
    auto vst3 = create();
    ASSERT_TRUE(vst3->activate(44100, block) && vst3->startProcessing());
    auto *clapReadout = clap.extension<zem_clap_readout_t>(ZEM_CLAP_EXT_READOUT);
    ASSERT_NE(clapReadout, nullptr);
    void *object = nullptr;
    ASSERT_EQ(vst3->component()->queryInterface(vst3::IZemReadout::iid.data(), &object), vst3::kResultOk);
    auto *vst3Readout = static_cast<vst3::IZemReadout *>(object);

    std::vector<float> out[3][2];
    int readouts = 0;
    for (auto &format : out)
        for (auto &channel : format)
            channel.resize(block);
    for (int b = 0; b < blocks; ++b) {
        std::vector<Vst3ParamPoint> points;
        std::vector<ClapParamChange> events;
        std::vector<const Change *> here;
        for (const Change &change : kChanges)
            if (change.block == b) {
                points.push_back({change.id, change.offset, change.normalised});
                events.push_back({(uint32_t)change.offset, change.id, change.plain});
                here.push_back(&change);
            }
        float *in[2] = {&signal.channels[0][(size_t)b * block], &signal.channels[1][(size_t)b * block]};
        // VST 2.4: the block split at each change.
        int32_t done = 0;
        for (size_t i = 0; i <= here.size(); ++i) {
            const int32_t until = i < here.size() ? here[i]->offset : block;
            if (until > done) {
                float *part[2] = {in[0] + done, in[1] + done};
                float *o[2] = {out[0][0].data() + done, out[0][1].data() + done};
                vst.processReplacing(part, o, until - done);
                done = until;
            }
            if (i < here.size())
                vst.setParameter((VstInt32)here[i]->id, (float)here[i]->normalised);
        }
        float *co[2] = {out[1][0].data(), out[1][1].data()};
        ASSERT_NE(clap.process(in, co, (uint32_t)block, events), CLAP_PROCESS_ERROR);
        float *vo[2] = {out[2][0].data(), out[2][1].data()};
        ASSERT_EQ(vst3->process(in, vo, block, points), vst3::kResultOk);
        for (int c = 0; c < 2; ++c) {
            ASSERT_EQ(0, std::memcmp(out[0][c].data(), out[2][c].data(), (size_t)block * sizeof(float)))
                << "VST 3 and VST 2.4 differ in block " << b << " channel " << c;
            ASSERT_EQ(0, std::memcmp(out[1][c].data(), out[2][c].data(), (size_t)block * sizeof(float)))
                << "VST 3 and CLAP differ in block " << b << " channel " << c;
        }
        ReadoutQuery viaVst, viaClap, viaVst3;
        viaVst.withOverStates = viaClap.withOverStates = viaVst3.withOverStates = 1;
        const bool vstAnswered = vst.dispatch(effVendorSpecific, kReadoutQuery, sizeof viaVst, &viaVst) == 1;
        ASSERT_EQ(clapReadout->query(clap.plugin(), &viaClap), vstAnswered);
        ASSERT_EQ(vst3Readout->query(&viaVst3) == vst3::kResultOk, vstAnswered);
        if (!vstAnswered)
            continue;
        ++readouts;
        for (int q = 0; q < kMeterQuantityCount; ++q) {
            ASSERT_EQ(viaVst.values[q], viaVst3.values[q]) << "block " << b << " quantity " << q;
            ASSERT_EQ(viaClap.values[q], viaVst3.values[q]) << "block " << b << " quantity " << q;
        }
        EXPECT_EQ(viaVst.overStates[0], viaVst3.overStates[0]);
        EXPECT_EQ(viaVst.overStates[1], viaVst3.overStates[1]);
        EXPECT_STREQ(viaVst.reference, viaVst3.reference);
    }
    EXPECT_EQ(readouts, blocks);
    vst3Readout->release();
    for (const Change &change : kChanges) {
        std::string vst3Text, clapText;
        ASSERT_TRUE(vst3->text(change.id, change.normalised, vst3Text));
        ASSERT_TRUE(clap.text(change.id, change.plain, clapText));
        EXPECT_EQ(vst3Text, clapText);
    }
    vst.stop();
    resetSharedPluginState(loadedPlugin());
}

std::unique_ptr<HarnessEditorWindow> parentWindow()
{
#ifdef _WIN32
    return createWin32EditorWindow();
#else
    std::string error;
    return createX11EditorWindow(error);
#endif
}

// What the window shows: Linux, the picture read back from the X server; Windows, the window's
// contents read back through GDI.
std::vector<uint8_t> picture(HarnessEditorWindow &window, const std::string &name)
{
#ifdef _WIN32
    (void)name;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    if (!captureFrameWindow(window, pixels, width, height))
        return {};
    std::vector<uint8_t> bytes((const uint8_t *)pixels.data(), (const uint8_t *)(pixels.data() + pixels.size()));
    bytes.push_back((uint8_t)width);
    return bytes;
#else
    const std::string path = ::testing::TempDir() + name + ".png";
    if (!window.writePicture(path, 0))
        return {};
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    return bytes;
#endif
}

TEST_F(Vst3HostAgreement, SameEditorPictureAsVst24)
{
#ifndef _WIN32
    PrivateXServer server;
    ASSERT_NE(server.display, nullptr);
    DisplayVariable session{server.name};
#endif
    const int steps = 10;
    std::vector<uint8_t> viaVst;
    {
        std::unique_ptr<HarnessEditorWindow> window = parentWindow();
        ASSERT_NE(window, nullptr);
        resetSharedPluginState(loadedPlugin());
        PluginInstance vst(loadedPlugin());
        vst.start(44100.f, 512);
        ASSERT_EQ(vst.dispatch(effEditOpen, 0, 0, window->parentHandle()), 1);
        ASSERT_TRUE(window->attach());
        ToneBlock tone;
        for (int i = 0; i < steps; ++i) {
            tone.next();
            float *in[2] = {tone.samples.data(), tone.samples.data()}, *out[2] = {tone.out0.data(), tone.out1.data()};
            vst.processReplacing(in, out, 512);
#ifdef _WIN32
            std::this_thread::sleep_for(std::chrono::milliseconds(40));  // as long as the view's timer below
#endif
            vst.dispatch(effEditIdle);
            window->pump();
        }
        viaVst = picture(*window, "vst");
        vst.dispatch(effEditClose);
        vst.stop();
    }
    ASSERT_GT(viaVst.size(), 1000u);

    std::unique_ptr<HarnessEditorWindow> window = parentWindow();
    ASSERT_NE(window, nullptr);
    auto vst3 = create();
    ASSERT_TRUE(vst3->activate(44100, 512) && vst3->startProcessing());
    Vst3Editor editor(*vst3, *window);
    std::string error;
    ASSERT_TRUE(editor.open(error)) << error;
    ToneBlock tone;
    for (int i = 0; i < steps; ++i) {
        tone.next();
        float *in[2] = {tone.samples.data(), tone.samples.data()}, *out[2] = {tone.out0.data(), tone.out1.data()};
        vst3->process(in, out, 512);
#ifdef _WIN32
        // The editor window's own timer brings the idle work; give it its turn.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(40);
        while (std::chrono::steady_clock::now() < until)
            editor.idle(false);
#else
        editor.idle(true);
#endif
    }
    const std::vector<uint8_t> viaVst3 = picture(*window, "vst3");
    EXPECT_TRUE(viaVst3 == viaVst) << "the editor looks different through VST 3";
    editor.close();
    EXPECT_EQ(editor.plugFrame().heldReferences(), 0);
    resetSharedPluginState(loadedPlugin());
}

}  // namespace
#endif

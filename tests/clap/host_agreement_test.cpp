// One core behind both formats: a programme signal of zem_host, with the same parameter changes
// at the same blocks, gives bit for bit the same audio and the same meter read-outs through
// ZEM Ordwen.clap as through the VST 2.4 library (in each of the three builds, so the builds
// agree with each other as the VST 2.4 suites already show they do).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include <fstream>
#include <iterator>
#include <thread>

#include "clap/clap_readout.h"
#include "clap_editor.h"
#include "core/loaded_plugin.h"
#include "host_fixture.h"
#include "support/format_agreement.h"
#include "test_signals.h"

#ifndef _WIN32
#include "support/private_x_server.h"
#endif

namespace {

using ClapHostAgreement = ClapHostTest;

using Change = BlockChange;
constexpr const BlockChange (&kChanges)[5] = kAgreementChanges;

TEST_F(ClapHostAgreement, SameAudioAndReadoutsAsVst24ForAProgrammeSignal)
{
    const uint32_t block = 512;
    WavAudio signal = agreementSignal();
    ASSERT_EQ(signal.channels.size(), 2u);
    const int blocks = (int)(signal.frames() / block);

    ASSERT_TRUE(loadedPlugin().loaded());
    resetSharedPluginState(loadedPlugin());
    PluginInstance vst(loadedPlugin());
    ASSERT_TRUE(vst.valid());
    vst.start(44100.f, (VstInt32)block);

    auto clap = create();
    auto *readout = clap->extension<zem_clap_readout_t>(ZEM_CLAP_EXT_READOUT);
    ASSERT_NE(readout, nullptr);
    ASSERT_TRUE(clap->activate(44100, 1, block) && clap->startProcessing());

    std::vector<float> vstOut[2], clapOut[2];
    for (auto *out : {vstOut, clapOut})
        for (int c = 0; c < 2; ++c)
            out[c].resize(block);
    int readouts = 0;
    for (int b = 0; b < blocks; ++b) {
        std::vector<ClapParamChange> events;
        for (const Change &change : kChanges)
            if (change.block == b) {
                vst.setParameter((VstInt32)change.id, change.normalised);
                events.push_back({0, change.id, change.plain});
            }
        float *in[2] = {&signal.channels[0][(size_t)b * block], &signal.channels[1][(size_t)b * block]};
        float *vo[2] = {vstOut[0].data(), vstOut[1].data()};
        float *co[2] = {clapOut[0].data(), clapOut[1].data()};
        vst.processReplacing(in, vo, (VstInt32)block);
        ASSERT_NE(clap->process(in, co, block, events), CLAP_PROCESS_ERROR);
        for (int c = 0; c < 2; ++c)
            ASSERT_EQ(0, std::memcmp(vstOut[c].data(), clapOut[c].data(), block * sizeof(float)))
                << "block " << b << " channel " << c;
        ReadoutQuery viaVst, viaClap;
        viaVst.withOverStates = viaClap.withOverStates = 1;
        const bool vstAnswered = vst.dispatch(effVendorSpecific, kReadoutQuery, sizeof viaVst, &viaVst) == 1;
        ASSERT_EQ(readout->query(clap->plugin(), &viaClap), vstAnswered);
        if (!vstAnswered)
            continue;
        ++readouts;
        for (int q = 0; q < kMeterQuantityCount; ++q)
            ASSERT_EQ(viaVst.values[q], viaClap.values[q]) << "block " << b << " quantity " << q;
        EXPECT_EQ(viaVst.overStates[0], viaClap.overStates[0]);
        EXPECT_EQ(viaVst.overStates[1], viaClap.overStates[1]);
        EXPECT_STREQ(viaVst.reference, viaClap.reference);
    }
    EXPECT_EQ(readouts, blocks);
    for (const Change &change : kChanges) {
        std::string clapText;
        ASSERT_TRUE(clap->text(change.id, change.plain, clapText));
        EXPECT_EQ(clapText.find(vst.text(effGetParamDisplay, (VstInt32)change.id)), 0u) << clapText;
    }
    vst.stop();
    resetSharedPluginState(loadedPlugin());
}

// The editor as the host sees it after the same tone and the same turns of its event loop:
// opened through effEditOpen in one parent, through the gui extension in another. Linux: the
// pictures read back from the X server; Windows: the windows' contents read back through GDI.
class EditorPicture {
public:
    explicit EditorPicture(HarnessEditorWindow &window) : window(window) {}
    bool take(const std::string &name)
    {
#ifdef _WIN32
        (void)name;
        return captureFrameWindow(window, pixels, width, height);
#else
        const std::string path = ::testing::TempDir() + name + ".png";
        if (!window.writePicture(path, 0))
            return false;
        std::ifstream file(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        std::remove(path.c_str());
        return !bytes.empty();
#endif
    }
    // Something was drawn: not one colour all over.
    bool drawn() const
    {
        return bytes.size() > 1000 || (!pixels.empty() && std::any_of(pixels.begin(), pixels.end(),
                                                                      [&](uint32_t p) { return p != pixels[0]; }));
    }
    bool operator==(const EditorPicture &other) const
    {
        return pixels == other.pixels && width == other.width && height == other.height && bytes == other.bytes;
    }

private:
    HarnessEditorWindow &window;
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    std::vector<char> bytes;
};

std::unique_ptr<HarnessEditorWindow> parentWindow()
{
#ifdef _WIN32
    return createWin32EditorWindow();
#else
    std::string error;
    return createX11EditorWindow(error);
#endif
}

TEST_F(ClapHostAgreement, SameEditorPictureAsVst24)
{
#ifndef _WIN32
    PrivateXServer server;
    ASSERT_NE(server.display, nullptr);
    DisplayVariable session{server.name};
#endif
    const int steps = 10;
    std::unique_ptr<HarnessEditorWindow> vstWindow = parentWindow();
    ASSERT_NE(vstWindow, nullptr);
    EditorPicture viaVst(*vstWindow);
    {
        resetSharedPluginState(loadedPlugin());
        PluginInstance vst(loadedPlugin());
        vst.start(44100.f, 512);
        ASSERT_EQ(vst.dispatch(effEditOpen, 0, 0, vstWindow->parentHandle()), 1);
        ASSERT_TRUE(vstWindow->attach());
        ToneBlock tone;
        for (int i = 0; i < steps; ++i) {
            tone.next();
            float *in[2] = {tone.samples.data(), tone.samples.data()}, *out[2] = {tone.out0.data(), tone.out1.data()};
            vst.processReplacing(in, out, 512);
#ifdef _WIN32
            // As long between block and idle as the CLAP editor's timer takes below.
            std::this_thread::sleep_for(std::chrono::milliseconds(40));
#endif
            vst.dispatch(effEditIdle);
            vstWindow->pump();
        }
        ASSERT_TRUE(viaVst.take("vst"));
        vst.dispatch(effEditClose);
        vst.stop();
    }
    vstWindow.reset();

    std::unique_ptr<HarnessEditorWindow> clapWindow = parentWindow();
    ASSERT_NE(clapWindow, nullptr);
    EditorPicture viaClap(*clapWindow);
    auto clap = create();
    ASSERT_TRUE(clap->activate(44100, 1, 512) && clap->startProcessing());
    ClapEditor editor(*clap, *clapWindow);
    std::string error;
    ASSERT_TRUE(editor.open(error)) << error;
    ToneBlock tone;
    for (int i = 0; i < steps; ++i) {
        tone.next();
        float *in[2] = {tone.samples.data(), tone.samples.data()}, *out[2] = {tone.out0.data(), tone.out1.data()};
        clap->process(in, out, 512);
#ifdef _WIN32
        // The frame window's own timer brings the idle work; give it its turn.
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(40);
        while (std::chrono::steady_clock::now() < until)
            editor.idle(false);
#else
        editor.idle(true);
#endif
    }
    ASSERT_TRUE(viaClap.take("clap"));
    EXPECT_TRUE(viaVst.drawn());
    EXPECT_TRUE(viaVst == viaClap) << "the editor looks different through CLAP";
    editor.close();
    resetSharedPluginState(loadedPlugin());
}

}  // namespace

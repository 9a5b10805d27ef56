// The state as hosts save and restore it: the component's getState is the 596-byte chunk image,
// the same bytes every time, through streams that move any number of bytes per call; restored in
// the SDK's and Ardour's order (component setState, controller setComponentState, controller
// setState) with and without processing between, the values read back at once; Carla's second
// setState on the exhausted stream and an empty stream keep the state; a short one reports failure.
#ifdef ZEM_VST3_BUNDLE  // the tests build the bundle beside them
#include "host_fixture.h"

namespace {

using Vst3HostState = Vst3HostTest;

const std::vector<Vst3ParamPoint> kChanges = {{0, 0, 1.0},  {1, 0, 0.625}, {5, 0, 0.5},  {8, 0, 1.0},
                                              {11, 0, 0.3}, {14, 0, 0.7},  {16, 0, 0.25}};

TEST_F(Vst3HostState, RoundTripsInAnyPiecesWithAndWithoutProcessing)
{
    auto source = create();
    ASSERT_EQ(source->flush(kChanges), vst3::kResultOk);
    std::vector<uint8_t> whole, again, controller;
    ASSERT_TRUE(source->save(whole, &controller));
    EXPECT_EQ(whole.size(), 596u);
    ASSERT_TRUE(source->save(again));
    EXPECT_EQ(again, whole) << "the same bytes every time";
    for (size_t piece : {(size_t)1, (size_t)7, (size_t)596}) {
        std::vector<uint8_t> inPieces;
        ASSERT_TRUE(source->save(inPieces, nullptr, piece)) << piece;
        EXPECT_EQ(inPieces, whole) << piece;
    }
    for (bool processing : {false, true}) {
        auto target = create();
        if (processing) {
            ASSERT_TRUE(target->activate(44100, 512) && target->startProcessing());
        }
        ASSERT_TRUE(target->load(whole, &controller, processing ? 7 : 1)) << processing;
        for (const Vst3ParamPoint &change : kChanges)
            EXPECT_EQ(target->value(change.id), source->value(change.id)) << change.id << " processing " << processing;
        if (processing) {
            Vst3Buffers buffers(512);
            EXPECT_EQ(target->process(buffers.inputs(), buffers.outputs(), 512), vst3::kResultOk);
        }
        std::vector<uint8_t> restored;
        ASSERT_TRUE(target->save(restored));
        EXPECT_EQ(restored, whole) << processing;
    }
}

TEST_F(Vst3HostState, AnExhaustedShortOrEmptyStreamKeepsTheState)
{
    auto source = create();
    ASSERT_EQ(source->flush(kChanges), vst3::kResultOk);
    std::vector<uint8_t> whole;
    ASSERT_TRUE(source->save(whole));
    auto target = create();
    // Carla: setState on the component, then the controller's setState on the same stream.
    Vst3MemoryStream stream(whole);
    ASSERT_EQ(target->component()->setState(&stream), vst3::kResultOk);
    EXPECT_NE(target->editController()->setState(&stream), vst3::kResultOk) << "nothing left to read";
    EXPECT_NEAR(target->value(1), 0.625, 1e-6) << "the second call kept the state";
    std::vector<uint8_t> kept;
    ASSERT_TRUE(target->save(kept));
    EXPECT_EQ(kept, whole);
    Vst3MemoryStream empty;
    EXPECT_NE(target->component()->setState(&empty), vst3::kResultOk);
    ASSERT_TRUE(target->save(kept));
    EXPECT_EQ(kept, whole) << "an empty stream changes nothing";
    // A short one loads what is sound in it and says it was not all there.
    for (size_t length : {(size_t)1, (size_t)100, (size_t)595}) {
        Vst3MemoryStream shortStream(std::vector<uint8_t>(whole.begin(), whole.begin() + (long)length));
        EXPECT_NE(target->component()->setState(&shortStream), vst3::kResultOk) << length;
    }
    EXPECT_NE(target->component()->setState(nullptr), vst3::kResultOk);
}

}  // namespace
#endif

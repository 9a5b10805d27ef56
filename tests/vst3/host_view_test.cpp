// The VST 3 view on the effect's own editor, driven by our host's frame on a real parent: on
// Linux an X11 window of a private X server, with the editor's idle work from the frame's run
// loop (a timer and the X connection's descriptor); on Windows a window of this program, with
// the idle work from the editor window's own timer while the host only dispatches messages. The
// effect is built here with the product's editor, and its size requests reach the view through
// the effect object's slot, as the VST 3 effect passes audioMasterSizeWindow on.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <thread>

// Before the X11 headers, whose macros (Always) would change it.
#include "vst3_editor.h"

#include "controls/zoom_choice.h"
#include "core/templete.h"
#include "editor/editor_factory.h"
#include "entry/editor_window_access.h"
#include "vst3/vst3_view.h"

#ifndef _WIN32
#include "support/private_x_server.h"
#endif

namespace {

Vst3ViewSlot *currentSlot = nullptr;

// The effect's host calls: the editor's size requests go to the view, as in the VST 3 effect.
VstIntPtr VSTCALLBACK effectHost(AEffect *, VstInt32 opcode, VstInt32 index, VstIntPtr value, void *, float)
{
    if (opcode == audioMasterVersion)
        return 2400;
    if (opcode == audioMasterSizeWindow)
        return currentSlot && currentSlot->requestResize(index, (int)value) ? 1 : 0;
    return 0;
}

const Vst3EditorWindowAccess kAccess{editorFrameWindow, editorEventDescriptor};

class Vst3ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeZoomChoice(0)) << "Auto";  // the store is the test run's own
        setVst3EditorWindowAccess(&kAccess);
        currentSlot = slot.get();
        std::string error;
#ifdef _WIN32
        window = createWin32EditorWindow();
#else
        ASSERT_NE(server.display, nullptr) << "no private X server";
        window = createX11EditorWindow(error);
#endif
        ASSERT_NE(window, nullptr) << error;
        frame.resizeParent = [](void *context, int width, int height) {
            static_cast<HarnessEditorWindow *>(context)->resize(width, height);
        };
        frame.resizeContext = window.get();
    }
    void TearDown() override
    {
        slot.reset();  // before the effect: a view still alive loses it
        currentSlot = nullptr;
        writeZoomChoice(0);
    }
    AEffect *record() { return effect->getAeffect(); }
    std::string size(vst3::IPlugView *view)
    {
        vst3::ViewRect r{};
        if (view->getSize(&r) != vst3::kResultOk)
            return "none";
        return std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
    }
    bool attach(vst3::IPlugView *view)
    {
        view->setFrame(&frame);
        return view->attached(window->parentHandle(), Vst3Editor::platformType()) == vst3::kResultOk &&
               window->attach();
    }
    // Turns of the host's event loop for up to a second, until the view asked for a size.
    bool resizeAsked()
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < until) {
#ifndef _WIN32
            frame.runLoop.fireDueTimers(false);
#endif
            window->pump();
            if (!frame.resizes.empty())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
#ifndef _WIN32
    PrivateXServer server;
    DisplayVariable session{server.name};
#endif
    std::unique_ptr<HarnessEditorWindow> window;
    Vst3PlugFrame frame;
    std::unique_ptr<Templete> effect{new Templete(effectHost, createTemepleteEditor)};
    std::unique_ptr<Vst3ViewSlot> slot{new Vst3ViewSlot};
};

TEST_F(Vst3ViewTest, AnswersItsPlatformSizesAndInterfaces)
{
    vst3::IPlugView *view = slot->createView(record());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(slot->createView(record()), nullptr) << "one view per effect";
    EXPECT_EQ(view->isPlatformTypeSupported(Vst3Editor::platformType()), vst3::kResultTrue);
    EXPECT_NE(view->isPlatformTypeSupported("NSView"), vst3::kResultTrue);
    EXPECT_NE(view->isPlatformTypeSupported(nullptr), vst3::kResultTrue);
#ifdef _WIN32
    EXPECT_NE(view->isPlatformTypeSupported(vst3::kPlatformTypeX11EmbedWindowID), vst3::kResultTrue);
#else
    EXPECT_NE(view->isPlatformTypeSupported(vst3::kPlatformTypeHWND), vst3::kResultTrue);
#endif
    EXPECT_EQ(size(view), "586x195") << "strips shown, both collapsed: known before attached";
    EXPECT_NE(view->canResize(), vst3::kResultTrue);
    vst3::ViewRect proposed{10, 20, 900, 400};
    EXPECT_EQ(view->checkSizeConstraint(&proposed), vst3::kResultTrue);
    EXPECT_EQ(proposed.right - proposed.left, 586);
    EXPECT_EQ(proposed.bottom - proposed.top, 195);
    EXPECT_EQ(proposed.left, 10) << "the place stays";
    void *object = nullptr;
    ASSERT_EQ(view->queryInterface(vst3::IPlugViewContentScaleSupport::iid.data(), &object), vst3::kResultOk);
    static_cast<vst3::FUnknown *>(object)->release();
    EXPECT_NE(view->queryInterface(vst3::IEditController::iid.data(), &object), vst3::kResultOk);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(view->removed(), vst3::kResultOk) << "removed without attached is harmless";
    EXPECT_EQ(view->release(), 0u);
    EXPECT_FALSE(slot->hasView());
    vst3::IPlugView *next = slot->createView(record());
    ASSERT_NE(next, nullptr) << "a new one once the last is gone";
    EXPECT_EQ(next->release(), 0u);
}

TEST_F(Vst3ViewTest, OpensOnARealParentIdlesFromTheHostAndAsksTheFrameForItsSize)
{
    vst3::IPlugView *view = slot->createView(record());
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(attach(view));
    EXPECT_EQ(view->attached(window->parentHandle(), Vst3Editor::platformType()), vst3::kResultFalse)
        << "already attached";
#ifndef _WIN32
    ASSERT_EQ(frame.runLoop.timers.size(), 1u) << "the editor's idle timer";
    EXPECT_LE(frame.runLoop.timers[0].periodMs, 50u);
    EXPECT_EQ(frame.runLoop.handlers.size(), 1u) << "the editor's X connection";
#endif
    vst3::ViewRect same{0, 0, 586, 195}, other{0, 0, 586, 300};
    EXPECT_EQ(view->onSize(&same), vst3::kResultOk);
    EXPECT_NE(view->onSize(&other), vst3::kResultOk) << "the height is the strip switches'";

    // The host hides the strips; the editor takes the change in its idle and asks for 169 rows.
    effect->setParameter(6, 0.f);
    ASSERT_TRUE(resizeAsked()) << "no idle reached the editor";
    EXPECT_EQ(frame.resizes[0], std::make_pair(586, 169));
    EXPECT_EQ(size(view), "586x169");

    EXPECT_EQ(view->removed(), vst3::kResultOk);
#ifndef _WIN32
    EXPECT_TRUE(frame.runLoop.timers.empty());
    EXPECT_TRUE(frame.runLoop.handlers.empty());
#endif
    EXPECT_EQ(view->setFrame(nullptr), vst3::kResultOk);
    EXPECT_EQ(frame.heldReferences(), 0) << "every reference to the frame given back";
    // Attached again on the same parent, as hosts that keep the view do, and closed in Carla's
    // order: setFrame(null) before removed.
    ASSERT_TRUE(attach(view));
    EXPECT_EQ(view->setFrame(nullptr), vst3::kResultOk);
    EXPECT_EQ(view->removed(), vst3::kResultOk);
    EXPECT_EQ(frame.heldReferences(), 0);
#ifndef _WIN32
    EXPECT_TRUE(frame.runLoop.timers.empty());
    EXPECT_EQ(frame.runLoop.heldReferences(), 0) << "the run loop given back";
#endif
    EXPECT_EQ(view->release(), 0u);
}

TEST_F(Vst3ViewTest, TheContentScaleIsTheHostsZoomFactorBeforeAndWhileOpen)
{
    vst3::IPlugView *view = slot->createView(record());
    ASSERT_NE(view, nullptr);
    void *object = nullptr;
    ASSERT_EQ(view->queryInterface(vst3::IPlugViewContentScaleSupport::iid.data(), &object), vst3::kResultOk);
    auto *scaling = static_cast<vst3::IPlugViewContentScaleSupport *>(object);
    for (float refused : {NAN, 0.f, -1.f, HUGE_VALF, -HUGE_VALF})
        EXPECT_NE(scaling->setContentScaleFactor(refused), vst3::kResultTrue) << refused;
    EXPECT_EQ(size(view), "586x195");
    EXPECT_EQ(scaling->setContentScaleFactor(2.f), vst3::kResultTrue) << "before setFrame";
    EXPECT_EQ(size(view), "1172x390");
    ASSERT_TRUE(attach(view));
    EXPECT_TRUE(frame.resizes.empty()) << "opened at the size it gave";
    EXPECT_EQ(scaling->setContentScaleFactor(1.5f), vst3::kResultTrue);
    ASSERT_EQ(frame.resizes.size(), 1u) << "at once, not at an idle";
    EXPECT_EQ(frame.resizes[0], std::make_pair(879, 293));
    EXPECT_EQ(size(view), "879x293");
    scaling->release();
    view->removed();
    view->setFrame(nullptr);
    view->release();
}

#ifndef _WIN32
TEST_F(Vst3ViewTest, AFrameWithoutARunLoopGetsNoEditor)
{
    frame.offersRunLoop = false;
    vst3::IPlugView *view = slot->createView(record());
    ASSERT_NE(view, nullptr);
    view->setFrame(&frame);
    EXPECT_NE(view->attached(window->parentHandle(), Vst3Editor::platformType()), vst3::kResultOk)
        << "nothing would ever draw";
    view->setFrame(nullptr);
    view->release();
}

TEST_F(Vst3ViewTest, TheConnectionsDescriptorBringsIdleWithoutTheTimer)
{
    // With no timer firing, X events for the editor (the pointer moving over it) make its
    // descriptor ready; onFDIsSet then does the idle work, which takes a pending strip change in.
    vst3::IPlugView *view = slot->createView(record());
    ASSERT_TRUE(attach(view));
    effect->setParameter(6, 0.f);
    for (int i = 0; i < 20 && frame.resizes.empty(); ++i) {
        window->move(10 + i, 10 + i, 0);
        frame.runLoop.pollDescriptors(50);
    }
    EXPECT_FALSE(frame.resizes.empty());
    view->removed();
    view->setFrame(nullptr);
    view->release();
}
#endif

TEST_F(Vst3ViewTest, AViewOutlivingItsEffectTurnsEmpty)
{
    vst3::IPlugView *view = slot->createView(record());
    ASSERT_TRUE(attach(view));
    slot.reset();  // the effect object goes first (a careless host)
    currentSlot = nullptr;
    EXPECT_EQ(size(view), "none");
    EXPECT_NE(view->isPlatformTypeSupported(Vst3Editor::platformType()), vst3::kResultTrue);
#ifndef _WIN32
    EXPECT_TRUE(frame.runLoop.timers.empty()) << "its editor closed with it";
#endif
    view->setFrame(nullptr);
    EXPECT_EQ(view->release(), 0u);
}

}  // namespace

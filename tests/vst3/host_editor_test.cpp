// The editor of the bundle opened through its view on a real parent, as a host opens it, and
// the edits the user makes there reaching our host's component handler: begin, perform and end
// on the UI thread, the value in the host's normalised terms; the view closed and opened again
// on the same object, every reference to the frame and the run loop given back.
#ifdef ZEM_VST3_BUNDLE  // the tests build the bundle beside them
#include <chrono>
#include <thread>

// Before the X11 headers, whose macros (Always) would change it.
#include "vst3_editor.h"

#include "host_fixture.h"

#ifndef _WIN32
#include "support/private_x_server.h"
#endif

namespace {

class Vst3HostEditor : public Vst3HostTest {
protected:
    void SetUp() override
    {
        Vst3HostTest::SetUp();
        std::string error;
#ifdef _WIN32
        window = createWin32EditorWindow();
#else
        ASSERT_NE(server.display, nullptr) << "no private X server";
        window = createX11EditorWindow(error);
#endif
        ASSERT_NE(window, nullptr) << error;
    }
    // Turns of the host's event loop for up to a second, until the handler heard an end.
    bool editEnded(Vst3Editor &editor)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < until) {
            editor.idle(false);
            for (const Vst3HandlerCall &call : handler.calls())
                if (call.kind == Vst3HandlerCall::End)
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
};

TEST_F(Vst3HostEditor, AClickInTheEditorIsOneEditForTheHandlerOnTheUiThread)
{
    auto instance = create();
    ASSERT_TRUE(instance->activate(44100, 512) && instance->startProcessing());
    Vst3Editor editor(*instance, *window);
    std::string error;
    ASSERT_TRUE(editor.open(error)) << error;
    EXPECT_EQ(editor.width(), 586);
    EXPECT_EQ(editor.height(), 195);
    handler.clearCalls();
    // The M/S half of the LR/MS switch.
    window->press(75, 157, 1);
    window->release(75, 157, 1);
    ASSERT_TRUE(editEnded(editor)) << "no edit reached the handler";
    std::vector<std::string> heard;
    for (const Vst3HandlerCall &call : handler.calls()) {
        heard.push_back(describeHandlerCall(call));
        EXPECT_TRUE(call.onMainThread) << describeHandlerCall(call);
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"begin 4", "perform 4 1", "end 4"}));
    // The host delivers the edit back in its next block, as it records automation.
    Vst3Buffers buffers(512);
    EXPECT_EQ(instance->process(buffers.inputs(), buffers.outputs(), 512, {{4, 0, 1.0}}), vst3::kResultOk);
    EXPECT_EQ(instance->value(4), 1.0);

    editor.close();
    EXPECT_EQ(editor.plugFrame().heldReferences(), 0);
#ifndef _WIN32
    EXPECT_TRUE(editor.plugFrame().runLoop.timers.empty());
    EXPECT_TRUE(editor.plugFrame().runLoop.handlers.empty());
    EXPECT_EQ(editor.plugFrame().runLoop.heldReferences(), 0);
#endif
    // Opened again, as hosts that create the view at every open do.
    ASSERT_TRUE(editor.open(error)) << error;
    editor.idle();
}

}  // namespace
#endif

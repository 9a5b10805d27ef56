// The editor opened through the gui extension on a real parent, as a host opens it: on Linux an
// X11 window of a private X server, with the editor's idle work from the host's timers and its
// X connection watched through posix-fd-support; on Windows a window of this program, with the
// idle work from the frame window's own timer while the host only dispatches messages. The idle
// is seen at work when a strip switch set by the host resizes the editor: the editor applies
// the change in its idle and asks the host for the new size.
#include <chrono>
#include <cmath>
#include <thread>

#include "clap_editor.h"
#include "controls/zoom_choice.h"
#include "host_fixture.h"

#ifndef _WIN32
#include "support/private_x_server.h"
#endif

namespace {

class ClapHostEditor : public ClapHostTest {
protected:
    void SetUp() override
    {
        ClapHostTest::SetUp();
        std::string error;
#ifdef _WIN32
        window = createWin32EditorWindow();
#else
        ASSERT_NE(server.display, nullptr) << "no private X server";
        window = createX11EditorWindow(error);
#endif
        ASSERT_NE(window, nullptr) << error;
    }
    // Turns of the host's event loop for up to a second, until the plug-in asked for a size.
    bool resizeAsked(ClapEditor &editor)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::chrono::steady_clock::now() < until) {
            editor.idle(false);
            if (host.count(ClapHostCall::RequestResize) > 0)
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

TEST_F(ClapHostEditor, OpensOnARealParentAndIdlesFromItsTimer)
{
    auto instance = create();
    const clap_plugin_gui_t *gui = instance->gui();
    ASSERT_NE(gui, nullptr);
    EXPECT_TRUE(gui->is_api_supported(instance->plugin(), ClapEditor::nativeApi(), false));
    EXPECT_FALSE(gui->is_api_supported(instance->plugin(), ClapEditor::nativeApi(), true)) << "embedded only";
    EXPECT_FALSE(gui->is_api_supported(instance->plugin(), CLAP_WINDOW_API_WAYLAND, false));
    EXPECT_FALSE(gui->can_resize(instance->plugin()));

    ClapEditor editor(*instance, *window);
    std::string error;
    ASSERT_TRUE(editor.open(error)) << error;
    EXPECT_EQ(editor.width(), 586u);
    EXPECT_EQ(editor.height(), 195u) << "strips shown, both collapsed";
    uint32_t w = 0, h = 0;
    EXPECT_TRUE(gui->adjust_size(instance->plugin(), &w, &h));
    EXPECT_EQ(w, editor.width());
    EXPECT_EQ(h, editor.height());
    EXPECT_TRUE(gui->set_size(instance->plugin(), w, h));
    EXPECT_FALSE(gui->set_size(instance->plugin(), w, h + 10));
    EXPECT_TRUE(gui->set_scale(instance->plugin(), 1.0));
#ifndef _WIN32
    ASSERT_EQ(host.timers().size(), 1u) << "the editor's idle timer";
    EXPECT_LE(host.timers()[0].periodMs, 50u);
    ASSERT_EQ(host.descriptors().size(), 1u) << "the editor's X connection";
    EXPECT_EQ(host.descriptors()[0].flags & CLAP_POSIX_FD_READ, (uint32_t)CLAP_POSIX_FD_READ);
#endif

    // The host hides the strips; the editor takes the change in its idle and asks for 169 rows.
    host.clearCalls();
    instance->flush({{0, 6, 0.0}});
    ASSERT_TRUE(resizeAsked(editor)) << "no idle reached the editor";
    const std::vector<ClapHostCall> calls = host.calls();
    for (const ClapHostCall &call : calls)
        if (call.kind == ClapHostCall::RequestResize) {
            EXPECT_EQ(call.a, 586u);
            EXPECT_EQ(call.b, 169u);
            EXPECT_TRUE(call.onMainThread);
        }
    EXPECT_EQ(editor.height(), 169u);

    EXPECT_TRUE(gui->hide(instance->plugin()));
#ifndef _WIN32
    EXPECT_TRUE(host.timers().empty()) << "hidden: no idle work";
#endif
    EXPECT_TRUE(gui->show(instance->plugin()));
    editor.close();
    EXPECT_TRUE(host.timers().empty());
    EXPECT_TRUE(host.descriptors().empty());
    EXPECT_EQ(host.callsOffMainThread(), 0u);
    // Opened again on the same parent, as hosts that destroy the gui at every close do.
    ASSERT_TRUE(editor.open(error)) << error;
    editor.idle();
}

// The host's scale (set_scale) is the editor's zoom factor unless the user chose one: the same
// source as a VST 2.4 host's 'AeCs' announcement.
class ClapHostEditorScale : public ClapHostEditor {
protected:
    void SetUp() override
    {
        ClapHostEditor::SetUp();
        ASSERT_TRUE(writeZoomChoice(0)) << "Auto";  // the store is the test run's own
    }
    void TearDown() override
    {
        writeZoomChoice(0);
        ClapHostEditor::TearDown();
    }
    void expectSize(const ClapInstance &instance, uint32_t width, uint32_t height, const char *what)
    {
        const clap_plugin_gui_t *gui = instance.gui();
        uint32_t w = 0, h = 0;
        EXPECT_TRUE(gui->get_size(instance.plugin(), &w, &h)) << what;
        EXPECT_EQ(w, width) << what;
        EXPECT_EQ(h, height) << what;
        w = h = 0;
        EXPECT_TRUE(gui->adjust_size(instance.plugin(), &w, &h)) << what;
        EXPECT_EQ(w, width) << what;
        EXPECT_EQ(h, height) << what;
        EXPECT_TRUE(gui->set_size(instance.plugin(), width, height)) << what;
    }
    static constexpr double kRefused[] = {NAN, 0.0, -1.0, HUGE_VAL, -HUGE_VAL, 1e300};
};

TEST_F(ClapHostEditorScale, AScaleBeforeCreateSizesTheEditorAndNonsenseIsRefused)
{
    auto instance = create();
    const clap_plugin_gui_t *gui = instance->gui();
    ASSERT_NE(gui, nullptr);
    for (double scale : kRefused)
        EXPECT_FALSE(gui->set_scale(instance->plugin(), scale)) << scale;
    EXPECT_TRUE(gui->set_scale(instance->plugin(), 2.0)) << "before create";
    ASSERT_TRUE(gui->create(instance->plugin(), ClapEditor::nativeApi(), false));
    expectSize(*instance, 1172, 390, "at 200 %");
    EXPECT_FALSE(gui->set_size(instance->plugin(), 586, 195)) << "the unscaled size is not the editor's";
    for (double scale : kRefused)
        EXPECT_FALSE(gui->set_scale(instance->plugin(), scale)) << scale;
    expectSize(*instance, 1172, 390, "refused scales change nothing");
    EXPECT_TRUE(gui->set_scale(instance->plugin(), 1.5)) << "after create";
    expectSize(*instance, 879, 293, "at 150 %");
    gui->destroy(instance->plugin());
}

TEST_F(ClapHostEditorScale, AScaleWhileOpenAsksTheHostForTheScaledSize)
{
    auto instance = create();
    const clap_plugin_gui_t *gui = instance->gui();
    ClapEditor editor(*instance, *window);
    std::string error;
    ASSERT_TRUE(editor.open(error)) << error;  // our host announces 1.0
    ASSERT_EQ(editor.width(), 586u);
    host.clearCalls();
    EXPECT_TRUE(gui->set_scale(instance->plugin(), 2.0));
    ASSERT_EQ(host.count(ClapHostCall::RequestResize), 1u) << "at once, not at an idle";
    for (const ClapHostCall &call : host.calls())
        if (call.kind == ClapHostCall::RequestResize) {
            EXPECT_EQ(call.a, 1172u);
            EXPECT_EQ(call.b, 390u);
            EXPECT_TRUE(call.onMainThread);
        }
    editor.idle();
    EXPECT_EQ(editor.width(), 1172u);
    EXPECT_EQ(editor.height(), 390u);
    expectSize(*instance, 1172, 390, "open at 200 %");

    // Refused scales neither resize nor move the factor; a strip change keeps it.
    host.clearCalls();
    for (double scale : kRefused)
        EXPECT_FALSE(gui->set_scale(instance->plugin(), scale)) << scale;
    editor.idle(true);
    EXPECT_EQ(host.count(ClapHostCall::RequestResize), 0u);
    instance->flush({{0, 6, 0.0}});
    ASSERT_TRUE(resizeAsked(editor));
    EXPECT_EQ(editor.width(), 1172u);
    EXPECT_EQ(editor.height(), 338u) << "169 rows at 200 %";
    EXPECT_EQ(host.callsOffMainThread(), 0u);
}

TEST_F(ClapHostEditorScale, TheUsersStoredChoiceBeatsTheHostsScale)
{
    ASSERT_TRUE(writeZoomChoice(1.25));
    auto instance = create();
    const clap_plugin_gui_t *gui = instance->gui();
    EXPECT_TRUE(gui->set_scale(instance->plugin(), 2.0));
    ASSERT_TRUE(gui->create(instance->plugin(), ClapEditor::nativeApi(), false));
    expectSize(*instance, 733, 244, "the choice of 125 %");
    ASSERT_TRUE(writeZoomChoice(0));
    expectSize(*instance, 1172, 390, "Auto again: the host's 200 %");
    gui->destroy(instance->plugin());
}

#ifndef _WIN32
TEST_F(ClapHostEditor, AHostWithoutTimersGetsNoEditor)
{
    host.offersTimers = false;
    auto instance = create();
    const clap_plugin_gui_t *gui = instance->gui();
    ASSERT_NE(gui, nullptr);
    EXPECT_FALSE(gui->is_api_supported(instance->plugin(), CLAP_WINDOW_API_X11, false));
    EXPECT_FALSE(gui->create(instance->plugin(), CLAP_WINDOW_API_X11, false));
}

TEST_F(ClapHostEditor, TheConnectionsDescriptorBringsIdleWithoutTheTimer)
{
    // With no timer firing, X events for the editor (the pointer moving over it) make its
    // descriptor ready; on_fd then does the idle work, which takes a pending strip change in.
    auto instance = create();
    ClapEditor editor(*instance, *window);
    std::string error;
    ASSERT_TRUE(editor.open(error)) << error;
    host.clearCalls();
    instance->flush({{0, 6, 0.0}});
    bool asked = false;
    for (int i = 0; i < 20 && !asked; ++i) {
        window->move(10 + i, 10 + i, 0);
        host.pollDescriptors(50);
        asked = host.count(ClapHostCall::RequestResize) > 0;
    }
    EXPECT_TRUE(asked);
}
#endif

}  // namespace

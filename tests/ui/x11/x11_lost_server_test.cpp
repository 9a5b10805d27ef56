// The Linux editor through the loaded plug-in when its X server goes away under it: killed
// while the host is between calls, or while the editor waits for the server's answer. The host
// process lives on, the editor's later calls (idle, a resize, close) do nothing on the lost
// connection, and the next editor opens on a new server. The host's own process-wide Xlib
// handlers stay what the host made them.
#include "core/loaded_plugin.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "support/open_editor.h"
#include "support/private_x_server.h"

namespace {

// The process-wide handlers as they are (read by setting them and putting them back).
struct ProcessHandlers {
    XErrorHandler error;
    XIOErrorHandler io;
    static ProcessHandlers now()
    {
        ProcessHandlers handlers{XSetErrorHandler(nullptr), XSetIOErrorHandler(nullptr)};
        XSetErrorHandler(handlers.error);
        XSetIOErrorHandler(handlers.io);
        return handlers;
    }
};

// A host whose I/O error handler returns, counting the connections it heard were lost.
std::atomic<int> hostHeardOfLoss{0};
int returningHostHandler(Display *)
{
    ++hostHeardOfLoss;
    return 0;
}

// The thread's state from the kernel: true while it waits in poll, as Xlib waits for answers.
bool waitsInPoll(long thread)
{
    std::ifstream file("/proc/self/task/" + std::to_string(thread) + "/syscall");
    long number = -1;
    file >> number;
    return number == SYS_poll || number == SYS_ppoll;
}

class X11LostServerTest : public LoadedPluginTest {
protected:
    // The host's window: raised at once, where the faked pointer finds the editor on it.
    static X11HostWindow hostWindow(Display *display) { return X11HostWindow(display, 0, 0, 586, 261, true); }
    // After a loss: the next server gets an editor of its own, and closing it leaves nothing.
    void opensOnANewServer(PluginInstance &plugin)
    {
        PrivateXServer next;
        ASSERT_NE(next.display, nullptr) << "no private Xvfb";
        DisplayVariable session(next.name);
        const X11HostWindow window = hostWindow(next.display);
        OpenEditor editor(plugin.record(), window.handle());
        ASSERT_EQ(editor.openAnswer(), 1);
        editor.idle();
        EXPECT_EQ(window.children(), 1u);
        editor.close();
        EXPECT_EQ(window.children(), 0u);
    }
};

TEST_F(X11LostServerTest, ServerKilledBetweenCallsEndsOnlyTheEditor)
{
    const ProcessHandlers hosts = ProcessHandlers::now();  // Xlib's defaults: a loss ends the process
    PluginInstance plugin(host());
    {
        PrivateXServer server;
        ASSERT_NE(server.display, nullptr) << "no private Xvfb";
        DisplayVariable session(server.name);
        const X11HostWindow window = hostWindow(server.display);
        plugin.setParameter(0, 1.f);  // Process on: the trim entry takes clicks
        OpenEditor editor(plugin.record(), window.handle());
        ASSERT_EQ(editor.openAnswer(), 1);
        editor.idle();
        // The trim entry's box open, holding the keyboard focus, when the server goes.
        XTestFakeMotionEvent(server.display, DefaultScreen(server.display), 554, 153, CurrentTime);
        XTestFakeButtonEvent(server.display, 1, True, CurrentTime);
        XTestFakeButtonEvent(server.display, 1, False, CurrentTime);
        XSync(server.display, False);
        editor.idle();
        Window editorWindow = 0, focus = 0;
        int revert = 0;
        ASSERT_EQ(window.children(&editorWindow), 1u);
        XGetInputFocus(server.display, &focus, &revert);
        ASSERT_EQ(focus, editorWindow) << "the box is open";

        server.kill();
        editor.idle(3);
        plugin.setParameter(6, 1.f);  // the strips shown: the editor grows
        editor.idle();
        editor.close();
    }
    opensOnANewServer(plugin);
    const ProcessHandlers after = ProcessHandlers::now();
    EXPECT_EQ(after.error, hosts.error);
    EXPECT_EQ(after.io, hosts.io);
}

TEST_F(X11LostServerTest, ServerLostWhileTheEditorWaitsForItEndsOnlyTheEditor)
{
    const XErrorHandler hostsErrorHandler = ProcessHandlers::now().error;
    const XIOErrorHandler before = XSetIOErrorHandler(&returningHostHandler);
    hostHeardOfLoss = 0;
    PluginInstance plugin(host());
    {
        PrivateXServer server;
        ASSERT_NE(server.display, nullptr) << "no private Xvfb";
        DisplayVariable session(server.name);
        OpenEditor editor(plugin.record(), hostWindow(server.display).handle());
        ASSERT_EQ(editor.openAnswer(), 1);
        editor.idle();

        // The server stops answering; once this thread waits for it, it is killed.
        server.stop();
        const long self = syscall(SYS_gettid);
        std::thread killer([&] {
            int seenWaiting = 0;
            for (int i = 0; i < 500 && seenWaiting < 3; ++i) {
                seenWaiting = waitsInPoll(self) ? seenWaiting + 1 : 0;
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
            server.kill();
        });
        editor.idle();  // returns once the server is gone
        killer.join();
        EXPECT_EQ(hostHeardOfLoss, 1) << "the host's handler hears of the loss, as Xlib tells it";

        editor.idle(3);
        editor.close();
        EXPECT_EQ(hostHeardOfLoss, 1) << "nothing more was asked of the lost connection";
    }
    EXPECT_EQ(XSetIOErrorHandler(before), &returningHostHandler);
    EXPECT_EQ(ProcessHandlers::now().error, hostsErrorHandler);
}

}  // namespace

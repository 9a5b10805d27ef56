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
    static Window hostWindow(Display *display)
    {
        XSetWindowAttributes attributes{};
        attributes.override_redirect = True;
        Window window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 586, 261, 0, CopyFromParent,
                                      InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
        XMapRaised(display, window);
        XSync(display, False);
        return window;
    }
    static void *id(Window window) { return reinterpret_cast<void *>(static_cast<uintptr_t>(window)); }
    static unsigned int children(Display *display, Window window, Window *first = nullptr)
    {
        Window root = 0, parent = 0, *list = nullptr;
        unsigned int count = 0;
        XQueryTree(display, window, &root, &parent, &list, &count);
        if (first)
            *first = count ? list[0] : 0;
        if (list)
            XFree(list);
        return count;
    }
    // After a loss: the next server gets an editor of its own, and closing it leaves nothing.
    void opensOnANewServer(PluginInstance &plugin)
    {
        PrivateXServer next;
        ASSERT_NE(next.display, nullptr) << "no private Xvfb";
        DisplayVariable session(next.name);
        const Window window = hostWindow(next.display);
        ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, id(window)), 1);
        plugin.dispatch(effEditIdle);
        EXPECT_EQ(children(next.display, window), 1u);
        plugin.dispatch(effEditClose);
        EXPECT_EQ(children(next.display, window), 0u);
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
        const Window window = hostWindow(server.display);
        plugin.setParameter(0, 1.f);  // Process on: the trim entry takes clicks
        ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, id(window)), 1);
        plugin.dispatch(effEditIdle);
        // The trim entry's box open, holding the keyboard focus, when the server goes.
        XTestFakeMotionEvent(server.display, DefaultScreen(server.display), 554, 153, CurrentTime);
        XTestFakeButtonEvent(server.display, 1, True, CurrentTime);
        XTestFakeButtonEvent(server.display, 1, False, CurrentTime);
        XSync(server.display, False);
        plugin.dispatch(effEditIdle);
        Window editor = 0, focus = 0;
        int revert = 0;
        ASSERT_EQ(children(server.display, window, &editor), 1u);
        XGetInputFocus(server.display, &focus, &revert);
        ASSERT_EQ(focus, editor) << "the box is open";

        server.kill();
        for (int i = 0; i < 3; ++i)
            plugin.dispatch(effEditIdle);
        plugin.setParameter(6, 1.f);  // the strips shown: the editor grows
        plugin.dispatch(effEditIdle);
        plugin.dispatch(effEditClose);
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
        ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, id(hostWindow(server.display))), 1);
        plugin.dispatch(effEditIdle);

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
        plugin.dispatch(effEditIdle);  // returns once the server is gone
        killer.join();
        EXPECT_EQ(hostHeardOfLoss, 1) << "the host's handler hears of the loss, as Xlib tells it";

        for (int i = 0; i < 3; ++i)
            plugin.dispatch(effEditIdle);
        plugin.dispatch(effEditClose);
        EXPECT_EQ(hostHeardOfLoss, 1) << "nothing more was asked of the lost connection";
    }
    EXPECT_EQ(XSetIOErrorHandler(before), &returningHostHandler);
    EXPECT_EQ(ProcessHandlers::now().error, hostsErrorHandler);
}

}  // namespace

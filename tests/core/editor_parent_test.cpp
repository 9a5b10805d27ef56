// The parent window a host hands to effEditOpen, through the loaded plug-in: a Linux host's X11
// window id or any other value is refused without being read; a parent the host program created
// itself and vouched for opens the editor; the Linux build announces no editor to hosts.
#include <cstdint>
#include <cstdio>
#include <string>

#include "loaded_plugin.h"
#include "ui/offscreen_parent.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <X11/Xlib.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;
#endif

namespace {

using EditorParentTest = LoadedPluginTest;

#ifndef _WIN32
// An X display of this test's own: a private Xvfb that reports its display number on a pipe.
class PrivateXServer {
public:
    PrivateXServer()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        std::string fd = std::to_string(fds[1]);
        // -terminate: the server ends with its last client, even if this process dies.
        const char *argv[] = {"Xvfb", "-displayfd", fd.c_str(), "-terminate", "-nolisten", "tcp",
                              "-screen", "0", "640x480x24", nullptr};
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        if (posix_spawnp(&server, "Xvfb", &actions, nullptr, const_cast<char **>(argv), environ) != 0)
            server = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        // The server writes its number and a newline, and gives up if the pipe closes between.
        std::string number;
        char c = 0;
        while (server && number.size() < 16 && read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty())
            name = ":" + number;
        // The server answers once it has written its number; give a busy machine a few tries.
        for (int attempt = 0; attempt < 50 && !display && !name.empty(); ++attempt) {
            display = XOpenDisplay(name.c_str());
            if (!display)
                usleep(100000);
        }
    }
    ~PrivateXServer()
    {
        if (display)
            XCloseDisplay(display);
        if (server > 0) {
            kill(server, SIGTERM);
            waitpid(server, nullptr, 0);
        }
    }
    Display *display = nullptr;
    std::string name;  // ":N"

private:
    pid_t server = 0;
};
#endif

// An address in no mapped page of a test process, as a buggy or hostile host might pass.
void *const kRandomPointer = reinterpret_cast<void *>(static_cast<uintptr_t>(0xdead0000u));

}  // namespace

TEST_F(EditorParentTest, TheEditorIsAnnouncedOnlyWhereItCanLiveInTheHostsWindow)
{
    PluginInstance plugin(host());
    ERect *rect = nullptr;
    EXPECT_EQ(plugin.dispatch(effEditGetRect, 0, 0, &rect), 1) << "the editor exists in every build";
#ifdef _WIN32
    EXPECT_TRUE(plugin.record()->flags & effFlagsHasEditor);
#else
    EXPECT_FALSE(plugin.record()->flags & effFlagsHasEditor) << "Linux hosts get no editor to embed";
#endif
}

TEST_F(EditorParentTest, AParentTheHostDidNotVouchForIsRefusedUnread)
{
    PluginInstance plugin(host());
    EXPECT_EQ(plugin.dispatch(effEditOpen, 0, 0, kRandomPointer), 0);
    // A look-alike of the offscreen parent that its host never vouched for is not used either.
    OffscreenParent stranger;
    EXPECT_EQ(plugin.dispatch(effEditOpen, 0, 0, &stranger), 0);
    EXPECT_EQ(stranger.frame, nullptr);
    plugin.dispatch(effEditIdle);
    plugin.dispatch(effEditClose);
    EXPECT_GE(host().queries(audioMasterVendorSpecific), 1) << "the editor asked the host about the parent";
}

#ifndef _WIN32
TEST_F(EditorParentTest, ARealX11WindowIdFromALinuxHostIsRefusedWithoutACrash)
{
    PrivateXServer server;
    ASSERT_NE(server.display, nullptr) << "no private Xvfb (display \"" << server.name << "\")";
    Window window = XCreateSimpleWindow(server.display, DefaultRootWindow(server.display), 0, 0, 586, 195, 0, 0, 0);
    XMapWindow(server.display, window);
    XSync(server.display, False);
    PluginInstance plugin(host());
    // The id travels by value in the pointer argument, as Linux hosts pass it.
    void *xid = reinterpret_cast<void *>(static_cast<uintptr_t>(window));
    EXPECT_EQ(plugin.dispatch(effEditOpen, 0, 0, xid), 0);
    plugin.dispatch(effEditIdle);
    plugin.dispatch(effEditClose);
    XDestroyWindow(server.display, window);
}

TEST_F(EditorParentTest, AnOffscreenParentItsHostVouchedForOpensTheEditor)
{
    PluginInstance plugin(host());
    OffscreenParent parent;
    host().vouchForParent(&parent);
    ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, &parent), 1);
    ASSERT_NE(parent.frame, nullptr);
    EXPECT_NE(host().parentCookie(), 0u);
    plugin.dispatch(effEditIdle);
    EXPECT_EQ(parent.mouseMoved(parent.frame, 10, 10, 0) >= 0, true);
    plugin.dispatch(effEditClose);
    EXPECT_EQ(parent.frame, nullptr);
    host().withdrawParent(&parent);
    // Once withdrawn, the same parent is refused.
    EXPECT_EQ(plugin.dispatch(effEditOpen, 0, 0, &parent), 0);
}
#else
struct PictureRequest {
    HWND frame;
    UINT message;
    WPARAM cookie;
    const char *path;
    LRESULT answer;
};

DWORD WINAPI sendFromAnotherThread(LPVOID data)
{
    auto *r = static_cast<PictureRequest *>(data);
    r->answer = SendMessageW(r->frame, r->message, r->cookie, reinterpret_cast<LPARAM>(r->path));
    return 0;
}

TEST_F(EditorParentTest, TheFrameWritesAPictureOnlyForItsOwnThreadWithTheCookie)
{
    HWND parent = CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP, 0, 0, 586, 195, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    PluginInstance plugin(host());
    host().vouchForParent(parent);
    ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, parent), 1);
    HWND frame = GetWindow(parent, GW_CHILD);
    ASSERT_NE(frame, nullptr);
    const UINT message = RegisterWindowMessageW(kFramePictureMessage);
    char path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, path);
    std::string file = std::string(path) + "zem-frame-picture-test.png";
    std::remove(file.c_str());
    // Without the cookie, and with it from another thread, the frame writes nothing.
    EXPECT_EQ(SendMessageW(frame, message, 0, reinterpret_cast<LPARAM>(file.c_str())), 0);
    const uint32_t cookie = host().parentCookie();
    ASSERT_NE(cookie, 0u);
    PictureRequest request{frame, message, (WPARAM)cookie, file.c_str(), -1};
    HANDLE other = CreateThread(nullptr, 0, sendFromAnotherThread, &request, 0, nullptr);
    ASSERT_NE(other, nullptr);
    // The other thread's send is delivered while this thread waits for messages.
    while (MsgWaitForMultipleObjects(1, &other, FALSE, 10000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
    CloseHandle(other);
    EXPECT_EQ(request.answer, 0);
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    // This thread's send with the cookie is answered.
    EXPECT_EQ(SendMessageW(frame, message, (WPARAM)cookie, reinterpret_cast<LPARAM>(file.c_str())), 1);
    EXPECT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    std::remove(file.c_str());
    plugin.dispatch(effEditClose);
    host().withdrawParent(parent);
    DestroyWindow(parent);
}

TEST_F(EditorParentTest, AHostsOwnWindowGivesNoPictureRequests)
{
    HWND parent = CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP, 0, 0, 586, 195, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    PluginInstance plugin(host());
    ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, parent), 1);
    HWND frame = GetWindow(parent, GW_CHILD);
    const UINT message = RegisterWindowMessageW(kFramePictureMessage);
    // Whatever the cookie, a frame on a parent nobody vouched for writes nothing anywhere.
    for (WPARAM cookie : {(WPARAM)0, (WPARAM)1, (WPARAM)0x5A4F4841})
        EXPECT_EQ(SendMessageW(frame, message, cookie, reinterpret_cast<LPARAM>(kRandomPointer)), 0);
    plugin.dispatch(effEditClose);
    DestroyWindow(parent);
}
#endif

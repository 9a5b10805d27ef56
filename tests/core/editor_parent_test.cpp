// The parent window a host hands to effEditOpen, through the loaded plug-in: a Linux host's X11
// window id is used through Xlib only and gets the editor as its child window, an invalid id is
// refused; any other value is never read; a parent the host program created itself and vouched
// for opens the editor offscreen.
#include <cstdint>
#include <cstdio>
#include <string>

#include "loaded_plugin.h"
#include "support/open_editor.h"
#include "ui/offscreen_parent.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <X11/Xlib.h>

#include "support/private_x_server.h"
#endif

namespace {

using EditorParentTest = LoadedPluginTest;

// An address in no mapped page of a test process, as a buggy or hostile host might pass.
void *const kRandomPointer = reinterpret_cast<void *>(static_cast<uintptr_t>(0xdead0000u));

}  // namespace

TEST_F(EditorParentTest, TheEditorIsAnnouncedOnlyWhereItCanLiveInTheHostsWindow)
{
    PluginInstance plugin(host());
    ERect *rect = nullptr;
    EXPECT_EQ(plugin.dispatch(effEditGetRect, 0, 0, &rect), 1) << "the editor exists in every build";
    EXPECT_TRUE(plugin.record()->flags & effFlagsHasEditor) << "Windows: an HWND; Linux: an X11 window id";
}

TEST_F(EditorParentTest, AParentTheHostDidNotVouchForIsRefusedUnread)
{
#ifndef _WIN32
    // Taken as an X11 window id, which no display here knows.
    PrivateXServer server;
    DisplayVariable session(server.name);
#endif
    PluginInstance plugin(host());
    EXPECT_EQ(OpenEditor(plugin.record(), kRandomPointer).openAnswer(), 0);
    // A look-alike of the offscreen parent that its host never vouched for is not used either.
    OffscreenParent stranger;
    OpenEditor refused(plugin.record(), &stranger);
    EXPECT_EQ(refused.openAnswer(), 0);
    EXPECT_EQ(stranger.frame, nullptr);
    refused.idle();
    refused.close();
    EXPECT_GE(host().queries(audioMasterVendorSpecific), 1) << "the editor asked the host about the parent";
}

#ifndef _WIN32
TEST_F(EditorParentTest, ARealX11WindowIdFromALinuxHostGetsTheEditorAsItsChildWindow)
{
    PrivateXServer server;
    DisplayVariable session(server.name);
    ASSERT_NE(server.display, nullptr) << "no private Xvfb (display \"" << server.name << "\")";
    const X11HostWindow window(server.display, 0, 0, 586, 195);
    PluginInstance plugin(host());
    // The id travels by value in the pointer argument, as Linux hosts pass it.
    OpenEditor editor(plugin.record(), window.handle());
    EXPECT_EQ(editor.openAnswer(), 1);
    editor.idle();
    EXPECT_EQ(window.children(), 1u);
    editor.close();
    EXPECT_EQ(window.children(), 0u) << "closing destroys the editor's window";
    // A made-up id and the id of a window that is gone are refused, and the host lives on.
    EXPECT_EQ(OpenEditor(plugin.record(), reinterpret_cast<void *>(static_cast<uintptr_t>(0x3ffff01))).openAnswer(), 0);
    XDestroyWindow(server.display, window.window);
    XSync(server.display, False);
    OpenEditor gone(plugin.record(), window.handle());
    EXPECT_EQ(gone.openAnswer(), 0);
    gone.close();
}

TEST_F(EditorParentTest, AnOffscreenParentItsHostVouchedForOpensTheEditor)
{
    PluginInstance plugin(host());
    OffscreenParent parent;
    host().vouchForParent(&parent);
    OpenEditor editor(plugin.record(), &parent);
    ASSERT_EQ(editor.openAnswer(), 1);
    ASSERT_NE(parent.frame, nullptr);
    EXPECT_NE(host().parentCookie(), 0u);
    editor.idle();
    EXPECT_EQ(parent.mouseMoved(parent.frame, 10, 10, 0) >= 0, true);
    editor.close();
    EXPECT_EQ(parent.frame, nullptr);
    host().withdrawParent(&parent);
    // Once withdrawn, the same parent is refused.
    EXPECT_EQ(OpenEditor(plugin.record(), &parent).openAnswer(), 0);
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
    OpenEditor editor(plugin.record(), parent);
    ASSERT_EQ(editor.openAnswer(), 1);
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
    editor.close();
    host().withdrawParent(parent);
    DestroyWindow(parent);
}

TEST_F(EditorParentTest, AHostsOwnWindowGivesNoPictureRequests)
{
    HWND parent = CreateWindowExW(0, L"STATIC", L"parent", WS_POPUP, 0, 0, 586, 195, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    PluginInstance plugin(host());
    OpenEditor editor(plugin.record(), parent);
    ASSERT_EQ(editor.openAnswer(), 1);
    HWND frame = GetWindow(parent, GW_CHILD);
    const UINT message = RegisterWindowMessageW(kFramePictureMessage);
    // Whatever the cookie, a frame on a parent nobody vouched for writes nothing anywhere.
    for (WPARAM cookie : {(WPARAM)0, (WPARAM)1, (WPARAM)0x5A4F4841})
        EXPECT_EQ(SendMessageW(frame, message, cookie, reinterpret_cast<LPARAM>(kRandomPointer)), 0);
    editor.close();
    DestroyWindow(parent);
}
#endif

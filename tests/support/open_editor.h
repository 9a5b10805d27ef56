// An effect's editor opened through its dispatcher as a host opens it, and the parents a host
// hands to effEditOpen. Every suite that opens an editor the way a host does uses these:
//   OpenEditor editor(effect->getAeffect());              // on the test program's shared parent
//   ASSERT_TRUE(editor.opened());
//   editor.idle(3);
//   editor.close();                                       // or at the end of the scope
//
//   HostOwnParent parent(host());                         // the loaded plug-in, on a parent of
//   OpenEditor editor(plugin.record(), parent.handle());  // this program's own, vouched for
//   parent.click(554, 153);
// A Linux host's own X11 window is X11HostWindow, beside the private X server it lives on.
// Thread: the test's main thread, which is the editor's UI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "plugin_host.h"
#include "support/file_contents.h"
#include "ui/bitmap.h"
#include "ui/frame_driver.h"
#include "ui/offscreen_parent.h"
#include "ui/view.h"
#include "vst/aeffect.h"

#ifdef _WIN32
#include <windows.h>

#include "keyboard_input.h"
#endif

// One editor session: effEditOpen on the parent when made, effEditClose when it ends unless the
// test closed the editor itself. What effEditOpen answered is kept: a refused open is a session
// too (a host goes on idling and closing after one).
class OpenEditor {
public:
    explicit OpenEditor(AEffect *effect, void *parent = sharedParentWindow().handle()) : effect(effect)
    {
        answer = dispatch(effEditOpen, parent);
    }
    ~OpenEditor()
    {
        if (opened())
            close();
    }
    OpenEditor(const OpenEditor &) = delete;
    OpenEditor &operator=(const OpenEditor &) = delete;

    // effEditOpen's answer: 1 when the editor opened.
    VstIntPtr openAnswer() const { return answer; }
    bool opened() const { return answer == 1; }
    void idle(int times = 1)
    {
        for (int i = 0; i < times; ++i)
            dispatch(effEditIdle);
    }
    // effEditClose, whether the editor opened or not, as a host may send it.
    void close()
    {
        dispatch(effEditClose);
        answer = 0;
    }
    // The editor went without an effEditClose (the host closed the effect with the editor open,
    // or the test deleted the editor): the session sends nothing more.
    void editorGone() { answer = 0; }

private:
    VstIntPtr dispatch(VstInt32 opcode, void *ptr = nullptr)
    {
        return effect->dispatcher(effect, opcode, 0, 0, ptr, 0.f);
    }

    AEffect *effect;
    VstIntPtr answer = 0;
};

// The parent a host program makes for the loaded plug-in's editor itself and vouches for while it
// lives (so that the frame on it answers picture requests): the test program's shared window on
// Windows, an offscreen parent elsewhere. Input reaches the frame on it as each system delivers
// it: window messages on Windows, the offscreen parent's entry points elsewhere.
class HostOwnParent {
public:
    // host: the host to vouch to while the parent lives; none when the test vouches itself
    // (a parent that outlives the libraries it is shown to).
    explicit HostOwnParent(PluginHost *host = nullptr) : host(host)
    {
        if (host)
            host->vouchForParent(handle());
    }
    explicit HostOwnParent(PluginHost &host) : HostOwnParent(&host) {}
    ~HostOwnParent()
    {
        if (host)
            host->withdrawParent(handle());
    }
    HostOwnParent(const HostOwnParent &) = delete;
    HostOwnParent &operator=(const HostOwnParent &) = delete;

#ifdef _WIN32
    void *handle() { return sharedParentWindow().handle(); }
    bool frameAttached() { return frame() != nullptr; }
    void press(int x, int y) { SendMessageW(frame(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void move(int x, int y) { SendMessageW(frame(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
    void release(int x, int y) { SendMessageW(frame(), WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    bool type(const std::string &text) { return typeIntoEditBox(frame(), text); }
    bool key(const std::string &name) { return pressEditBoxKey(frame(), name); }
    // The class of the frame window while the editor is open.
    std::wstring frameClass()
    {
        wchar_t name[128] = {};
        if (HWND child = frame())
            GetClassNameW(child, name, 128);
        return name;
    }
    // What the open editor shows, decoded; null when no picture could be had.
    std::unique_ptr<VSTGUI::CBitmap> picture(const std::string &file)
    {
        const HWND child = frame();
        if (!child || !host ||
            SendMessageW(child, RegisterWindowMessageW(kFramePictureMessage), (WPARAM)host->parentCookie(),
                         reinterpret_cast<LPARAM>(file.c_str())) != 1)
            return nullptr;
        return decoded(file);
    }

private:
    HWND frame() { return GetWindow(static_cast<HWND>(handle()), GW_CHILD); }
#else
    void *handle() { return &offscreen; }
    bool frameAttached() { return offscreen.frame != nullptr; }
    void press(int x, int y) { offscreen.mouseDown(offscreen.frame, x, y, VSTGUI::kLButton); }
    void move(int x, int y) { offscreen.mouseMoved(offscreen.frame, x, y, VSTGUI::kLButton); }
    void release(int x, int y, int buttons = VSTGUI::kLButton) { offscreen.mouseUp(offscreen.frame, x, y, buttons); }
    bool type(const std::string &text) { return offscreen.typeText(offscreen.textInput, text.c_str()) == 1; }
    bool key(const std::string &name)
    {
        return offscreen.pressKey(offscreen.textInput, name == "enter" ? kOffscreenKeyEnter : kOffscreenKeyEscape) == 1;
    }
    std::unique_ptr<VSTGUI::CBitmap> picture(const std::string &file)
    {
        if (!offscreen.frame || offscreen.writePicture(offscreen.frame, file.c_str()) != 1)
            return nullptr;
        return decoded(file);
    }

private:
    OffscreenParent offscreen;
#endif
public:
    void click(int x, int y)
    {
        press(x, y);
        release(x, y);
    }
    void drag(int x1, int y1, int x2, int y2)
    {
        press(x1, y1);
        move(x2, y2);
        release(x2, y2);
    }
    // Clicks a text field open, types and commits with Enter.
    bool enter(int x, int y, const std::string &text)
    {
        click(x, y);
        return type(text) && key("enter");
    }

private:
    static std::unique_ptr<VSTGUI::CBitmap> decoded(const std::string &file)
    {
        const std::string png = fileContents(file);
        if (png.empty())
            return nullptr;
        return std::make_unique<VSTGUI::CBitmap>(reinterpret_cast<const unsigned char *>(png.data()), png.size());
    }

    PluginHost *host;
};

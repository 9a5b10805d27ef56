// What the host hears from the editor of the loaded plug-in: begin edit, automate and end edit
// only for the 64 parameters the plug-in announces. A typed trim or frequency is the gesture of
// the parameter it writes; commands, settings and the label stay inside the plug-in.
#include <algorithm>
#include <string>
#include <vector>

#include "params/parameter_table.h"
#include "loaded_plugin.h"
#include "ui/control.h"

#ifdef _WIN32
#include <windows.h>

#include "keyboard_input.h"
#include "ui/frame_driver.h"
#else
#include "ui/offscreen_parent.h"
#endif

namespace {

using VSTGUI::kLButton;

// The loaded plug-in's editor as a host shows it: a window of the test program on Windows, a
// parent the host vouches for elsewhere; input the way each delivers it.
class LoadedEditor {
public:
    explicit LoadedEditor(PluginHost &host) : host(host)
    {
#ifndef _WIN32
        host.vouchForParent(&parent);
#endif
    }
    ~LoadedEditor()
    {
#ifndef _WIN32
        host.withdrawParent(&parent);
#endif
    }
#ifdef _WIN32
    void *handle() { return sharedParentWindow().handle(); }
    bool open() { return frame() != nullptr; }
    void press(int x, int y) { SendMessageW(frame(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void move(int x, int y) { SendMessageW(frame(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
    void release(int x, int y) { SendMessageW(frame(), WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    bool type(const std::string &text) { return typeIntoEditBox(frame(), text); }
    bool key(const std::string &name) { return pressEditBoxKey(frame(), name); }

private:
    HWND frame() { return GetWindow(static_cast<HWND>(handle()), GW_CHILD); }
#else
    void *handle() { return &parent; }
    bool open() { return parent.frame != nullptr; }
    void press(int x, int y) { parent.mouseDown(parent.frame, x, y, kLButton); }
    void move(int x, int y) { parent.mouseMoved(parent.frame, x, y, kLButton); }
    void release(int x, int y) { parent.mouseUp(parent.frame, x, y, kLButton); }
    bool type(const std::string &text) { return parent.typeText(parent.textInput, text.c_str()) == 1; }
    bool key(const std::string &name)
    {
        return parent.pressKey(parent.textInput, name == "enter" ? kOffscreenKeyEnter : kOffscreenKeyEscape) == 1;
    }

private:
    OffscreenParent parent;
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
    PluginHost &host;
};

struct Notification {
    VstInt32 opcode, index;
    bool operator==(const Notification &other) const { return opcode == other.opcode && index == other.index; }
};

std::ostream &operator<<(std::ostream &out, const Notification &n)
{
    return out << (n.opcode == audioMasterBeginEdit ? "begin "
                   : n.opcode == audioMasterEndEdit ? "end "
                                                    : "automate ")
               << n.index;
}

using HostNotificationsTest = LoadedPluginTest;

TEST_F(HostNotificationsTest, TheHostHearsOnlyOfItsParametersAndTypedValuesAsTheirOwnGestures)
{
    PluginInstance plugin(host());
    for (VstInt32 index : {kProcess, kStrips, kShowFlt, kShowLbl})
        plugin.setParameter(index, 1.f);
    LoadedEditor editor(host());
    ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, editor.handle()), 1);
    ASSERT_TRUE(editor.open());
    plugin.dispatch(effEditIdle);
    auto notifications = [&] {
        std::vector<Notification> heard;
        for (const HostEvent &e : host().events())
            if (e.opcode == audioMasterBeginEdit || e.opcode == audioMasterEndEdit || e.opcode == audioMasterAutomate)
                heard.push_back({e.opcode, e.index});
        host().clearEvents();
        return heard;
    };
    auto gestureOf = [](VstInt32 index) {
        return std::vector<Notification>{
            {audioMasterBeginEdit, index}, {audioMasterAutomate, index}, {audioMasterEndEdit, index}};
    };
    host().clearEvents();

    ASSERT_TRUE(editor.enter(554, 153, "5"));  // the trim field
    EXPECT_EQ(notifications(), gestureOf(kTrim));
    EXPECT_EQ(plugin.getParameter(kTrim), 0.625f);
    ASSERT_TRUE(editor.enter(45 + 20, 169 + 7, "200"));  // the high-pass field, at 20 Hz
    EXPECT_EQ(notifications(), gestureOf(kHPFreq));
    EXPECT_EQ(plugin.text(effGetParamDisplay, kHPFreq), "200");
    ASSERT_TRUE(editor.enter(310 + 144 + 20, 169 + 7, "3k"));  // the low-pass field, at 30 kHz
    EXPECT_EQ(notifications(), gestureOf(kLPFreq));
    EXPECT_EQ(plugin.text(effGetParamDisplay, kLPFreq), "3k");

    // The label reaches the effect (and its chunk) without a word to the host.
    ASSERT_TRUE(editor.enter(200, 222 + 15, "Drums"));
    EXPECT_EQ(notifications(), std::vector<Notification>());
    const std::vector<unsigned char> chunk = plugin.getChunk();
    const std::string label = "Drums";
    EXPECT_NE(std::search(chunk.begin(), chunk.end(), label.begin(), label.end()), chunk.end());

    // The settings panel (65) with a drag of its reference knob (83), a click on a meter (67).
    const float reference = plugin.getParameter(kTagVUReference);
    editor.click(270, 155);
    editor.drag(45, 56, 45 + (reference > 0.5f ? -50 : 50), 56);
    EXPECT_NE(plugin.getParameter(kTagVUReference), reference);
    editor.click(330, 150);
    editor.click(140, 80);
    EXPECT_EQ(notifications(), std::vector<Notification>());

    // A host parameter's control still tells the host.
    editor.click(552, 7);  // Process
    EXPECT_EQ(notifications(), gestureOf(kProcess));
    plugin.dispatch(effEditClose);
    plugin.setParameter(kTagVUReference, reference);
}

}  // namespace

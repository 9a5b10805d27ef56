// What the host hears from the editor of the loaded plug-in: begin edit, automate and end edit
// only for the 64 parameters the plug-in announces. A typed trim or frequency is the gesture of
// the parameter it writes; commands, settings and the label stay inside the plug-in.
#include <algorithm>
#include <string>
#include <vector>

#include "params/parameter_table.h"
#include "loaded_plugin.h"
#include "support/open_editor.h"
#include "ui/control.h"

namespace {

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
    HostOwnParent parent(host());
    OpenEditor editor(plugin.record(), parent.handle());
    ASSERT_EQ(editor.openAnswer(), 1);
    ASSERT_TRUE(parent.frameAttached());
    editor.idle();
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

    ASSERT_TRUE(parent.enter(554, 153, "5"));  // the trim field
    EXPECT_EQ(notifications(), gestureOf(kTrim));
    EXPECT_EQ(plugin.getParameter(kTrim), 0.625f);
    ASSERT_TRUE(parent.enter(45 + 20, 169 + 7, "200"));  // the high-pass field, at 20 Hz
    EXPECT_EQ(notifications(), gestureOf(kHPFreq));
    EXPECT_EQ(plugin.text(effGetParamDisplay, kHPFreq), "200");
    ASSERT_TRUE(parent.enter(310 + 144 + 20, 169 + 7, "3k"));  // the low-pass field, at 30 kHz
    EXPECT_EQ(notifications(), gestureOf(kLPFreq));
    EXPECT_EQ(plugin.text(effGetParamDisplay, kLPFreq), "3k");

    // The label reaches the effect (and its chunk) without a word to the host.
    ASSERT_TRUE(parent.enter(200, 222 + 15, "Drums"));
    EXPECT_EQ(notifications(), std::vector<Notification>());
    const std::vector<unsigned char> chunk = plugin.getChunk();
    const std::string label = "Drums";
    EXPECT_NE(std::search(chunk.begin(), chunk.end(), label.begin(), label.end()), chunk.end());

    // The settings panel (65) with a drag of its reference knob (83), a click on a meter (67).
    const float reference = plugin.getParameter(kTagVUReference);
    parent.click(270, 155);
    parent.drag(45, 56, 45 + (reference > 0.5f ? -50 : 50), 56);
    EXPECT_NE(plugin.getParameter(kTagVUReference), reference);
    parent.click(330, 150);
    parent.click(140, 80);
    EXPECT_EQ(notifications(), std::vector<Notification>());

    // A host parameter's control still tells the host.
    parent.click(552, 7);  // Process
    EXPECT_EQ(notifications(), gestureOf(kProcess));
    editor.close();
    plugin.setParameter(kTagVUReference, reference);
}

}  // namespace

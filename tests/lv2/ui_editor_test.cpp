// The bundle's X11 UI as an LV2 host opens it: found through lilv, instantiated from the same
// binary as the plug-in with instance access to a running lilv instance, embedded in a real X11
// parent of a private X server, idled by the host. A click on the editor reaches the host through
// the write function as the port's plain value, inside ui:touch; a port event from the host moves
// the editor (its strips, and so its height); every height change reaches the host's ui:resize.
#include <gtest/gtest.h>

#include "controls/zoom_choice.h"
#include "editor_window.h"
#include "lv2/ui_host.h"
#include "support/private_x_server.h"

namespace {

class Lv2UiEditor : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(server.display, nullptr) << "no private X server";
        ASSERT_TRUE(writeZoomChoice(0)) << "Auto";  // the store is the test run's own
        ASSERT_NE(host.plugin, nullptr) << "lilv finds no plug-in in " ZEM_LV2_BUNDLE_DIR;
        ASSERT_NE(host.instance, nullptr);
        std::string error;
        ASSERT_TRUE(host.findUi(error)) << error;
        window = createX11EditorWindow(error);
        ASSERT_NE(window, nullptr) << error;
    }
    std::string port(const char *symbol) { return std::to_string(host.port(symbol)); }

    PrivateXServer server;
    DisplayVariable session{server.name};
    Lv2UiHost host;
    std::unique_ptr<HarnessEditorWindow> window;
};

TEST_F(Lv2UiEditor, OpensOnTheParentAndAClickWritesThePortInsideTouch)
{
    EXPECT_EQ(host.uiUri, std::string(ZEM_LV2_URI) + "#ui");
    ASSERT_TRUE(host.openUi(window->parentHandle(), {}));
    ASSERT_TRUE(window->attach()) << "the editor's window on the parent";
    EXPECT_NE(host.widget, nullptr) << "the widget is the editor's X11 window";
    EXPECT_EQ(host.record.calls, std::vector<std::string>({"resize 586 195"})) << "strips shown, both collapsed";
    EXPECT_EQ(host.idle(), 0);

    // The filter strip's show switch, at the right end of its collapsed row.
    host.record.calls.clear();
    window->press(579, 175, 1);
    window->release(579, 175, 1);
    const std::string showFilters = port("showflt");
    ASSERT_TRUE(host.idleUntil([&] { return host.record.count("touch " + showFilters + " 0") > 0; }))
        << "the click reached the editor through the host's idle";
    // The switch's gesture: touch, its value as the port's plain value (the on/off button sends
    // it at the press and again at the release, as a VST 2.4 host hears it), touch released.
    std::vector<std::string> edits;
    for (const std::string &call : host.record.calls)
        if (call.compare(0, 6, "resize") != 0)
            edits.push_back(call);
    ASSERT_GE(edits.size(), 3u);
    EXPECT_EQ(edits.front(), "touch " + showFilters + " 1");
    EXPECT_EQ(edits.back(), "touch " + showFilters + " 0");
    for (size_t i = 1; i + 1 < edits.size(); ++i)
        EXPECT_EQ(edits[i], "write " + showFilters + " 1.000000");
    ASSERT_TRUE(host.idleUntil([&] { return host.record.height > 195; })) << "the open filter strip";
    EXPECT_EQ(host.record.width, 586);
    EXPECT_LE(host.record.height, 261);
}

TEST_F(Lv2UiEditor, APortEventFromTheHostMovesTheEditor)
{
    ASSERT_TRUE(host.openUi(window->parentHandle(), {}));
    host.record.calls.clear();
    // The host's first word on a port is its value as the UI opens: after a state restore it
    // may differ from the effect's, which the restored state holds, and it moves nothing.
    host.portEvent(host.port("strips"), 0.f);
    for (int i = 0; i < 5; ++i)
        host.idle();
    EXPECT_TRUE(host.record.calls.empty()) << "an announcement is not a move";
    host.portEvent(host.port("strips"), 1.f);
    // The host's automation hides the strips: the editor follows and asks for 169 rows.
    host.portEvent(host.port("strips"), 0.f);
    ASSERT_TRUE(host.idleUntil([&] { return host.record.height == 169; }));
    EXPECT_EQ(host.record.count("write"), 0u) << "the host's own change is not written back";
    host.portEvent(host.port("strips"), 0.f);
    host.portEvent(host.port("strips"), 1.f);
    ASSERT_TRUE(host.idleUntil([&] { return host.record.height == 195; }));
    // Output ports and values in another format are not the editor's.
    host.portEvent(999, 1.f);
    EXPECT_EQ(host.idle(), 0);
}

TEST_F(Lv2UiEditor, TheHostsScaleFactorSizesTheEditorAtOpenAndThroughTheOptionsInterface)
{
    Lv2UiHost::Offer offer;
    offer.scaleFactor = 2.f;
    ASSERT_TRUE(host.openUi(window->parentHandle(), offer));
    EXPECT_EQ(host.record.width, 1172);
    EXPECT_EQ(host.record.height, 390);
    // A scale change while open, through opts:interface.
    auto *options = static_cast<const LV2_Options_Interface *>(host.descriptor->extension_data(LV2_OPTIONS__interface));
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(host.setScale(*options, 1.5f), (uint32_t)LV2_OPTIONS_SUCCESS);
    EXPECT_EQ(host.record.width, 879);
    EXPECT_EQ(host.record.height, 293);
    EXPECT_NE(host.setScale(*options, -1.f), (uint32_t)LV2_OPTIONS_SUCCESS) << "not a scale";
    EXPECT_EQ(host.record.width, 879);
}

TEST_F(Lv2UiEditor, WithoutInstanceAccessOrParentThereIsNoUiAndTheEffectHasOneEditor)
{
    Lv2UiHost::Offer noAccess;
    noAccess.instanceAccess = false;
    EXPECT_FALSE(host.openUi(window->parentHandle(), noAccess));
    Lv2UiHost::Offer noParent;
    noParent.parent = false;
    EXPECT_FALSE(host.openUi(window->parentHandle(), noParent));
    EXPECT_FALSE(window->attach()) << "nothing opened on the parent";

    // Without touch and resize the editor still opens and writes.
    Lv2UiHost::Offer bare;
    bare.touch = bare.resize = false;
    ASSERT_TRUE(host.openUi(window->parentHandle(), bare));
    LV2UI_Handle first = host.ui;
    host.ui = nullptr;
    EXPECT_FALSE(host.openUi(window->parentHandle(), {})) << "a second UI of the same instance";
    host.ui = first;
    host.closeUi();
    EXPECT_TRUE(host.openUi(window->parentHandle(), {})) << "after the first closed";
}

}  // namespace

// The Linux editor through the loaded plug-in, as a Linux host drives it: opened into the host's
// X11 window and closed again many times, and two instances with their editors open at once.
// The X server's own accounting (XRes) shows that nothing of ours stays behind.
#include "core/loaded_plugin.h"

#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>

#include <memory>

#include "support/open_editor.h"
#include "support/private_x_server.h"

namespace {

class X11EditorTest : public LoadedPluginTest {
protected:
    void SetUp() override
    {
        LoadedPluginTest::SetUp();
        ASSERT_NE(display, nullptr) << "no private Xvfb";
        parent = std::make_unique<X11HostWindow>(display, 0, 0, 586, 261);
    }
    int clients()
    {
        int count = 0;
        XResClient *list = nullptr;
        XResQueryClients(display, &count, &list);
        if (list)
            XFree(list);
        return count;
    }
    // The resources (windows, pixmaps, graphics contexts...) the server holds for this client.
    int ownResources()
    {
        int types = 0, total = 0;
        XResType *list = nullptr;
        XResQueryClientResources(display, parent->window, &types, &list);
        for (int i = 0; i < types; ++i)
            total += (int)list[i].count;
        if (list)
            XFree(list);
        return total;
    }

    PrivateXServer server;
    DisplayVariable session{server.name};
    Display *display = server.display;
    std::unique_ptr<X11HostWindow> parent;
};

TEST_F(X11EditorTest, FiveHundredOpenCloseCyclesLeaveNothingOnTheServer)
{
    PluginInstance plugin(host());
    const int clientsAtStart = clients();
    const int resourcesAtStart = ownResources();
    for (int cycle = 0; cycle < 500; ++cycle) {
        OpenEditor editor(plugin.record(), parent->handle());
        ASSERT_EQ(editor.openAnswer(), 1) << "cycle " << cycle;
        editor.idle();
        if (cycle == 0) {
            EXPECT_EQ(clients(), clientsAtStart + 1) << "the editor has a connection of its own";
            EXPECT_EQ(parent->children(), 1u);
        }
        editor.close();
    }
    EXPECT_EQ(clients(), clientsAtStart);
    EXPECT_EQ(ownResources(), resourcesAtStart);
    EXPECT_EQ(parent->children(), 0u);
}

TEST_F(X11EditorTest, TwoInstancesWithTheirEditorsOpenAtOnce)
{
    const X11HostWindow second(display, 600, 0, 586, 261);
    PluginInstance first(host()), other(host());
    OpenEditor firstEditor(first.record(), parent->handle());
    ASSERT_EQ(firstEditor.openAnswer(), 1);
    OpenEditor otherEditor(other.record(), second.handle());
    ASSERT_EQ(otherEditor.openAnswer(), 1);
    for (int i = 0; i < 5; ++i) {
        firstEditor.idle();
        otherEditor.idle();
    }
    EXPECT_EQ(parent->children(), 1u);
    EXPECT_EQ(second.children(), 1u);
    firstEditor.close();
    EXPECT_EQ(parent->children(), 0u);
    EXPECT_EQ(second.children(), 1u) << "closing one editor leaves the other";
    otherEditor.idle();
    otherEditor.close();
    EXPECT_EQ(second.children(), 0u);
}

}  // namespace

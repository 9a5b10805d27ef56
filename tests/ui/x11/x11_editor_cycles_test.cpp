// The Linux editor through the loaded plug-in, as a Linux host drives it: opened into the host's
// X11 window and closed again many times, and two instances with their editors open at once.
// The X server's own accounting (XRes) shows that nothing of ours stays behind.
#include "core/loaded_plugin.h"

#include <X11/Xlib.h>
#include <X11/extensions/XRes.h>

#include "support/private_x_server.h"

namespace {

class X11EditorTest : public LoadedPluginTest {
protected:
    void SetUp() override
    {
        LoadedPluginTest::SetUp();
        ASSERT_NE(display, nullptr) << "no private Xvfb";
        parentWindow = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 586, 261, 0, 0, 0);
        XMapWindow(display, parentWindow);
        XSync(display, False);
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
        XResQueryClientResources(display, parentWindow, &types, &list);
        for (int i = 0; i < types; ++i)
            total += (int)list[i].count;
        if (list)
            XFree(list);
        return total;
    }
    unsigned int children(Window window)
    {
        Window root = 0, parent = 0, *list = nullptr;
        unsigned int count = 0;
        XQueryTree(display, window, &root, &parent, &list, &count);
        if (list)
            XFree(list);
        return count;
    }
    void *id() const { return reinterpret_cast<void *>(static_cast<uintptr_t>(parentWindow)); }

    PrivateXServer server;
    DisplayVariable session{server.name};
    Display *display = server.display;
    Window parentWindow = 0;
};

TEST_F(X11EditorTest, FiveHundredOpenCloseCyclesLeaveNothingOnTheServer)
{
    PluginInstance plugin(host());
    const int clientsAtStart = clients();
    const int resourcesAtStart = ownResources();
    for (int cycle = 0; cycle < 500; ++cycle) {
        ASSERT_EQ(plugin.dispatch(effEditOpen, 0, 0, id()), 1) << "cycle " << cycle;
        plugin.dispatch(effEditIdle);
        if (cycle == 0) {
            EXPECT_EQ(clients(), clientsAtStart + 1) << "the editor has a connection of its own";
            EXPECT_EQ(children(parentWindow), 1u);
        }
        plugin.dispatch(effEditClose);
    }
    EXPECT_EQ(clients(), clientsAtStart);
    EXPECT_EQ(ownResources(), resourcesAtStart);
    EXPECT_EQ(children(parentWindow), 0u);
}

TEST_F(X11EditorTest, TwoInstancesWithTheirEditorsOpenAtOnce)
{
    Window second = XCreateSimpleWindow(display, DefaultRootWindow(display), 600, 0, 586, 261, 0, 0, 0);
    XMapWindow(display, second);
    XSync(display, False);
    PluginInstance first(host()), other(host());
    ASSERT_EQ(first.dispatch(effEditOpen, 0, 0, id()), 1);
    ASSERT_EQ(other.dispatch(effEditOpen, 0, 0, reinterpret_cast<void *>(static_cast<uintptr_t>(second))), 1);
    for (int i = 0; i < 5; ++i) {
        first.dispatch(effEditIdle);
        other.dispatch(effEditIdle);
    }
    EXPECT_EQ(children(parentWindow), 1u);
    EXPECT_EQ(children(second), 1u);
    first.dispatch(effEditClose);
    EXPECT_EQ(children(parentWindow), 0u);
    EXPECT_EQ(children(second), 1u) << "closing one editor leaves the other";
    other.dispatch(effEditIdle);
    other.dispatch(effEditClose);
    EXPECT_EQ(children(second), 0u);
}

}  // namespace

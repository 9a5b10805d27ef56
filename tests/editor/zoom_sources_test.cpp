// Where the editor's zoom factor comes from (the user's stored choice, the host's 'AeCs', the
// window's DPI, 100 %), and the size menu on the name plate, on a real effect with the product's
// parts and a real frame driven through its window entry points.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/zem_hint_control.h"
#include "controls/zoom_choice.h"
#include "controls/zoom_factor.h"
#include "core/templete.h"
#include "editor/editor_factory.h"
#include "editor/temeplete_editor.h"
#include "params/parameter_table.h"
#include "platform/defaults_store.h"
#include "support/recording_host.h"
#include "ui/frame_driver.h"
#include "ui/window_scale.h"
#ifdef _WIN32
#include <windows.h>
#else
#include <X11/Xatom.h>

#include <memory>

#include "support/private_x_server.h"
#endif

using namespace VSTGUI;

namespace {

using Lines = std::vector<std::string>;

TEST(ZoomFactor, SnapsToTheNearestFactorAndFallsBackTo100Percent)
{
    const double cases[][2] = {{1.0, 1.0},  {1.1, 1.0}, {1.2, 1.25},     {1.125, 1.0},    {1.4, 1.5}, {1.8, 1.75},
                               {2.2, 2.0},  {2.3, 2.5}, {2.76, 3.0},     {7.0, 3.0},      {0.3, 1.0}, {0.0, 1.0},
                               {-2.0, 1.0}, {NAN, 1.0}, {HUGE_VAL, 1.0}, {-HUGE_VAL, 1.0}};
    for (const auto &c : cases)
        EXPECT_EQ(snapZoomFactor(c[0]), c[1]) << c[0];
    ZoomSources sources;
    EXPECT_EQ(resolveZoomFactor(sources), 1.0);
    sources.window = 1.5;
    EXPECT_EQ(resolveZoomFactor(sources), 1.5);
    sources.host = 2.1;
    EXPECT_EQ(resolveZoomFactor(sources), 2.0) << "the host's factor before the window's";
    sources.chosen = 1.25;
    EXPECT_EQ(resolveZoomFactor(sources), 1.25) << "the user's choice before everything";
    sources = ZoomSources{NAN, -1, 2.5};
    EXPECT_EQ(resolveZoomFactor(sources), 2.5) << "a source without a positive number says nothing";
}

class ZoomSourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        writeZoomChoice(0);  // the suite's own store: Auto
        host.listen();
        effect = new Templete(RecordingHost::callback, createTemepleteEditor);
        editor = static_cast<TemepleteEditor *>(effect->getEditor());
        ASSERT_NE(editor, nullptr);
    }
    void TearDown() override
    {
        delete effect;
        RecordingHost::stopListening();
        writeZoomChoice(0);
    }
    VstIntPtr announce(float factor)
    {
        return effect->dispatcher(effVendorSpecific, kHostScaleIndex, kHostScaleValue, nullptr, factor);
    }
    std::string rectSize()
    {
        ERect *r = nullptr;
        effect->dispatcher(effEditGetRect, 0, 0, &r, 0.f);
        return r ? std::to_string(r->right - r->left) + "x" + std::to_string(r->bottom - r->top) : "none";
    }
    bool open(void *parent) { return effect->dispatcher(effEditOpen, 0, 0, parent, 0.f) == 1; }
    void idle() { effect->dispatcher(effEditIdle, 0, 0, nullptr, 0.f); }
    void setLayout(float strips, float showFlt, float showLbl)
    {
        effect->setParameter(kStrips, strips);
        effect->setParameter(kShowFlt, showFlt);
        effect->setParameter(kShowLbl, showLbl);
    }

    RecordingHost host;
    Templete *effect = nullptr;
    TemepleteEditor *editor = nullptr;
};

// The shared test parent: offscreen on Linux (no DPI), a window at the prefix's 96 DPI under Wine.
TEST_F(ZoomSourcesTest, TheHostsFactorBeforeAndAfterOpen)
{
    EXPECT_EQ(rectSize(), "586x195");
    EXPECT_EQ(announce(2.f), 1);
    EXPECT_EQ(rectSize(), "1172x390") << "the host asks the size before it opens the editor";
    ASSERT_TRUE(open(sharedParentWindow().handle()));
    EXPECT_EQ(editor->getFrame()->getZoom(), 2.0);
    EXPECT_EQ(rectSize(), "1172x390");
    host.sizeRequests.clear();
    EXPECT_EQ(announce(1.6f), 1);  // while open: the next idle follows it, snapped
    idle();
    EXPECT_EQ(editor->getFrame()->getZoom(), 1.5);
    EXPECT_EQ(host.sizeRequests, Lines({"879x293"}));
    idle();
    EXPECT_EQ(host.sizeRequests.size(), 1u) << "the same factor asks nothing again";
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
}

TEST_F(ZoomSourcesTest, AFactorThatIsNoPositiveNumberIsRefusedAndLeaves100Percent)
{
    for (float refused : {NAN, INFINITY, -INFINITY, 0.f, -1.5f})
        EXPECT_EQ(announce(refused), 0) << refused;
    EXPECT_EQ(rectSize(), "586x195");
    ASSERT_TRUE(open(sharedParentWindow().handle()));
    EXPECT_EQ(editor->getFrame()->getZoom(), 1.0);
    EXPECT_TRUE(host.sizeRequests.empty());
    // Another question through the same opcode is not the announcement.
    EXPECT_EQ(effect->dispatcher(effVendorSpecific, kHostScaleIndex, 0, nullptr, 2.f), 0);
    EXPECT_EQ(effect->dispatcher(effVendorSpecific, 0, kHostScaleValue, nullptr, 2.f), 0);
    idle();
    EXPECT_EQ(editor->getFrame()->getZoom(), 1.0);
}

TEST_F(ZoomSourcesTest, TheUsersStoredChoiceOverridesAuto)
{
    ASSERT_TRUE(writeZoomChoice(1.25));
    float stored = 0;
    ASSERT_TRUE(defaultsStoreRead(kZoomChoiceValueName, stored));
    EXPECT_EQ(stored, 1.25f);
    EXPECT_EQ(announce(2.f), 1);
    EXPECT_EQ(rectSize(), "733x244");
    ASSERT_TRUE(open(sharedParentWindow().handle()));
    EXPECT_EQ(editor->getFrame()->getZoom(), 1.25);
    announce(3.f);
    idle();
    EXPECT_EQ(editor->getFrame()->getZoom(), 1.25) << "the host's factor counts only in Auto";
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
    // Auto again (no value): the host's factor counts at the next open.
    ASSERT_TRUE(writeZoomChoice(0));
    EXPECT_FALSE(defaultsStoreRead(kZoomChoiceValueName, stored));
    EXPECT_EQ(rectSize(), "1758x585");
    // A value that is no positive number is no choice.
    ASSERT_TRUE(defaultsStoreWrite(kZoomChoiceValueName, NAN));
    EXPECT_EQ(readZoomChoice(), 0.0);
    ASSERT_TRUE(defaultsStoreWrite(kZoomChoiceValueName, 1.9f));
    EXPECT_EQ(readZoomChoice(), 2.0);
}

// The size menu, through the frame's window entry points: window pixels, the first whole one
// at or after the point in the views' coordinates.
class SizeMenuTest : public ZoomSourcesTest {
protected:
    void openEditor()
    {
        ASSERT_TRUE(open(sharedParentWindow().handle()));
        frame = editor->getFrame();
        ASSERT_NE(frame, nullptr);
    }
    void rightClick(double x, double y)
    {
        const double zoom = frame->getZoom();
        FrameDriver(frame).click(std::ceil(x * zoom), std::ceil(y * zoom), kRButton);
    }
    void leftClick(double x, double y)
    {
        const double zoom = frame->getZoom();
        FrameDriver(frame).click(std::ceil(x * zoom), std::ceil(y * zoom));
    }
    void hover(double x, double y)
    {
        const double zoom = frame->getZoom();
        FrameDriver(frame).move(std::ceil(x * zoom), std::ceil(y * zoom), 0);
    }
    std::string hintText() const
    {
        EditorFrontPanel *panel = editor->getPanel(MeterType(editor->getSelectedMeter()));
        CHelpHintLabel *label = panel ? panel->getHintLabel() : nullptr;
        return label ? label->getText() : "no hint line";
    }
    CPoint centreOf(int item) const
    {
        const CRect r = editor->getSizeMenu()->getItemRect(item);
        return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    CFrame *frame = nullptr;
};

TEST_F(SizeMenuTest, ARightClickOnTheNamePlateOpensItAndTheHintSaysSo)
{
    openEditor();
    hover(266, 7);
    EXPECT_EQ(hintText(), "Right-click to choose the editor size");
    hover(150, 80);
    EXPECT_EQ(hintText(), "");
    leftClick(266, 7);
    EXPECT_EQ(editor->getSizeMenu(), nullptr) << "a left click does not open it";
    rightClick(266, 7);
    CPopupMenu *menu = editor->getSizeMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getItemCount(), 8);
    EXPECT_EQ(menu->getMarked(), 0) << "Auto";
    const Lines items = EditorZoom::menuItems();
    EXPECT_EQ(items, Lines({"Auto", "100 %", "125 %", "150 %", "175 %", "200 %", "250 %", "300 %"}));
    // Hover highlights; a click outside closes without a choice.
    const CPoint item = centreOf(5);
    hover(item.x, item.y);
    EXPECT_EQ(menu->getHighlighted(), 5);
    hover(menu->getMenuRect().right + 20, item.y);
    EXPECT_EQ(menu->getHighlighted(), CPopupMenu::kNoChoice);
    leftClick(500, 100);
    EXPECT_EQ(editor->getSizeMenu(), nullptr);
    EXPECT_TRUE(host.sizeRequests.empty());
    // Escape (the host's key) closes it as well.
    rightClick(266, 7);
    ASSERT_NE(editor->getSizeMenu(), nullptr);
    VstKeyCode escape{0, 6, 0};  // VKEY_ESCAPE
    EXPECT_EQ(effect->dispatcher(effEditKeyDown, 0, escape.virt, nullptr, 0.f), 1);
    EXPECT_EQ(editor->getSizeMenu(), nullptr);
    float stored = 0;
    EXPECT_FALSE(defaultsStoreRead(kZoomChoiceValueName, stored));
    // Off the plate a right click opens nothing.
    rightClick(320, 7);
    rightClick(200, 80);
    EXPECT_EQ(editor->getSizeMenu(), nullptr);
}

TEST_F(SizeMenuTest, ChoosingAnItemStoresItAndResizesThroughTheHost)
{
    openEditor();
    rightClick(266, 7);
    ASSERT_NE(editor->getSizeMenu(), nullptr);
    CPoint item = centreOf(5);  // 200 %
    leftClick(item.x, item.y);
    EXPECT_EQ(editor->getSizeMenu(), nullptr);
    float stored = 0;
    ASSERT_TRUE(defaultsStoreRead(kZoomChoiceValueName, stored));
    EXPECT_EQ(stored, 2.f);
    EXPECT_EQ(frame->getZoom(), 2.0);
    EXPECT_EQ(host.sizeRequests, Lines({"1172x390"}));
    EXPECT_EQ(rectSize(), "1172x390");
    // At 200 % the plate is where it was in the views' coordinates; the mark is on 200 %.
    rightClick(266, 7);
    ASSERT_NE(editor->getSizeMenu(), nullptr);
    EXPECT_EQ(editor->getSizeMenu()->getMarked(), 5);
    // Auto: the value goes; the factor is Auto's, 100 % here.
    item = centreOf(0);
    host.sizeRequests.clear();
    leftClick(item.x, item.y);
    EXPECT_FALSE(defaultsStoreRead(kZoomChoiceValueName, stored));
    EXPECT_EQ(frame->getZoom(), 1.0);
    EXPECT_EQ(host.sizeRequests, Lines({"586x195"}));
    // Another instance opens at a choice made in this one.
    rightClick(266, 7);
    item = centreOf(2);  // 125 %
    leftClick(item.x, item.y);
    RecordingHost otherHost;
    Templete other(RecordingHost::callback, createTemepleteEditor);
    ERect *r = nullptr;
    other.dispatcher(effEditGetRect, 0, 0, &r, 0.f);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->right - r->left, 733);
}

TEST_F(SizeMenuTest, TheMenuLiesWithinTheWindowAtEveryHeightAndFactor)
{
    const float layouts[][3] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {1, 1, 0}, {1, 1, 1}};
    for (const auto &layout : layouts) {
        setLayout(layout[0], layout[1], layout[2]);
        openEditor();
        for (double factor : kZoomFactors) {
            editor->setZoomFactor(factor);
            const CRect window(0, 0, TemepleteEditor::kWidth, frame->getHeight());
            for (double x : {229.0, 266.0, 303.0})
                for (double y : {0.0, 13.0}) {
                    rightClick(x, y);
                    CPopupMenu *menu = editor->getSizeMenu();
                    ASSERT_NE(menu, nullptr) << x << "," << y << " at " << factor;
                    const CRect box = menu->getMenuRect();
                    EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= window.right &&
                                box.bottom <= window.bottom)
                        << "height " << window.bottom << " factor " << factor;
                    editor->getSizeMenu()->close();
                }
        }
        effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
        editor->setZoomFactor(1.0);
    }
}

#ifdef _WIN32
// Wine reads the screen's DPI (HKCU\Control Panel\Desktop, LogPixels) when a process starts and
// answers it for every window from GetDpiForWindow: the check runs in a child of this program,
// started after the run's own prefix is given 144 DPI. On Windows itself the test is skipped:
// it would change the user's setting.
bool underWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const char kDpiChildVariable[] = "ZEM_ZOOM_DPI_CHILD";

TEST(ZoomSourcesWindows, AParentAt144DpiGivesTheEditor150Percent)
{
    if (!underWine())
        GTEST_SKIP() << "changes the screen's DPI of the user";
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    DWORD old = 0, size = sizeof old;
    const bool hadOld = RegQueryValueExW(key, L"LogPixels", nullptr, nullptr, (BYTE *)&old, &size) == ERROR_SUCCESS;
    const DWORD dpi = 144;
    RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, (const BYTE *)&dpi, sizeof dpi);

    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command = std::wstring(L"\"") + program +
                           L"\" --gtest_color=no --gtest_filter=ZoomSourcesWindowsChild.*";
    SetEnvironmentVariableA(kDpiChildVariable, "1");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                        &process);
    SetEnvironmentVariableA(kDpiChildVariable, nullptr);
    DWORD exitCode = 1;
    if (started) {
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (hadOld)
        RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, (const BYTE *)&old, sizeof old);
    else
        RegDeleteValueW(key, L"LogPixels");
    RegCloseKey(key);
    ASSERT_TRUE(started);
    EXPECT_EQ(exitCode, 0u) << "the child at 144 DPI failed";
}

TEST(ZoomSourcesWindowsChild, TheEditorOpensAt150PercentOnA144DpiParent)
{
    if (!std::getenv(kDpiChildVariable))
        GTEST_SKIP() << "the child of ZoomSourcesWindows only";
    writeZoomChoice(0);
    TestParentWindow parent;
    EXPECT_EQ(platformWindowScale(parent.handle()), 1.5);
    RecordingHost host;
    host.listen();
    {
        Templete effect(RecordingHost::callback, createTemepleteEditor);
        ASSERT_EQ(effect.dispatcher(effEditOpen, 0, 0, parent.handle(), 0.f), 1);
        auto *editor = static_cast<TemepleteEditor *>(effect.getEditor());
        EXPECT_EQ(editor->getFrame()->getZoom(), 1.5);
        ERect *r = nullptr;
        effect.dispatcher(effEditGetRect, 0, 0, &r, 0.f);
        ASSERT_NE(r, nullptr);
        EXPECT_EQ(r->right - r->left, 879);
        effect.dispatcher(effEditIdle, 0, 0, nullptr, 0.f);
        EXPECT_EQ(editor->getFrame()->getZoom(), 1.5);
        effect.dispatcher(effEditClose, 0, 0, nullptr, 0.f);
        effect.dispatcher(effEditGetRect, 0, 0, &r, 0.f);
        EXPECT_EQ(r->right - r->left, 879) << "closed, the size of the window last opened on";
    }
    RecordingHost::stopListening();
}
#else
// The server's resource database, as a desktop's settings daemon leaves it on the root window.
void setResources(Display *display, const std::string &resources)
{
    XChangeProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char *>(resources.data()), (int)resources.size());
    XSync(display, False);
}

class ZoomSourcesX11 : public ZoomSourcesTest {
protected:
    void SetUp() override
    {
        unsetenv("GDK_SCALE");
        ZoomSourcesTest::SetUp();
        ASSERT_NE(display, nullptr) << "no private Xvfb";
        parent = std::make_unique<X11HostWindow>(display, 0, 0, 586, 261);
    }
    void TearDown() override
    {
        ZoomSourcesTest::TearDown();
        unsetenv("GDK_SCALE");
    }

    PrivateXServer server;
    DisplayVariable session{server.name};
    Display *display = server.display;
    std::unique_ptr<X11HostWindow> parent;
};

TEST_F(ZoomSourcesX11, XftDpi192GivesTheEditor200Percent)
{
    EXPECT_EQ(platformWindowScale(parent->handle()), 0.0) << "no resources, no GDK_SCALE";
    setResources(display, "Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n");
    EXPECT_EQ(platformWindowScale(parent->handle()), 2.0);
    ASSERT_TRUE(open(parent->handle()));
    EXPECT_EQ(editor->getFrame()->getZoom(), 2.0);
    EXPECT_EQ(rectSize(), "1172x390");
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
    EXPECT_EQ(rectSize(), "1172x390") << "closed, the size of the window last opened on";
    // Between two factors Auto takes the nearest: 120 DPI is 125 %.
    setResources(display, "Xft.dpi: 120\n");
    ASSERT_TRUE(open(parent->handle()));
    EXPECT_EQ(editor->getFrame()->getZoom(), 1.25);
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
}

TEST_F(ZoomSourcesX11, WithoutXftDpiGdkScaleCounts)
{
    setResources(display, "Xft.antialias:\t1\n");
    setenv("GDK_SCALE", "2", 1);
    EXPECT_EQ(platformWindowScale(parent->handle()), 2.0);
    setResources(display, "Xft.dpi:\t144\n");
    EXPECT_EQ(platformWindowScale(parent->handle()), 1.5) << "Xft.dpi before GDK_SCALE";
    setenv("GDK_SCALE", "x", 1);
    setResources(display, "");
    EXPECT_EQ(platformWindowScale(parent->handle()), 0.0);
    EXPECT_EQ(announce(1.75f), 1);
    setResources(display, "Xft.dpi:\t288\n");
    ASSERT_TRUE(open(parent->handle()));
    EXPECT_EQ(editor->getFrame()->getZoom(), 1.75) << "the host's factor before the window's";
    effect->dispatcher(effEditClose, 0, 0, nullptr, 0.f);
}
#endif

}  // namespace

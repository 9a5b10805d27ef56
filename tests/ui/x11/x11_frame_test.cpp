// The Linux editor window on a private X server, with input made by the server itself (XTest):
// what reaches the views, and when (at the frame's idle only); double-clicks, the wheel with
// Shift, the pointer grab of a drag, expose, focus; host windows that are invalid or vanish;
// a host that stops idling; two frames side by side; the in-place edit box.
// gtest first: Xlib defines None as a macro.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ui/bitmap.h"
#include "ui/draw_context.h"
#include "ui/font.h"
#include "ui/frame.h"
#include "ui/probe_view.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "support/private_x_server.h"
#include "ui/x11/x11_frame.h"

using namespace VSTGUI;
using Lines = std::vector<std::string>;

namespace {

// A host's top-level window on the private server.
Window hostWindow(Display *display, int x, int y, int width, int height)
{
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.event_mask = StructureNotifyMask;
    Window window = XCreateWindow(display, DefaultRootWindow(display), x, y, (unsigned)width, (unsigned)height, 0,
                                  CopyFromParent, InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask,
                                  &attributes);
    XMapRaised(display, window);
    XEvent event;
    do
        XWindowEvent(display, window, StructureNotifyMask, &event);
    while (event.type != MapNotify);
    return window;
}

void *idOf(Window window) { return reinterpret_cast<void *>(static_cast<uintptr_t>(window)); }

// A view of one colour, which the test changes.
class SolidView : public CView {
public:
    explicit SolidView(const CRect &size) : CView(size) {}
    void draw(CDrawContext *context) override
    {
        context->setFillColor(colour);
        context->drawRect(size, kDrawFilled);
        setDirty(false);
    }
    CColor colour = kBlackCColor;
};

// ZEM_X11_NO_SHM set (the picture's pixels go through the socket) or unset for one scope.
class SharedMemoryRefused {
public:
    explicit SharedMemoryRefused(bool refused)
    {
        if (refused)
            setenv("ZEM_X11_NO_SHM", "1", 1);
        else
            unsetenv("ZEM_X11_NO_SHM");
    }
    ~SharedMemoryRefused() { unsetenv("ZEM_X11_NO_SHM"); }
};

class X11FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(display, nullptr) << "no private Xvfb";
        host = hostWindow(display, 0, 0, 400, 300);
        frame = openFrame(host, a, b);
        ASSERT_TRUE(frame->isValid());
        frame->idle();
        log.clear();
    }
    void TearDown() override
    {
        if (frame)
            frame->forget();
    }

    // A 300 x 200 frame with view A at (10,10)-(110,110) and view B at (200,10)-(300,110).
    CFrame *openFrame(Window parent, ProbeView *&first, ProbeView *&second, const std::string &prefix = "")
    {
        auto *opened = new CFrame(CRect(0, 0, 300, 200), idOf(parent), nullptr);
        first = new ProbeView(CRect(10, 10, 110, 110), log, prefix + "A");
        second = new ProbeView(CRect(200, 10, 300, 110), log, prefix + "B");
        opened->addView(first);
        opened->addView(second);
        return opened;
    }
    void moveTo(int x, int y)
    {
        XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
        XSync(display, False);
    }
    void button(unsigned int which, bool down)
    {
        XTestFakeButtonEvent(display, which, down, CurrentTime);
        XSync(display, False);
    }
    void click(int x, int y, unsigned int which = 1)
    {
        moveTo(x, y);
        button(which, true);
        button(which, false);
    }
    void key(KeySym symbol, bool down)
    {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, symbol), down, CurrentTime);
        XSync(display, False);
    }
    void tap(KeySym symbol)
    {
        key(symbol, true);
        key(symbol, false);
    }
    Lines only(const std::string &word) const
    {
        Lines out;
        for (const auto &line : log)
            if (line.find(word) != std::string::npos)
                out.push_back(line);
        return out;
    }
    // The pixel the server shows at (x, y) of the frame's window, as 0xRRGGBB.
    unsigned long pixelAt(int x, int y, CFrame *of = nullptr)
    {
        Window window = (Window) reinterpret_cast<uintptr_t>((of ? of : frame)->getSystemWindow());
        XImage *image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return ~0ul;
        unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
        XDestroyImage(image);
        return pixel;
    }

    PrivateXServer server;
    DisplayVariable session{server.name};
    Display *display = server.display;
    Window host = 0;
    CFrame *frame = nullptr;
    ProbeView *a = nullptr, *b = nullptr;
    Lines log;
};

TEST_F(X11FrameTest, InputReachesTheViewsAtIdleWithButtonsModifiersAndTheWheel)
{
    moveTo(50, 50);
    key(XK_Shift_L, true);
    button(1, true);
    moveTo(60, 70);
    EXPECT_TRUE(log.empty()) << "nothing is handled before the host's idle";
    button(1, false);
    key(XK_Shift_L, false);
    button(4, true);
    button(4, false);
    key(XK_Shift_L, true);
    button(5, true);
    button(5, false);
    key(XK_Shift_L, false);
    moveTo(250, 50);
    click(250, 50, 3);
    click(250, 50, 2);
    frame->idle();
    // The pointer entering the window moves the mouse there; the wheel turns where the mouse is.
    EXPECT_EQ(only("A"), Lines({"A entered", "A moved 50,50", "A moved 50,50", "A down 50,50 shift",
                                "A moved 60,70 shift", "A up 60,70 shift", "A moved 60,70", "A wheel 10 60,70",
                                "A moved 60,70 shift", "A wheel -10 60,70 shift", "A exited"}));
    EXPECT_EQ(only("B down"), Lines({"B down 250,50 right", "B down 250,50"}));
}

TEST_F(X11FrameTest, ADoubleClickIsTheSameButtonSoonAndNearby)
{
    click(50, 50);
    click(52, 49);     // a double-click
    click(52, 49);     // a third click starts over
    click(52, 49, 3);  // another button
    click(70, 70);     // too far
    frame->idle();
    EXPECT_EQ(only("down"),
              Lines({"A down 50,50", "A down 52,49 double", "A down 52,49", "A down 52,49 right", "A down 70,70"}));
    log.clear();
    click(50, 50);
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    click(50, 50);  // too late
    frame->idle();
    EXPECT_EQ(only("down"), Lines({"A down 50,50", "A down 50,50"}));
}

TEST_F(X11FrameTest, ADragKeepsThePointerUntilTheRelease)
{
    moveTo(50, 50);
    button(1, true);
    frame->idle();
    // Outside the frame's window, over the host's: the view that was pressed still hears it.
    moveTo(350, 250);
    button(1, false);
    moveTo(360, 260);
    frame->idle();
    EXPECT_EQ(only("A"), Lines({"A entered", "A moved 50,50", "A moved 50,50", "A down 50,50", "A moved 350,250",
                                "A up 350,250", "A exited"}));
    EXPECT_EQ(XGrabPointer(display, host, False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime), GrabSuccess)
        << "the frame let go of the pointer";
    XUngrabPointer(display, CurrentTime);
}

TEST_F(X11FrameTest, ExposedAreasShowTheFramesPictureAgain)
{
    EXPECT_EQ(pixelAt(50, 50), 0xFF0000ul) << "view A draws red";
    // Another window over the frame and away again: the server asks for the area anew.
    Window cover = hostWindow(display, 0, 0, 200, 200);
    XDestroyWindow(display, cover);
    XSync(display, False);
    const int drawsBefore = a->draws;
    frame->idle();
    EXPECT_EQ(pixelAt(50, 50), 0xFF0000ul);
    EXPECT_EQ(a->draws, drawsBefore) << "an exposed area is copied from the picture, not drawn again";
}

// Where the server offers shared memory the picture lives there and the copies name only their
// areas; refused, the pixels go through the socket. Either way every idle shows the new picture,
// and so does a window made larger.
TEST_F(X11FrameTest, EveryIdleShowsTheNewPictureFromSharedMemoryOrThroughTheSocket)
{
    for (bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "refused" : "shared");
        SharedMemoryRefused environment(refused);
        Window parent = hostWindow(display, 0, 250, 400, 300);
        auto *opened = new CFrame(CRect(0, 0, 300, 200), idOf(parent), nullptr);
        auto *view = new SolidView(CRect(0, 0, 300, 200));
        opened->addView(view);
        ASSERT_TRUE(opened->isValid());
        auto *platform = static_cast<X11PlatformFrame *>(opened->getPlatformFrame());
        EXPECT_EQ(platform->sharesMemoryWithServer(), !refused);
        for (int step = 0; step < 24; ++step) {
            view->colour = CColor((uint8_t)(step * 10), (uint8_t)(255 - step * 10), (uint8_t)(step * 7), 255);
            // A small area changed at first, the whole view from the twelfth step on.
            if (step < 12)
                view->invalidRect(CRect(100, 50, 140, 90));
            else
                view->invalid();
            opened->idle();
            const unsigned long expected = (unsigned long)view->colour.red << 16 |
                                           (unsigned long)view->colour.green << 8 | view->colour.blue;
            EXPECT_EQ(pixelAt(120, 70, opened), expected) << "step " << step;
            if (step >= 12) {
                EXPECT_EQ(pixelAt(299, 199, opened), expected) << "step " << step;
            }
        }
        ASSERT_TRUE(opened->setSize(360, 240));
        view->setViewSize(CRect(0, 0, 360, 240));
        view->colour = kBlueCColor;
        opened->idle();
        EXPECT_EQ(platform->sharesMemoryWithServer(), !refused) << "the larger picture is shared too";
        EXPECT_EQ(pixelAt(359, 239, opened), 0x0000FFul);
        opened->forget();
        XDestroyWindow(display, parent);
        XSync(display, False);
    }
}

TEST_F(X11FrameTest, AHostThatStopsIdlingLosesNoInputAndClosesAtOnce)
{
    for (int i = 0; i < 20; ++i) {
        click(30 + i, 40);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a second without idle
    }
    frame->idle();
    EXPECT_EQ(only("down").size(), 20u);
    EXPECT_EQ(only("up").size(), 20u);
    // Input still queued when the host closes: closing neither waits for it nor handles it.
    click(60, 60);
    click(250, 60);
    const size_t before = log.size();
    frame->forget();
    frame = nullptr;
    EXPECT_EQ(log.size(), before);
}

TEST_F(X11FrameTest, AnInvalidOrVanishedHostWindowNeverReachesTheHostsErrorHandler)
{
    static int hostErrors = 0;
    XErrorHandler previous = XSetErrorHandler([](Display *, XErrorEvent *) {
        ++hostErrors;
        return 0;
    });
    ProbeView *x = nullptr, *y = nullptr;
    CFrame *refused = openFrame(0x3ffff01, x, y);
    EXPECT_FALSE(refused->isValid()) << "a made-up window id";
    refused->forget();
    // The host destroys its window, and the frame's with it, before closing the editor.
    XDestroyWindow(display, host);
    XSync(display, False);
    frame->idle();
    frame->invalid();
    frame->idle();
    frame->forget();
    frame = nullptr;
    EXPECT_EQ(hostErrors, 0);
    // The host's own errors still reach the host's handler.
    XMapWindow(display, 0x3ffff02);
    XSync(display, False);
    EXPECT_EQ(hostErrors, 1);
    XSetErrorHandler(previous);
}

TEST_F(X11FrameTest, TwoFramesSideBySideHearOnlyTheirOwnInput)
{
    Window otherHost = hostWindow(display, 400, 0, 300, 200);
    ProbeView *c = nullptr, *d = nullptr;
    CFrame *other = openFrame(otherHost, c, d, "other ");
    ASSERT_TRUE(other->isValid());
    other->idle();
    log.clear();
    click(50, 50);
    click(450, 50);
    click(250, 50);
    other->idle();
    frame->idle();
    EXPECT_EQ(only("down"), Lines({"other A down 50,50", "A down 50,50", "B down 250,50"}));
    other->forget();
}

class TextEditOwner : public IPlatformTextEditCallback {
public:
    void platformTextEditChanged(const std::string &text) override { log.push_back("change " + text); }
    // A picture of the field in one colour, when the owner has one.
    CBitmap *platformTextEditBackground(const CRect &rect) override
    {
        ++backgroundsAsked;
        if (!fieldColour)
            return nullptr;
        auto *picture = new CBitmap(rect.getWidth(), rect.getHeight());
        CDrawContext *context = createBitmapDrawContext(picture);
        context->setFillColor(*fieldColour);
        context->drawRect(CRect(0, 0, rect.getWidth(), rect.getHeight()), kDrawFilled);
        context->forget();
        return picture;
    }
    void platformTextEditCommitted(const std::string &text) override { done("commit " + text); }
    void platformTextEditCancelled() override { done("cancel"); }
    void platformTextEditLostFocus(const std::string &text) override { done("focus lost " + text); }
    void done(const std::string &what)
    {
        log.push_back(what);
        edit.reset();  // owners release the edit while it reports
    }
    Lines log;
    std::unique_ptr<IPlatformTextEdit> edit;
    std::unique_ptr<CColor> fieldColour;
    int backgroundsAsked = 0;
};

class X11TextEditTest : public X11FrameTest {
protected:
    void open(const std::string &text)
    {
        style.rect = CRect(120, 20, 190, 40);
        style.text = text;
        style.font = kNormalFontSmaller;
        owner.edit = frame->getPlatformFrame()->createTextEdit(&owner, style);
        ASSERT_TRUE(owner.edit);
        frame->idle();
    }
    void type(const std::vector<KeySym> &keys)
    {
        for (KeySym k : keys)
            tap(k);
        frame->idle();
    }
    PlatformTextEditStyle style;
    TextEditOwner owner;
};

TEST_F(X11TextEditTest, TypingReplacesTheSelectedTextAndTheEditingKeysWork)
{
    open("0.0");
    type({XK_minus, XK_3, XK_period, XK_5});
    EXPECT_EQ(owner.edit->getText(), "-3.5") << "the whole text is selected when the box opens";
    type({XK_BackSpace, XK_Home, XK_Delete, XK_End, XK_0});
    EXPECT_EQ(owner.edit->getText(), "3.0");
    key(XK_Shift_L, true);
    type({XK_Left, XK_Left});
    key(XK_Shift_L, false);
    type({XK_2});
    EXPECT_EQ(owner.edit->getText(), "32");
    type({XK_Left, XK_1, XK_Right, XK_Right, XK_4});
    EXPECT_EQ(owner.edit->getText(), "3124");
    type({XK_Return});
    EXPECT_EQ(owner.log, Lines({"change -", "change -3", "change -3.", "change -3.5", "change -3.", "change 3.",
                                "change 3.0", "change 32", "change 312", "change 3124", "commit 3124"}))
        << "every keystroke that changes the text is reported; moving the caret is not";
    EXPECT_EQ(owner.edit, nullptr);
    type({XK_5});  // no box: the key goes nowhere
    EXPECT_EQ(owner.log.size(), 11u);
}

TEST_F(X11TextEditTest, TabCommitsEscapeCancelsAndLeavingCommits)
{
    open("1k");
    type({XK_2, XK_Tab});
    open("1k");
    type({XK_2, XK_Escape});
    // A press beside the box commits before the press acts.
    open("1k");
    type({XK_End, XK_5});
    click(50, 50);
    frame->idle();
    // The window losing the keyboard focus commits.
    open("7");
    XSetInputFocus(display, host, RevertToParent, CurrentTime);
    XSync(display, False);
    frame->idle();
    EXPECT_EQ(owner.log,
              Lines({"change 2", "commit 2", "change 2", "cancel", "change 1k5", "focus lost 1k5", "focus lost 7"}));
    EXPECT_EQ(only("A down"), Lines({"A down 50,50"}));
}

TEST_F(X11TextEditTest, APressInsideTheBoxPlacesTheCaretAndTheBoxIsDrawnOverTheField)
{
    open("12345");
    const unsigned long before = pixelAt(185, 30);
    moveTo(121, 30);
    button(1, true);
    button(1, false);
    type({XK_0});
    EXPECT_EQ(owner.edit->getText(), "012345");
    EXPECT_TRUE(log.empty()) << "the frame's views do not hear presses in the box";
    // The box is drawn over the frame: without a picture of the field, in the style's back colour.
    EXPECT_EQ(before, 0xFFFFFFul) << "the frame is black there";
    type({XK_Escape});
}

TEST_F(X11TextEditTest, TheBoxTakesAtMostItsLengthAndShowsTheFieldsPictureElseItsBackColour)
{
    style.maxBytes = 3;
    open("");
    type({XK_1, XK_2, XK_3, XK_4});
    EXPECT_EQ(owner.edit->getText(), "123");
    EXPECT_EQ(owner.log, Lines({"change 1", "change 12", "change 123"})) << "a full box takes no more";
    type({XK_Escape});

    // No picture of the field: the style's back colour, under the box only.
    style.maxBytes = 255;
    style.backColor = CColor(0, 0, 255, 255);
    open("1");
    EXPECT_EQ(pixelAt(186, 22), 0x0000FFul);
    EXPECT_EQ(pixelAt(195, 22), 0ul) << "beside the box the frame shows through";
    type({XK_Escape});
    // The field's picture, asked for again whenever the box is drawn (a field may move under it).
    owner.fieldColour = std::make_unique<CColor>(0, 255, 0, 255);
    open("1");
    EXPECT_EQ(pixelAt(186, 22), 0x00FF00ul);
    const int asked = owner.backgroundsAsked;
    type({XK_2});
    EXPECT_GT(owner.backgroundsAsked, asked);
    type({XK_Escape});
    EXPECT_EQ(pixelAt(186, 22), 0ul) << "a closed box leaves the frame's own picture";
}

TEST_F(X11TextEditTest, ThePressThatOpensTheBoxIsNoDragInIt)
{
    // A field opens its box on the press; the pointer moves on before the button comes up.
    moveTo(130, 30);
    button(1, true);
    frame->idle();
    open("12345");
    moveTo(121, 30);  // before the text's first character
    frame->idle();
    button(1, false);
    type({XK_0});
    EXPECT_EQ(owner.edit->getText(), "0") << "the whole text stays selected";
    // A drag that starts inside the box selects there.
    moveTo(121, 30);
    button(1, true);
    moveTo(189, 30);
    button(1, false);
    type({XK_7});
    EXPECT_EQ(owner.edit->getText(), "7");
    type({XK_Escape});
}

TEST_F(X11TextEditTest, AtAZoomTheWindowShowsEveryViewLargerAndTheBoxOnItsScaledRect)
{
    ASSERT_TRUE(frame->setZoom(2.0));
    frame->idle();
    EXPECT_EQ(pixelAt(20, 20), 0xFF0000ul) << "A's corner (10,10) at twice the size";
    EXPECT_EQ(pixelAt(219, 219), 0xFF0000ul);
    EXPECT_EQ(pixelAt(19, 19), 0ul);
    click(100, 100);
    frame->idle();
    EXPECT_EQ(only("A down"), Lines({"A down 50,50"})) << "window pixels divided by the zoom";

    // The box at (120,20)-(190,40) lies on (240,40)-(380,80) and takes presses there.
    style.backColor = CColor(0, 0, 255, 255);
    open("12345");
    EXPECT_EQ(owner.edit->getStyle().zoom, 2.0);
    EXPECT_EQ(pixelAt(372, 44), 0x0000FFul);
    EXPECT_EQ(pixelAt(385, 44), 0ul) << "beside the box the frame shows through";
    log.clear();
    click(242, 60);  // before the text's first character
    frame->idle();
    type({XK_0});
    EXPECT_EQ(owner.edit->getText(), "012345");
    EXPECT_TRUE(only("down").empty() && only("up").empty()) << "the frame's views do not hear presses in the box";
    type({XK_Escape});
    EXPECT_EQ(pixelAt(372, 44), 0ul) << "a closed box leaves the frame's own picture";
}

}  // namespace

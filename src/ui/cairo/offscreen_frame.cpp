#include "offscreen_frame.h"

#include <atomic>
#include <chrono>

#include "cairo_draw_context.h"
#include "offscreen_text_edit.h"
#include "ui/offscreen_parent.h"

namespace VSTGUI {

namespace {

IPlatformFrameCallback *callbackOf(void *frame) { return static_cast<IPlatformFrameCallback *>(frame); }

// The parent as a record to write to, only when its address is a known offscreen parent.
OffscreenParent *hostParent(void *parent)
{
    return isRegisteredOffscreenParent(parent) ? static_cast<OffscreenParent *>(parent) : nullptr;
}

// Every entry point a host program calls ends an exception here, as a window procedure would.
template <typename Call> int guarded(Call call)
{
    try {
        return call();
    } catch (...) {
        return 0;
    }
}

}  // namespace

OffscreenPlatformFrame::OffscreenPlatformFrame(IPlatformFrameCallback *frame, const CRect &size, void *parent)
    : frame(frame), parent(parent)
{
    setSize((int)size.getWidth(), (int)size.getHeight());
    if (OffscreenParent *host = hostParent(parent)) {
        host->frame = frame;
        host->mouseDown = [](void *f, double x, double y, int b) {
            return guarded([&] { return (int)callbackOf(f)->platformOnMouseDown(CPoint(x, y), CButtonState(b)); });
        };
        host->mouseUp = [](void *f, double x, double y, int b) {
            return guarded([&] { return (int)callbackOf(f)->platformOnMouseUp(CPoint(x, y), CButtonState(b)); });
        };
        host->mouseMoved = [](void *f, double x, double y, int b) {
            return guarded([&] { return (int)callbackOf(f)->platformOnMouseMoved(CPoint(x, y), CButtonState(b)); });
        };
        host->mouseExited = [](void *f) {
            return guarded([&] { return (int)callbackOf(f)->platformOnMouseExited(CPoint(), CButtonState()); });
        };
        host->wheel = [](void *f, double x, double y, float d, int b) {
            return guarded([&] { return (int)callbackOf(f)->platformOnWheel(CPoint(x, y), d, CButtonState(b)); });
        };
        host->writePicture = [](void *f, const char *path) {
            return guarded([&] { return callbackOf(f)->platformWritePicture(path) ? 1 : 0; });
        };
        host->textInput = this;
        host->typeText = [](void *input, const char *utf8) {
            return guarded([&] {
                OffscreenTextEdit *edit = static_cast<OffscreenPlatformFrame *>(input)->activeTextEdit();
                if (!edit || !utf8)
                    return 0;
                edit->type(utf8);
                return 1;
            });
        };
        host->pressKey = [](void *input, int key) {
            return guarded([&] {
                OffscreenTextEdit *edit = static_cast<OffscreenPlatformFrame *>(input)->activeTextEdit();
                if (!edit)
                    return 0;
                if (key == kOffscreenKeyEnter)
                    edit->pressReturn();
                else if (key == kOffscreenKeyTab)
                    edit->pressTab();
                else if (key == kOffscreenKeyEscape)
                    edit->pressEscape();
                else
                    return 0;
                return 1;
            });
        };
    }
}

OffscreenPlatformFrame::~OffscreenPlatformFrame()
{
    if (textEdit)
        textEdit->detachFromFrame();
    if (OffscreenParent *host = hostParent(parent))
        if (host->frame == frame) {
            host->frame = nullptr;
            host->textInput = nullptr;
        }
    delete surface;
}

void OffscreenPlatformFrame::invalidRect(const CRect &rect) { invalid.push_back(rect); }

void OffscreenPlatformFrame::redrawNow()
{
    if (!surface) {
        invalid.clear();
        return;
    }
    std::vector<CRect> rects;
    rects.swap(invalid);
    for (const CRect &r : rects) {
        CairoDrawContext context(surface->getSurface());
        context.clearRect(r);
        frame->platformDrawRect(&context, r);
    }
}

bool OffscreenPlatformFrame::setSize(int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    delete surface;
    surface = static_cast<CairoBitmap *>(createPlatformBitmap(width, height));
    invalid.clear();
    invalid.push_back(CRect(0, 0, width, height));
    return surface != nullptr;
}

bool OffscreenPlatformFrame::setParentSize(int width, int height)
{
    parentSize[0] = width;
    parentSize[1] = height;
    if (OffscreenParent *host = hostParent(parent)) {
        host->width = width;
        host->height = height;
    }
    return true;
}

namespace {
std::atomic<uint32_t (*)()> tickSource{nullptr};
}

void OffscreenPlatformFrame::setTickSource(uint32_t (*source)()) { tickSource.store(source); }

uint32_t OffscreenPlatformFrame::getTicks() const { return platformTickCount(); }

uint32_t platformTickCount()
{
    if (uint32_t(*source)() = tickSource.load())
        return source();
    using namespace std::chrono;
    return (uint32_t)duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool OffscreenPlatformFrame::takeFocus()
{
    focused = true;
    // The frame's window taking the focus takes it from the edit box, as a click beside it does.
    if (OffscreenTextEdit *edit = textEdit)
        edit->loseFocus();
    return true;
}

std::unique_ptr<IPlatformTextEdit> OffscreenPlatformFrame::createTextEdit(IPlatformTextEditCallback *owner,
                                                                          const PlatformTextEditStyle &style)
{
    if (!owner)
        return nullptr;
    if (OffscreenTextEdit *previous = textEdit)
        previous->loseFocus();
    PlatformTextEditStyle zoomed(style);
    zoomed.zoom = zoom;
    auto edit = std::make_unique<OffscreenTextEdit>(this, owner, zoomed);
    textEdit = edit.get();
    return edit;
}

void OffscreenPlatformFrame::textEditGone(OffscreenTextEdit *edit)
{
    if (textEdit == edit)
        textEdit = nullptr;
}

}  // namespace VSTGUI

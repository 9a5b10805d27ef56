#include "gdiplus_session.h"

#include "gdiplus_draw_context.h"

namespace VSTGUI {

namespace {
// Plain values: nothing to construct or destroy when the module loads or unloads.
ULONG_PTR token = 0;
bool running = false;
int references = 0;
int starts = 0;

bool start()
{
    if (running)
        return true;
    Gdiplus::GdiplusStartupInput input;
    running = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    if (running)
        ++starts;
    return running;
}
}  // namespace

bool acquireGdiplus()
{
    if (!start())
        return false;
    ++references;
    return true;
}

void releaseGdiplus()
{
    if (references <= 0 || --references > 0)
        return;
    releaseGdiplusFonts();
    Gdiplus::GdiplusShutdown(token);
    running = false;
}

bool requireGdiplus() { return start(); }

bool gdiplusRunning() { return running; }
int gdiplusStartCount() { return starts; }

}  // namespace VSTGUI

#include "controls/zem_tape_label.h"

#include "params/parameter_table.h"
#include "controls/image_numbers.h"
#include "controls/zem_custom_font.h"
#include "ui/bitmap.h"
#include "ui/draw_context.h"
#include "ui/frame.h"

using namespace VSTGUI;

CZEMTapeLabel::CZEMTapeLabel(const CRect &size, CControlListener *listener, CBitmap *background)
    : CMyTextEdit(size, listener, kLabelChanged, "www.velmora.example", background, true),
      marker(new CBitmap(kImageTapeMarker))
{
    setFontColor(CColor(4, 45, 85, 205));
    if (CZEMCustomFont *labelFont = acquireSharedLabelFont())
        setFont(labelFont);
    markerHome = CRect(size.right - 20 - marker->getWidth(), size.top, size.right - 20, size.top + marker->getHeight());
    markerRect = markerHome;
}

CZEMTapeLabel::~CZEMTapeLabel()
{
    marker->forget();
    if (tapeFont)
        tapeFont->forget();
}

namespace {

// The private typeface behind a font, with its drawing font made (and so its metrics known).
ZEMCoreTextFont *drawableCoreFont(CFontDesc *font)
{
    auto *custom = dynamic_cast<CZEMCustomFont *>(font);
    ZEMCoreTextFont *core = custom ? custom->getCoreTextFont() : nullptr;
    if (!core)
        return nullptr;
    if (!core->hasDrawingFont())
        core->getStringWidth(nullptr, "", true);  // makes the drawing font
    return core->hasDrawingFont() ? core : nullptr;
}

// The height in pixels of the line a private typeface draws: from its cell's top to its bottom.
double cellPixels(const ZEMCoreTextFont &core)
{
    return (core.getAscent() + core.getDescent()) * ZEMCoreTextFont::kPixelsPerPoint;
}

}  // namespace

CFontDesc *CZEMTapeLabel::getTapeFont()
{
    if (!fitted || fittedFont != font || fittedText != text)
        fitTapeFont();
    return tapeFont ? static_cast<CFontDesc *>(tapeFont) : font;
}

void CZEMTapeLabel::fitTapeFont()
{
    fitted = true;
    fittedFont = font;
    fittedText = text;
    if (tapeFont)
        tapeFont->forget();
    tapeFont = nullptr;
    ZEMCoreTextFont *core = drawableCoreFont(font);
    if (!core)
        return;
    // Metrics and widths grow with the em size, which is the size less the drawing offset.
    const double labelEm = core->getSize() - ZEMCoreTextFont::kDrawingSizeOffset;
    const double room = size.getHeight() - 2 * kTapeRoom;
    const double cell = cellPixels(*core);
    double em = cell > room && room > 0 ? labelEm * room / cell : labelEm;
    const double across = size.getWidth() - kTapeSideRoom;
    // A text too wide for the tape gets smaller still. Widths are not quite proportional to the
    // size (the glyphs' advances are hinted): the font made for it measures it again.
    ZEMCoreTextFont *measuring = core;
    for (int attempt = 0; attempt < 3 && em > 0; ++attempt) {
        const double measuringEm = measuring->getSize() - ZEMCoreTextFont::kDrawingSizeOffset;
        const double width = measuring->getStringWidth(nullptr, text.c_str(), true) * em / measuringEm;
        if (across > 0 && width > across)
            em *= across / width;
        else if (measuring != core)
            return;  // the font made last fits
        if (em >= labelEm)
            return;  // the label's own font fits
        if (tapeFont)
            tapeFont->forget();
        const double fittedSize = em + ZEMCoreTextFont::kDrawingSizeOffset;
        auto *typeface = new ZEMCoreTextFont(core->getPath(), fittedSize, font->getStyle());
        tapeFont = new CZEMCustomFont(font->getName(), fittedSize, font->getStyle(), typeface);
        measuring = drawableCoreFont(tapeFont);
        if (!measuring) {
            tapeFont->forget();
            tapeFont = nullptr;
            return;
        }
    }
}

void CZEMTapeLabel::draw(CDrawContext *context)
{
    drawBack(context);
    if (editing) {
        context->drawBitmap(marker, markerRect, CPoint(), 1.f);
    } else if (!text.empty()) {
        CFontDesc *drawn = getTapeFont();
        context->setFont(drawn);
        context->setFontColor(fontColor);
        const CRect oldClip = context->getClipRect();
        CRect clip(size);
        context->setClipRect(clip.bound(oldClip));
        if (ZEMCoreTextFont *core = drawableCoreFont(drawn)) {
            // The line's cell in the middle of the tape, the text centred 3 pixels right of the
            // middle. The typeface draws a line with its top at point.y + 1 - its line height.
            const double width = context->getStringWidth(text.c_str());
            const double cellTop = size.top + (size.getHeight() - cellPixels(*core)) / 2;
            const CPoint point(size.left + 3 + (size.getWidth() - width) / 2,
                               cellTop - 1 + core->getLeading() * ZEMCoreTextFont::kPixelsPerPoint);
            context->drawString(text.c_str(), point, true);
        } else {
            CRect area(size);
            area.offset(3, 0);
            context->drawString(text.c_str(), area, kCenterText, true);
        }
        context->setClipRect(oldClip);
    }
    setDirty(false);
}

CPoint CZEMTapeLabel::markerMove(int s)
{
    switch (s) {
    case 4:
    case 6:
    case 8:
    case 10:
    case 25:
    case 26:
    case 28:
    case 29:
    case 31:
    case 35:
    case 42:
    case 45:
    case 46:
    case 48:
        return CPoint(0, 1);
    case 5:
    case 7:
    case 9:
    case 11:
    case 27:
    case 30:
    case 32:
    case 34:
    case 41:
    case 43:
        return CPoint(1, 1);
    case 12:
    case 33:
        return CPoint(1, 0);
    case 13:
    case 15:
    case 18:
    case 36:
    case 38:
    case 50:
        return CPoint(1, -1);
    case 14:
    case 16:
    case 17:
    case 19:
    case 20:
    case 21:
    case 37:
    case 39:
    case 40:
        return CPoint(0, -1);
    case 44:
    case 47:
        return CPoint(1, -2);
    case 49:
        return CPoint(0, 2);
    case 60:
    case 67:
    case 68:
    case 70:
    case 71:
        return CPoint(-1, -1);
    case 69:
        return CPoint(-1, -2);
    default:
        if ((s >= 51 && s <= 59) || (s >= 61 && s <= 66))
            return CPoint(-1, 0);
        return CPoint(0, 0);
    }
}

void CZEMTapeLabel::animationStep()
{
    if (CFrame *frame = getFrame())
        animationStep(frame->getTicks());
}

void CZEMTapeLabel::animationStep(uint32_t ticks)
{
    if (!editing || ticks - lastTick < kStepMilliseconds)
        return;
    lastTick = ticks;
    step = step >= kSteps - 1 ? 0 : step + 1;
    if (step == 0) {
        markerRect = markerHome;
    } else {
        CPoint move = markerMove(step);
        markerRect.offset(move.x, move.y);
    }
    setDirty(true);
}

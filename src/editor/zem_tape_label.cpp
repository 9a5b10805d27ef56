#include "editor/zem_tape_label.h"

#include "core/parameter_table.h"
#include "editor/image_numbers.h"
#include "editor/zem_custom_font.h"
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

CZEMTapeLabel::~CZEMTapeLabel() { marker->forget(); }

void CZEMTapeLabel::draw(CDrawContext *context)
{
    drawBack(context);
    if (editing) {
        context->drawBitmap(marker, markerRect, CPoint(), 1.f);
    } else {
        context->setFont(font);
        context->setFontColor(fontColor);
        if (!text.empty()) {
            CRect area(size);
            area.offset(3, 5);
            context->drawString(text.c_str(), area, kCenterText, true);
        }
    }
    setDirty(false);
}

CPoint CZEMTapeLabel::markerMove(int s)
{
    switch (s) {
    case 4: case 6: case 8: case 10: case 25: case 26: case 28: case 29: case 31: case 35: case 42: case 45:
    case 46: case 48:
        return CPoint(0, 1);
    case 5: case 7: case 9: case 11: case 27: case 30: case 32: case 34: case 41: case 43:
        return CPoint(1, 1);
    case 12: case 33:
        return CPoint(1, 0);
    case 13: case 15: case 18: case 36: case 38: case 50:
        return CPoint(1, -1);
    case 14: case 16: case 17: case 19: case 20: case 21: case 37: case 39: case 40:
        return CPoint(0, -1);
    case 44: case 47:
        return CPoint(1, -2);
    case 49:
        return CPoint(0, 2);
    case 60: case 67: case 68: case 70: case 71:
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

#include "display/zem_meter2.h"

#include <algorithm>
#include <cmath>

#include "params/parameter_table.h"
#include "controls/image_numbers.h"
#include "ui/bitmap.h"
#include "ui/draw_context.h"

using namespace VSTGUI;

namespace {

constexpr float kLowestAmplitude = 0.0001f, kHighestAmplitude = 32.0f;
constexpr int kLedSize = 20;
constexpr int kVUFaceHeight = 122;
// Room around a needle's axis for half its width and the antialiased fringe.
constexpr CCoord kNeedleMargin = 3;
// A moved needle is redrawn in pieces of about this length: a slanted needle's pieces cover a
// small part of the box around the whole needle.
constexpr float kNeedlePieceLength = 16;

// The bitmap of that number, or null when it cannot be loaded.
CBitmap *loadImage(int number)
{
    auto *bitmap = new CBitmap(number);
    if (bitmap->isLoaded())
        return bitmap;
    bitmap->forget();
    return nullptr;
}

float clampTo(float v, float lowest, float highest)
{
    if (!(v >= lowest))  // also a value that is not a number
        return lowest;
    return v > highest ? highest : v;
}

}  // namespace

float clampMeterAmplitude(float v) { return clampTo(v, kLowestAmplitude, kHighestAmplitude); }
float clampVUNeedle(float v) { return clampTo(v, CZEMVUMeter2::kLowest, CZEMVUMeter2::kHighest); }

// ---- CZEMMeter2 ------------------------------------------------------------------------------

CZEMMeter2::CZEMMeter2(const CPoint &topLeft, CControlListener *listener, const NeedleGeometry &geometry,
                       float arcDegrees)
    : CControl(CRect(topLeft.x, topLeft.y, topLeft.x + geometry.width, topLeft.y + geometry.height), listener,
               kTagMeterClick),
      needleGeometry(geometry), arcDegrees(arcDegrees), ledBitmap(loadImage(kImageOverLED))
{
}

CZEMMeter2::~CZEMMeter2()
{
    if (ledBitmap)
        ledBitmap->forget();
}

void CZEMMeter2::setOverState(int state)
{
    if (state != 1 && state != 0)
        state = -1;
    if (state == overState)
        return;
    overState = state;
    ledChanged();
    invalidRect(ledRect());
}

CPoint CZEMMeter2::pivot() const { return CPoint(size.left + needleGeometry.pivotX, size.top + needleGeometry.pivotY); }

CRect CZEMMeter2::ledRect() const
{
    CCoord x = size.left + needleGeometry.ledX, y = size.top + needleGeometry.ledY;
    return CRect(x, y, x + kLedSize, y + kLedSize);
}

CMouseEventResult CZEMMeter2::onMouseDown(CPoint &, const CButtonState &buttons)
{
    if (!buttons.isLeftButton())
        return kMouseEventNotHandled;
    if (listener)
        listener->valueChanged(this);
    return kMouseEventHandled;
}

void CZEMMeter2::invalidNeedle(const Needle &n)
{
    const CPoint p = pivot();
    const int pieces = std::max(1, (int)std::ceil(std::fabs(n.to - n.from) / kNeedlePieceLength));
    for (int i = 0; i < pieces; ++i) {
        const float r1 = n.from + (n.to - n.from) * (float)i / (float)pieces;
        const float r2 = n.from + (n.to - n.from) * (float)(i + 1) / (float)pieces;
        const NeedlePoint a = needlePoint((float)p.x, (float)p.y, r1, n.degrees);
        const NeedlePoint b = needlePoint((float)p.x, (float)p.y, r2, n.degrees);
        CRect piece(std::floor(std::min(a.x, b.x)) - kNeedleMargin, std::floor(std::min(a.y, b.y)) - kNeedleMargin,
                    std::ceil(std::max(a.x, b.x)) + kNeedleMargin, std::ceil(std::max(a.y, b.y)) + kNeedleMargin);
        piece.bound(size);
        if (!piece.isEmpty())
            invalidRect(piece);
    }
}

bool CZEMMeter2::moveNeedle(Needle &n, float newDegrees, bool shown)
{
    // A hidden marker follows every value, so that it appears where it belongs.
    if (shown && !(std::fabs(newDegrees - n.degrees) >= visibleStep()))
        return false;
    // The pixels the old needle left and the new one takes, piece by piece; the frame joins
    // the pieces that lie close together.
    if (shown)
        invalidNeedle(n);
    n.degrees = newDegrees;
    if (shown)
        invalidNeedle(n);
    return true;
}

void CZEMMeter2::strokeRadial(CDrawContext *context, float degrees, float r1, float r2, const CColor &color) const
{
    const CPoint p = pivot();
    const NeedlePoint a = needlePoint((float)p.x, (float)p.y, r1, degrees);
    const NeedlePoint b = needlePoint((float)p.x, (float)p.y, r2, degrees);
    context->setFrameColor(color);
    context->drawLine(CPoint(a.x, a.y), CPoint(b.x, b.y));
}

void CZEMMeter2::strokeNeedle(CDrawContext *context, const Needle &n, const CColor &color) const
{
    strokeRadial(context, n.degrees, n.from, n.to, color);
}

void CZEMMeter2::drawLed(CDrawContext *context) const
{
    context->drawBitmap(ledBitmap, ledRect(), CPoint(0, kLedSize * (overState + 1)));
}

void CZEMMeter2::setHoldVisible(bool visible)
{
    if (visible == holdVisible)
        return;
    holdVisible = visible;
    // The marker appears or disappears where it stands.
    invalid();
}

// ---- CZEMVUMeter2 ----------------------------------------------------------------------------

CZEMVUMeter2::CZEMVUMeter2(const CPoint &topLeft, CControlListener *listener)
    : CZEMMeter2(topLeft, listener, vuNeedleGeometry, vuNeedleAngle(kLowest) - vuNeedleAngle(kHighest)),
      needle{vuNeedleAngle(kLowest), vuNeedleGeometry.needleFrom, vuNeedleGeometry.needleTo},
      hold{vuNeedleAngle(kLowest), vuNeedleGeometry.holdFrom, vuNeedleGeometry.holdTo},
      faceBitmap(loadImage(kImageVUFace))
{
}

CZEMVUMeter2::~CZEMVUMeter2()
{
    dropFace();
    if (faceBitmap)
        faceBitmap->forget();
}

void CZEMVUMeter2::setNeedleValue(float v)
{
    needleValue = clampVUNeedle(v);
    moveNeedle(needle, vuNeedleAngle(needleValue), true);
}

void CZEMVUMeter2::setHoldValue(float v)
{
    holdValue = clampVUNeedle(v);
    moveNeedle(hold, vuNeedleAngle(holdValue), holdVisible);
}

void CZEMVUMeter2::setBacklight(int index)
{
    index = std::clamp(index, 0, 4);
    if (index == backlight)
        return;
    backlight = index;
    dropFace();
    invalid();
}

CRect CZEMVUMeter2::coverRect() const { return CRect(size.left, size.bottom - kCoverHeight, size.right, size.bottom); }

void CZEMVUMeter2::ledChanged() { dropFace(); }

void CZEMVUMeter2::dropFace()
{
    if (facePicture)
        facePicture->forget();
    facePicture = nullptr;
}

bool CZEMVUMeter2::prepareFace(double deviceScale)
{
    // The picture has the pixels of the context it is drawn into: zoomed, the face's own 2x or 3x
    // set rather than the 1x face enlarged.
    if (facePicture && facePicture->getPixelScale() != deviceScale)
        dropFace();
    if (facePicture)
        return true;
    auto *picture = new CBitmap(size.getWidth(), size.getHeight(), deviceScale);
    CDrawContext *context = picture->isLoaded() ? createBitmapDrawContext(picture) : nullptr;
    if (!context) {
        picture->forget();
        return false;
    }
    const CRect whole(0, 0, size.getWidth(), size.getHeight());
    context->drawBitmap(faceBitmap, whole, CPoint(0, kVUFaceHeight * backlight));
    CRect led(ledRect());
    led.offset(-size.left, -size.top);
    context->drawBitmap(ledBitmap, led, CPoint(0, kLedSize * (overState + 1)));
    context->forget();  // the picture is complete once its context is gone
    facePicture = picture;
    return true;
}

void CZEMVUMeter2::draw(CDrawContext *context)
{
    if (ledBitmap && faceBitmap) {
        context->setDrawMode(kAntialias);
        context->setLineStyle(kLineSolid);
        context->setLineWidth(kLineWidth);
        if (prepareFace(context->getDeviceScale())) {
            context->drawBitmap(facePicture, size);
        } else {
            context->drawBitmap(faceBitmap, size, CPoint(0, kVUFaceHeight * backlight));
            drawLed(context);
        }
        strokeNeedle(context, needle, kNeedleColour);
        if (holdVisible)
            strokeNeedle(context, hold, kHoldColour);
        context->drawBitmap(faceBitmap, coverRect(),
                            CPoint(0, kVUFaceHeight * backlight + size.getHeight() - kCoverHeight));
    }
    setDirty(false);
}

// ---- CZEMRMSMeter2 ---------------------------------------------------------------------------

CZEMRMSMeter2::CZEMRMSMeter2(const CPoint &topLeft, CControlListener *listener)
    : CZEMMeter2(topLeft, listener, rmsNeedleGeometry,
                 rmsNeedleAngle(kLowestAmplitude) - rmsNeedleAngle(kHighestAmplitude)),
      peak{rmsNeedleAngle(1e-6f), rmsNeedleGeometry.needleFrom, rmsNeedleGeometry.needleTo},
      hold{rmsNeedleAngle(1e-6f), rmsNeedleGeometry.holdFrom, rmsNeedleGeometry.holdTo},
      rms{rmsNeedleAngle(1e-6f), rmsNeedleGeometry.needleFrom, rmsNeedleGeometry.needleTo}
{
}

void CZEMRMSMeter2::setPeakValue(float v)
{
    peakValue = clampMeterAmplitude(v);
    moveNeedle(peak, rmsNeedleAngle(peakValue), true);
}

void CZEMRMSMeter2::setHoldValue(float v)
{
    holdValue = clampMeterAmplitude(v);
    moveNeedle(hold, rmsNeedleAngle(holdValue), holdVisible);
}

void CZEMRMSMeter2::setRMSValue(float v)
{
    rmsValue = clampMeterAmplitude(v);
    moveNeedle(rms, rmsNeedleAngle(rmsValue), true);
}

void CZEMRMSMeter2::draw(CDrawContext *context)
{
    if (ledBitmap) {
        context->setDrawMode(kAntialias);
        context->setLineStyle(kLineSolid);
        context->setLineWidth(kLineWidth);
        drawLed(context);
        strokeNeedle(context, rms, kValueColour);
        context->setLineWidth(kCentreLineWidth);
        strokeRadial(context, rms.degrees, rms.to, rms.from, kCentreLineColour);
        context->setLineWidth(kLineWidth);
        strokeNeedle(context, peak, kPeakColour);
        // The outer part of the peak needle turns red.
        strokeRadial(context, peak.degrees, peak.to, hold.from, kPeakTipColour);
        if (holdVisible)
            strokeNeedle(context, hold, kHoldColour);
    }
    setDirty(false);
}

// ---- CZEMPPMMeter2 ---------------------------------------------------------------------------

CZEMPPMMeter2::CZEMPPMMeter2(const CPoint &topLeft, CControlListener *listener)
    : CZEMMeter2(topLeft, listener, ppmNeedleGeometry,
                 ppmNeedleAngle(kLowestAmplitude) - ppmNeedleAngle(kHighestAmplitude)),
      peak{ppmNeedleAngle(1e-6f), ppmNeedleGeometry.needleFrom, ppmNeedleGeometry.needleTo},
      hold{ppmNeedleAngle(1e-6f), ppmNeedleGeometry.holdFrom, ppmNeedleGeometry.holdTo}
{
}

void CZEMPPMMeter2::setPeakValue(float v)
{
    peakValue = clampMeterAmplitude(v);
    moveNeedle(peak, ppmNeedleAngle(peakValue), true);
}

void CZEMPPMMeter2::setHoldValue(float v)
{
    holdValue = clampMeterAmplitude(v);
    moveNeedle(hold, ppmNeedleAngle(holdValue), holdVisible);
}

void CZEMPPMMeter2::draw(CDrawContext *context)
{
    if (ledBitmap) {
        context->setDrawMode(kAntialias);
        context->setLineStyle(kLineSolid);
        context->setLineWidth(kLineWidth);
        drawLed(context);
        strokeNeedle(context, peak, kNeedleColour);
        if (holdVisible)
            strokeNeedle(context, hold, kHoldColour);
    }
    setDirty(false);
}

// Points, rectangles and colours of the view library. Plain values. [any-thread]
#pragma once

#include <cstdint>

namespace VSTGUI {

typedef double CCoord;

struct CPoint {
    CCoord x = 0, y = 0;

    CPoint() = default;
    CPoint(CCoord x, CCoord y) : x(x), y(y) {}

    CPoint &offset(CCoord dx, CCoord dy)
    {
        x += dx;
        y += dy;
        return *this;
    }
    CPoint &operator+=(const CPoint &p) { return offset(p.x, p.y); }
    CPoint &operator-=(const CPoint &p) { return offset(-p.x, -p.y); }
    CPoint operator+(const CPoint &p) const { return CPoint(x + p.x, y + p.y); }
    CPoint operator-(const CPoint &p) const { return CPoint(x - p.x, y - p.y); }
    bool operator==(const CPoint &p) const { return x == p.x && y == p.y; }
    bool operator!=(const CPoint &p) const { return !(*this == p); }
};

// A rectangle from (left, top) inclusive to (right, bottom) exclusive.
struct CRect {
    CCoord left = 0, top = 0, right = 0, bottom = 0;

    CRect() = default;
    CRect(CCoord left, CCoord top, CCoord right, CCoord bottom) : left(left), top(top), right(right), bottom(bottom) {}
    // From a top-left corner and a size.
    CRect(const CPoint &origin, const CPoint &size)
        : left(origin.x), top(origin.y), right(origin.x + size.x), bottom(origin.y + size.y)
    {
    }

    CCoord getWidth() const { return right - left; }
    CCoord getHeight() const { return bottom - top; }
    CCoord width() const { return getWidth(); }
    CCoord height() const { return getHeight(); }
    CRect &setWidth(CCoord w)
    {
        right = left + w;
        return *this;
    }
    CRect &setHeight(CCoord h)
    {
        bottom = top + h;
        return *this;
    }
    CPoint getTopLeft() const { return CPoint(left, top); }
    CPoint getSize() const { return CPoint(getWidth(), getHeight()); }
    CPoint getCenter() const { return CPoint(left + getWidth() / 2, top + getHeight() / 2); }
    bool isEmpty() const { return right <= left || bottom <= top; }

    CRect &offset(CCoord dx, CCoord dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
        return *this;
    }
    CRect &offset(const CPoint &p) { return offset(p.x, p.y); }
    // Moves the rectangle so that its top-left corner is (x, y), keeping its size.
    CRect &moveTo(CCoord x, CCoord y) { return offset(x - left, y - top); }
    CRect &inset(CCoord dx, CCoord dy)
    {
        left += dx;
        right -= dx;
        top += dy;
        bottom -= dy;
        return *this;
    }
    bool pointInside(const CPoint &p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    bool rectOverlap(const CRect &r) const
    {
        return r.left < right && r.right > left && r.top < bottom && r.bottom > top;
    }
    // Intersection with r; an empty rectangle when they do not overlap.
    CRect &bound(const CRect &r)
    {
        if (left < r.left)
            left = r.left;
        if (top < r.top)
            top = r.top;
        if (right > r.right)
            right = r.right;
        if (bottom > r.bottom)
            bottom = r.bottom;
        if (right < left)
            right = left;
        if (bottom < top)
            bottom = top;
        return *this;
    }
    // Smallest rectangle holding both; an empty rectangle counts as nothing.
    CRect &unite(const CRect &r)
    {
        if (r.isEmpty())
            return *this;
        if (isEmpty())
            return *this = r;
        if (r.left < left)
            left = r.left;
        if (r.top < top)
            top = r.top;
        if (r.right > right)
            right = r.right;
        if (r.bottom > bottom)
            bottom = r.bottom;
        return *this;
    }
    bool operator==(const CRect &r) const
    {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }
    bool operator!=(const CRect &r) const { return !(*this == r); }
};

struct CColor {
    uint8_t red = 0, green = 0, blue = 0, alpha = 255;

    constexpr CColor() = default;
    constexpr CColor(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) : red(r), green(g), blue(b), alpha(a) {}
    bool operator==(const CColor &c) const
    {
        return red == c.red && green == c.green && blue == c.blue && alpha == c.alpha;
    }
    bool operator!=(const CColor &c) const { return !(*this == c); }
};

constexpr CColor kTransparentCColor(255, 255, 255, 0);
constexpr CColor kBlackCColor(0, 0, 0, 255);
constexpr CColor kWhiteCColor(255, 255, 255, 255);
constexpr CColor kGreyCColor(127, 127, 127, 255);
constexpr CColor kRedCColor(255, 0, 0, 255);
constexpr CColor kGreenCColor(0, 255, 0, 255);
constexpr CColor kBlueCColor(0, 0, 255, 255);
constexpr CColor kYellowCColor(255, 255, 0, 255);
constexpr CColor kCyanCColor(0, 255, 255, 255);
constexpr CColor kMagentaCColor(255, 0, 255, 255);

}  // namespace VSTGUI

#include "popup_menu.h"

#include <algorithm>
#include <utility>

#include "draw_context.h"
#include "font.h"
#include "frame.h"

namespace VSTGUI {

namespace {

// The colours of the editor's dark panels and of its hint line's text.
constexpr CColor kMenuBack(33, 35, 39);
constexpr CColor kMenuEdge(96, 98, 106);
constexpr CColor kHighlightBack(74, 78, 90);
constexpr CColor kItemText(220, 213, 213);
constexpr CColor kTitleText(150, 150, 156);
constexpr CCoord kTextIndent = 14;  // room for the mark left of the text
constexpr CCoord kMarkSize = 4;

}  // namespace

CPopupMenu::CPopupMenu(std::string title, std::vector<std::string> items, int marked, CCoord width, Chosen chosen)
    : CView(CRect()), title(std::move(title)), items(std::move(items)), marked(marked), width(width),
      chosen(std::move(chosen)), font(kNormalFontVerySmall)
{
    font->remember();
}

CPopupMenu::~CPopupMenu() { font->forget(); }

bool CPopupMenu::open(CFrame *frame, const CPoint &anchor, const CRect &area)
{
    const CCoord height = kRowHeight * (CCoord)(items.size() + 1) + 2 * kPadding;
    if (!frame || isOpen() || width > area.getWidth() || height > area.getHeight())
        return false;
    const CCoord left = std::max(area.left, std::min(anchor.x, area.right - width));
    const CCoord top = std::max(area.top, std::min(anchor.y, area.bottom - height));
    menuRect = CRect(left, top, left + width, top + height);
    highlighted = kNoChoice;
    // Over the whole frame, so that a press anywhere reaches the menu.
    setViewSize(CRect(0, 0, frame->getWidth(), frame->getHeight()), false);
    remember();  // the frame takes this reference; the owner keeps its own
    if (!frame->addView(this)) {
        forget();
        return false;
    }
    frame->invalidFrameRect(menuRect);
    return true;
}

void CPopupMenu::close()
{
    if (isOpen())
        finish(kNoChoice);
}

void CPopupMenu::finish(int choice)
{
    ReferenceGuard keep(this);
    if (CFrame *frame = getFrame()) {
        frame->invalidFrameRect(menuRect);
        frame->removeView(this, true);
    }
    highlighted = kNoChoice;
    if (Chosen tell = chosen)
        tell(choice);
}

CRect CPopupMenu::getItemRect(int index) const
{
    const CCoord top = menuRect.top + kPadding + kRowHeight * (index + 1);
    return CRect(menuRect.left + kPadding, top, menuRect.right - kPadding, top + kRowHeight);
}

int CPopupMenu::itemAt(const CPoint &where) const
{
    for (int i = 0; i < getItemCount(); ++i)
        if (getItemRect(i).pointInside(where))
            return i;
    return kNoChoice;
}

void CPopupMenu::highlight(int index)
{
    if (index == highlighted)
        return;
    if (CFrame *frame = getFrame()) {
        if (highlighted != kNoChoice)
            frame->invalidFrameRect(getItemRect(highlighted));
        if (index != kNoChoice)
            frame->invalidFrameRect(getItemRect(index));
    }
    highlighted = index;
}

void CPopupMenu::draw(CDrawContext *context)
{
    // The edge is the box's outermost pixels, filled rather than stroked, so that every
    // rasteriser covers the same pixels.
    context->setDrawMode(kAliasing);
    context->setFillColor(kMenuEdge);
    context->drawRect(menuRect, kDrawFilled);
    context->setFillColor(kMenuBack);
    context->drawRect(CRect(menuRect).inset(1, 1), kDrawFilled);
    context->setFont(font);
    const CRect titleRect(menuRect.left + kPadding, menuRect.top + kPadding, menuRect.right - kPadding,
                          menuRect.top + kPadding + kRowHeight);
    context->setFontColor(kTitleText);
    context->drawString(title.c_str(), CRect(titleRect).offset(4, 0), kLeftText);
    for (int i = 0; i < getItemCount(); ++i) {
        const CRect row = getItemRect(i);
        if (i == highlighted) {
            context->setFillColor(kHighlightBack);
            context->drawRect(row, kDrawFilled);
        }
        if (i == marked) {
            const CCoord x = row.left + (kTextIndent - kMarkSize) / 2;
            const CCoord y = row.top + (kRowHeight - kMarkSize) / 2;
            context->setFillColor(kItemText);
            context->drawRect(CRect(x, y, x + kMarkSize, y + kMarkSize), kDrawFilled);
        }
        context->setFontColor(kItemText);
        context->drawString(items[(size_t)i].c_str(), CRect(row).offset(kTextIndent, 0), kLeftText);
    }
    setDirty(false);
}

CMouseEventResult CPopupMenu::onMouseDown(CPoint &where, const CButtonState &buttons)
{
    (void)buttons;
    if (!menuRect.pointInside(where)) {
        finish(kNoChoice);
    } else {
        const int index = itemAt(where);
        if (index != kNoChoice)
            finish(index);
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

CMouseEventResult CPopupMenu::onMouseMoved(CPoint &where, const CButtonState &buttons)
{
    (void)buttons;
    highlight(itemAt(where));
    return kMouseEventHandled;
}

CMouseEventResult CPopupMenu::onMouseExited(CPoint &where, const CButtonState &buttons)
{
    (void)where;
    (void)buttons;
    highlight(kNoChoice);
    return kMouseEventHandled;
}

bool CPopupMenu::onWheel(const CPoint &, const float &, const CButtonState &) { return true; }

}  // namespace VSTGUI

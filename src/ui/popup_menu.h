// A small menu drawn by the library itself, so that it looks the same in every build: a title
// line, then the items, one of them marked. While open it lies over the whole frame and takes
// every press, move and wheel turn: the item under the mouse is highlighted, a click on an item
// chooses it, a click anywhere else closes the menu without a choice (as the owner's close()
// does, which is what Escape is for). The menu box lies wholly within the area it is opened in.
// [ui-thread]
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "view.h"

namespace VSTGUI {

class CFontDesc;

class CPopupMenu : public CView {
public:
    static constexpr CCoord kRowHeight = 14;
    static constexpr CCoord kPadding = 2;
    // The chosen item's index, or kNoChoice when the menu closed without a choice. It is told
    // after the menu has left the frame, so that it may open another or close the frame.
    static constexpr int kNoChoice = -1;
    using Chosen = std::function<void(int index)>;

    // marked: the index of the item that shows the mark, or kNoChoice for none. width: the
    // menu box's width.
    CPopupMenu(std::string title, std::vector<std::string> items, int marked, CCoord width, Chosen chosen);
    ~CPopupMenu() override;

    // Adds the menu on top of frame, its box's top-left corner at anchor (frame coordinates),
    // moved left and up as far as needed to lie within area. Answers false (and stays closed)
    // when it is already open or the box is larger than area.
    bool open(CFrame *frame, const CPoint &anchor, const CRect &area);
    // Closes without a choice; nothing when closed.
    void close();
    bool isOpen() const { return isAttached(); }

    // In frame coordinates.
    const CRect &getMenuRect() const { return menuRect; }
    CRect getItemRect(int index) const;
    int getItemCount() const { return (int)items.size(); }
    int getMarked() const { return marked; }
    // The item under the mouse, kNoChoice for none.
    int getHighlighted() const { return highlighted; }

    void draw(CDrawContext *context) override;
    CMouseEventResult onMouseDown(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseMoved(CPoint &where, const CButtonState &buttons) override;
    CMouseEventResult onMouseExited(CPoint &where, const CButtonState &buttons) override;
    bool onWheel(const CPoint &where, const float &distance, const CButtonState &buttons) override;

    VSTGUI_TYPE(CPopupMenu, CView)

private:
    int itemAt(const CPoint &where) const;
    void highlight(int index);
    // Leaves the frame, then tells the owner.
    void finish(int choice);

    std::string title;
    std::vector<std::string> items;
    int marked;
    CCoord width;
    Chosen chosen;
    CFontDesc *font;
    CRect menuRect;
    int highlighted = kNoChoice;
};

}  // namespace VSTGUI

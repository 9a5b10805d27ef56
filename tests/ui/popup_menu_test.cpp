// The library's popup menu on a real frame: where its box goes, what a click, a move and the
// wheel do, and that it gives every reference back.
#include <gtest/gtest.h>

#include <vector>

#include "frame_driver.h"
#include "probe_view.h"
#include "ui/base_object.h"
#include "ui/popup_menu.h"

using namespace VSTGUI;

namespace {

// The presses, releases, moves and wheel turns of a probe's log (the mouse is over it again
// once the menu has gone).
std::vector<std::string> inputs(const std::vector<std::string> &log)
{
    std::vector<std::string> kept;
    for (const std::string &line : log)
        if (line.find("entered") == std::string::npos && line.find("exited") == std::string::npos)
            kept.push_back(line);
    return kept;
}

class PopupMenuInFrame : public ::testing::Test {
protected:
    void SetUp() override { frame = new CFrame(CRect(0, 0, 400, 200), parent.handle(), nullptr); }
    void TearDown() override
    {
        menu.reset();
        frame->forget();
        EXPECT_EQ(CBaseObject::liveObjects(), live);
    }
    void make(int marked = 1)
    {
        menu.reset(
            new CPopupMenu("Pick:", {"one", "two", "three"}, marked, 60, [this](int i) { chosen.push_back(i); }));
    }
    CPoint centreOf(int item) const
    {
        const CRect r = menu->getItemRect(item);
        return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    int live = CBaseObject::liveObjects();
    TestParentWindow &parent = sharedParentWindow();
    CFrame *frame = nullptr;
    OwningPointer<CPopupMenu> menu;
    std::vector<int> chosen;
};

TEST_F(PopupMenuInFrame, TheBoxMovesInsideTheAreaAndOneThatCannotFitIsRefused)
{
    make();
    const CRect area(0, 0, 400, 200);
    const CCoord height = CPopupMenu::kRowHeight * 4 + 2 * CPopupMenu::kPadding;
    ASSERT_TRUE(menu->open(frame, CPoint(10, 20), area));
    EXPECT_EQ(menu->getMenuRect(), CRect(10, 20, 70, 20 + height));
    EXPECT_FALSE(menu->open(frame, CPoint(10, 20), area)) << "already open";
    menu->close();
    EXPECT_EQ(chosen, std::vector<int>({CPopupMenu::kNoChoice}));
    ASSERT_TRUE(menu->open(frame, CPoint(390, 190), area));
    EXPECT_EQ(menu->getMenuRect(), CRect(340, 200 - height, 400, 200));
    menu->close();
    EXPECT_FALSE(menu->open(frame, CPoint(0, 0), CRect(0, 0, 400, height - 1)));
    EXPECT_FALSE(menu->open(frame, CPoint(0, 0), CRect(0, 0, 59, 200)));
    EXPECT_FALSE(menu->isOpen());
    EXPECT_EQ(frame->getNbViews(), 0);
}

TEST_F(PopupMenuInFrame, AClickOnAnItemChoosesItAndTheMenuTakesEveryInputWhileOpen)
{
    std::vector<std::string> log;
    frame->addView(new ProbeView(CRect(0, 0, 400, 200), log, "below"));
    make(2);
    ASSERT_TRUE(menu->open(frame, CPoint(100, 50), CRect(0, 0, 400, 200)));
    EXPECT_EQ(menu->getMarked(), 2);
    FrameDriver driver(frame);
    const CPoint two = centreOf(1);
    driver.move(two.x, two.y, 0);
    EXPECT_EQ(menu->getHighlighted(), 1);
    driver.wheel(two.x, two.y, 1.f);
    const CRect title(menu->getMenuRect().left, menu->getMenuRect().top, menu->getMenuRect().right,
                      menu->getItemRect(0).top);
    driver.click(title.left + 5, title.top + 5);
    EXPECT_TRUE(menu->isOpen()) << "the title chooses nothing";
    driver.click(two.x, two.y);
    EXPECT_EQ(chosen, std::vector<int>({1}));
    EXPECT_FALSE(menu->isOpen());
    EXPECT_EQ(inputs(log), std::vector<std::string>()) << "nothing below heard the press, the move or the wheel";
    // A click outside the box closes it without a choice, and reaches nothing below either.
    ASSERT_TRUE(menu->open(frame, CPoint(100, 50), CRect(0, 0, 400, 200)));
    driver.click(10, 10);
    EXPECT_EQ(chosen, std::vector<int>({1, CPopupMenu::kNoChoice}));
    EXPECT_EQ(inputs(log), std::vector<std::string>());
    EXPECT_EQ(frame->getNbViews(), 1);
}

}  // namespace

// The tape label: its marker's loop while it is being edited, and its text in the private
// typeface before and after.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/image_numbers.h"
#include "editor/my_frame.h"
#include "controls/zem_custom_font.h"
#include "controls/zem_tape_label.h"
#include "ui/bitmap.h"
#include "ui/draw_context.h"
#include "ui/frame_driver.h"

using namespace VSTGUI;

namespace {

std::wstring repositoryFontFile()
{
    std::string path = std::string(ZEM_SOURCE_DIR) + "/resources/font/ZEMOrdwen.kqf";
    return std::wstring(path.begin(), path.end());
}

class TapeLabel : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new MyFrame(CRect(0, 0, 586, 300), sharedParentWindow().handle(), nullptr);
        frame->focusOnClick = true;
        label = new CZEMTapeLabel(CRect(20, 200, 566, 240), nullptr, nullptr);
        label->setStyle(CTextLabel::kNoFrame | CTextLabel::kNoDrawBackground);
        frame->addView(label);
    }
    void TearDown() override
    {
        frame->forget();
        releaseSharedLabelFont();
        EXPECT_EQ(activeInPlaceEdit, nullptr);
        EXPECT_EQ(CBaseObject::liveObjects(), live);
    }
    // The label as drawn now, pixel by pixel (alpha only).
    std::vector<int> picture() { return picture(label); }
    static std::vector<int> picture(CView *view)
    {
        CBitmap *shot = COffscreenContext::renderView(view, view->getViewSize());
        std::vector<int> alphas;
        for (int y = 0; y < (int)shot->getHeight(); ++y)
            for (int x = 0; x < (int)shot->getWidth(); ++x) {
                CColor c;
                shot->getPixel(x, y, c);
                alphas.push_back(c.alpha);
            }
        shot->forget();
        return alphas;
    }
    static int painted(const std::vector<int> &alphas)
    {
        int n = 0;
        for (int a : alphas)
            n += a > 0;
        return n;
    }
    int live = CBaseObject::liveObjects();
    MyFrame *frame = nullptr;
    CZEMTapeLabel *label = nullptr;
};

TEST_F(TapeLabel, IsTheLabelChangeFieldInTheSharedLabelFont)
{
    EXPECT_EQ(label->getTag(), 69);
    EXPECT_TRUE(label->getUseFontForEdit());
    EXPECT_EQ(label->getFontColor(), CColor(4, 45, 85, 205));
    EXPECT_EQ(label->getFont(), sharedLabelFont);
    EXPECT_EQ(label->getMarkerHome(), CRect(566 - 20 - 47, 200, 566 - 20, 233));
    EXPECT_EQ(label->getMarkerRect(), label->getMarkerHome());
    EXPECT_EQ(label->getBackOffset(), CPoint(20, 200));
}

TEST_F(TapeLabel, TheMarkerFollowsItsTableAndIsHomeAgainAfter95Steps)
{
    uint32_t now = 1000;
    label->animationStep(now);
    EXPECT_EQ(label->getStep(), 0) << "no animation while not editing";

    FrameDriver(frame).click(100, 220);
    ASSERT_TRUE(label->isBeingEdited());
    label->animationStep(now);
    ASSERT_EQ(label->getStep(), 1);
    CRect previous = label->getMarkerRect();
    label->animationStep(now + 29);
    EXPECT_EQ(label->getStep(), 1) << "a step waits for 30 ms";
    int largest = 0;
    for (int s = 2; s < CZEMTapeLabel::kSteps; ++s) {
        now += 30;
        label->animationStep(now);
        ASSERT_EQ(label->getStep(), s);
        CPoint move = CZEMTapeLabel::markerMove(s);
        CRect expected(previous);
        expected.offset(move.x, move.y);
        ASSERT_EQ(label->getMarkerRect(), expected) << "step " << s;
        int dx = (int)(label->getMarkerRect().left - label->getMarkerHome().left);
        int dy = (int)(label->getMarkerRect().top - label->getMarkerHome().top);
        largest = std::max(largest, std::max(std::abs(dx), std::abs(dy)));
        previous = label->getMarkerRect();
    }
    EXPECT_GT(largest, 3) << "the marker wanders";
    EXPECT_LE(largest, 20) << "and stays near home";
    EXPECT_EQ(CZEMTapeLabel::markerMove(1), CPoint(0, 0));
    EXPECT_EQ(CZEMTapeLabel::markerMove(69), CPoint(-1, -2));
    now += 30;
    label->animationStep(now);
    EXPECT_EQ(label->getStep(), 0);
    EXPECT_EQ(label->getMarkerRect(), label->getMarkerHome());
    FrameDriver(frame).key("escape");
}

TEST_F(TapeLabel, DrawsTheMarkerWhileEditedAndItsTextAgainAfter)
{
    label->setFont(
        new CZEMCustomFont("file", 38, kNormalFace, new ZEMCoreTextFont(repositoryFontFile(), 38, kNormalFace)));
    label->getFont()->forget();  // the label holds it
    label->setText("Kick In");
    std::vector<int> before = picture();
    ASSERT_GT(painted(before), 100) << "the text in the private typeface";

    FrameDriver(frame).click(100, 220);
    ASSERT_TRUE(label->isBeingEdited());
    std::vector<int> editing = picture();
    EXPECT_NE(editing, before);
    EXPECT_GT(painted(editing), 200) << "the marker";

    FrameDriver(frame).key("escape");
    EXPECT_FALSE(label->isBeingEdited());
    EXPECT_EQ(std::string(label->getText()), "Kick In");
    EXPECT_EQ(picture(), before);
}

TEST_F(TapeLabel, ItsTextLiesWholeInsideTheTapeWithRoomAroundIt)
{
    // The label strip's tape: 506 x 34 pixels.
    auto *tape = new CZEMTapeLabel(CRect(17, 101, 523, 135), nullptr, nullptr);
    tape->setStyle(CTextLabel::kNoFrame | CTextLabel::kNoDrawBackground);
    tape->setFont(
        new CZEMCustomFont("file", 38, kNormalFace, new ZEMCoreTextFont(repositoryFontFile(), 38, kNormalFace)));
    tape->getFont()->forget();
    frame->addView(tape);
    const int width = 506, height = 34;
    for (const char *text : {"\xC3\x89tude in G major", "OVERHEADS LEFT AND RIGHT ROOM", "W"}) {
        SCOPED_TRACE(text);
        tape->setText(text);
        const std::vector<int> alphas = picture(tape);
        ASSERT_EQ(alphas.size(), (size_t)(width * height));
        std::vector<int> rows(height), columns(width);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (alphas[(size_t)(y * width + x)] > 0) {
                    ++rows[(size_t)y];
                    ++columns[(size_t)x];
                }
        ASSERT_GT(painted(alphas), 100);
        EXPECT_EQ(rows.front(), 0) << "room above the text";
        EXPECT_EQ(rows.back(), 0) << "room below the text";
        EXPECT_EQ(columns.front(), 0) << "room before the text";
        EXPECT_EQ(columns.back(), 0) << "room after the text";
        if (text[0] == '\xC3') {
            // From the accent over the capital down to the descenders the line fills the tape:
            // nothing of it is cut off, and it is no smaller than it needs to be.
            int first = 0, last = height - 1;
            while (first < height && rows[(size_t)first] == 0)
                ++first;
            while (last > 0 && rows[(size_t)last] == 0)
                --last;
            EXPECT_LE(first, 3);
            EXPECT_GE(last, height - 4);
        }
    }
    EXPECT_EQ(tape->getFont()->getSize(), 38) << "the label's own font stays as it is";
}

}  // namespace

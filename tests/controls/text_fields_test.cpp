// In-place text fields through the frame's real edit box (Windows: the native EDIT window fed
// with keyboard messages; Linux: the offscreen frame's scripted box).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "ui/win32/win32_text_edit.h"
#endif

#include "editor/my_frame.h"
#include "controls/zem_on_off_button.h"
#include "controls/zem_text_edit.h"
#include "ui/bitmap.h"
#include "ui/font.h"
#include "ui/frame_driver.h"

using namespace VSTGUI;

namespace {

using Lines = std::vector<std::string>;

class Recorder : public CControlListener {
public:
    void valueChanged(CControl *c) override
    {
        std::string text;
        if (auto *field = dynamic_cast<CZEMTextEdit *>(c))
            text = std::string(" \"") + field->getText() + "\"";
        log.push_back("value " + std::to_string(c->getTag()) + text);
    }
    void controlBeginEdit(CControl *c) override { log.push_back("begin " + std::to_string(c->getTag())); }
    void controlEndEdit(CControl *c) override { log.push_back("end " + std::to_string(c->getTag())); }
    Lines log;
};

// Reads a number of dB from the text, as the trim field does.
void textToNumber(const char *text, float &value, void *)
{
    float v = 0;
    if (std::sscanf(text, "%f", &v) == 1)
        value = v;
}

class TextFields : public ::testing::Test {
protected:
    void SetUp() override { frame = openFrame(); }
    void TearDown() override
    {
        if (frame)
            frame->forget();
        EXPECT_EQ(activeInPlaceEdit, nullptr);
        EXPECT_EQ(CBaseObject::liveObjects(), live);
    }
    MyFrame *openFrame()
    {
        auto *f = new MyFrame(CRect(0, 0, 586, 300), parent.handle(), nullptr);
        f->focusOnClick = true;
        return f;
    }
    CZEMTextEdit *addField(CFrame *to, const CRect &r, const char *text, long tag = 68)
    {
        auto *field = new CZEMTextEdit(r, &listener, tag, text, nullptr);
        to->addView(field);
        return field;
    }
    std::string boxText() const
    {
        return activeInPlaceEdit && activeInPlaceEdit->getBox() ? activeInPlaceEdit->getBox()->getText() : "<none>";
    }
    int live = CBaseObject::liveObjects();
    TestParentWindow &parent = sharedParentWindow();
    MyFrame *frame = nullptr;
    Recorder listener;
};

TEST_F(TextFields, TheBoxLiesOverTheFieldOnePixelHigherAndAsHighAsTheFont)
{
    EXPECT_EQ(CZEMTextEdit::editBoxRect(CRect(10, 40, 110, 58), 9), CRect(10, 42, 110, 54));
    EXPECT_EQ(CZEMTextEdit::editBoxRect(CRect(0, 0, 200, 40), 38), CRect(0, -1, 200, 40));

    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "0.0 dB");
    FrameDriver(frame).click(20, 45);
    ASSERT_TRUE(field->isBeingEdited());
    EXPECT_EQ(activeInPlaceEdit, &field->getInPlaceEdit());
    EXPECT_EQ(activeInPlaceEdit->getRect(), CRect(10, 42, 110, 54));
    EXPECT_EQ(boxText(), "0.0 dB");
    EXPECT_STREQ(field->getText(), "");  // the label shows no text under the box
    FrameDriver(frame).key("escape");
}

TEST_F(TextFields, AtAZoomTheBoxLiesOnTheScaledRectWithAFontAndABackgroundOfTheScaledSize)
{
    ASSERT_TRUE(frame->setZoom(2.0));
    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "0.0 dB");
    FrameDriver(frame).click(40, 90);  // window pixels: the field's 20,45
    ASSERT_TRUE(field->isBeingEdited());
    EXPECT_EQ(activeInPlaceEdit->getRect(), CRect(10, 42, 110, 54));  // frame coordinates
    EXPECT_EQ(activeInPlaceEdit->getBox()->getStyle().zoom, 2.0);
    CBitmap *background = activeInPlaceEdit->platformTextEditBackground(activeInPlaceEdit->getRect());
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->getWidth(), 200);
    EXPECT_EQ(background->getHeight(), 24);
    background->forget();
#ifdef _WIN32
    HWND box = GetFocus();
    RECT r{};
    GetWindowRect(box, &r);
    MapWindowPoints(nullptr, static_cast<HWND>(frame->getSystemWindow()), reinterpret_cast<POINT *>(&r), 2);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 84);
    EXPECT_EQ(r.right, 220);
    EXPECT_EQ(r.bottom, 108);
    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, -(LONG)std::lround(field->getFont()->getSize() * 2));
#endif
    FrameDriver(frame).key("escape");
}

TEST_F(TextFields, EnterCommitsTheFirst29CharactersAndReportsInsideOneEdit)
{
    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "0.0 dB");
    field->setStringToValueFunction(textToNumber);
    FrameDriver keys(frame);
    keys.click(20, 45);
    ASSERT_TRUE(keys.type("1234567890abcdefghijklmnopqrstuvwxyzABCD"));
    EXPECT_EQ(std::string(field->getText()), "1234567890abcdefghijklmnopqrs");  // follows every keystroke
    ASSERT_TRUE(keys.key("enter"));
    EXPECT_FALSE(field->isBeingEdited());
    EXPECT_EQ(activeInPlaceEdit, nullptr);
    EXPECT_EQ(std::string(field->getText()), "1234567890abcdefghijklmnopqrs");
    EXPECT_FLOAT_EQ(field->getValue(), 1234567890.f);
    EXPECT_EQ(listener.log, (Lines{"begin 68", "value 68 \"1234567890abcdefghijklmnopqrs\"", "end 68"}));
    EXPECT_FALSE(keys.key("enter"));  // the box is gone
}

TEST_F(TextFields, TabCommitsLikeEnterAndEscapeRestoresWithoutReporting)
{
    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "-3.0 dB");
    field->setStringToValueFunction(textToNumber);
    FrameDriver keys(frame);

    keys.click(20, 45);
    keys.type("7.5");
    keys.key("escape");
    EXPECT_EQ(std::string(field->getText()), "-3.0 dB");
    EXPECT_FALSE(field->isBeingEdited());
    EXPECT_EQ(activeInPlaceEdit, nullptr);
    EXPECT_TRUE(listener.log.empty());

    keys.click(20, 45);
    keys.type("7.5");
    keys.key("tab");
    EXPECT_EQ(std::string(field->getText()), "7.5");
    EXPECT_FLOAT_EQ(field->getValue(), 7.5f);
    EXPECT_EQ(listener.log, (Lines{"begin 68", "value 68 \"7.5\"", "end 68"}));
}

TEST_F(TextFields, ClickingAnotherControlCommitsBeforeThatControlActs)
{
    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "a");
    auto *button = new CZEMOnOffButton(CRect(200, 40, 220, 60), &listener, 6, nullptr);
    frame->addView(button);
    FrameDriver keys(frame);
    keys.click(20, 45);
    keys.type("typed");
    keys.click(210, 50);
    EXPECT_FALSE(field->isBeingEdited());
    EXPECT_EQ(std::string(field->getText()), "typed");
    EXPECT_EQ(listener.log, (Lines{"begin 68", "value 68 \"typed\"", "end 68", "begin 6", "value 6", "end 6"}));
}

TEST_F(TextFields, TheBoxTakesTheFieldsAlignmentFontAndTextColour)
{
    const CHoriTxtAlign aligns[] = {kLeftText, kCenterText, kRightText};
    FrameDriver keys(frame);
    for (CHoriTxtAlign align : aligns) {
        CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "x");
        field->setHoriAlign(align);
        field->setFontColor(CColor(10, 20, 30, 255));
        if (align == kRightText)
            field->setEditTextColour(CColor(200, 100, 50, 255));
        keys.click(20, 45);
        ASSERT_NE(activeInPlaceEdit, nullptr);
        const PlatformTextEditStyle &style = activeInPlaceEdit->getBox()->getStyle();
        EXPECT_EQ(style.align, align);
        EXPECT_EQ(style.font, field->getFont());
        EXPECT_EQ(style.fontColor, align == kRightText ? CColor(200, 100, 50, 255) : CColor(10, 20, 30, 255));
#ifdef _WIN32
        LONG windowStyle = GetWindowLongW(GetFocus(), GWL_STYLE);
        LONG expected = align == kCenterText ? ES_CENTER : align == kRightText ? ES_RIGHT : ES_LEFT;
        EXPECT_EQ(windowStyle & (ES_CENTER | ES_RIGHT), expected);
        EXPECT_EQ(SendMessageW(GetFocus(), EM_GETLIMITTEXT, 0, 0), 29);
#endif
        keys.key("enter");
        frame->removeView(field);
    }
}

TEST_F(TextFields, AnInactiveTrimFieldIgnoresClicksAndExplainsWhatActivatesIt)
{
    auto *hint = new CHelpHintLabel(CRect(304, 0, 496, 14));
    frame->addView(hint);
    auto *field = new CMyTextEditAH(CRect(10, 40, 110, 58), &listener, 68, "0.0 dB", nullptr);
    field->setHintTarget(hint);
    field->setActive(0);
    frame->addView(field);
    FrameDriver mouse(frame);
    mouse.move(20, 45);
    EXPECT_EQ(std::string(hint->getText()), "Click PROCESS to activate the Trim");
    mouse.click(20, 45);
    EXPECT_FALSE(field->isBeingEdited());
    EXPECT_EQ(activeInPlaceEdit, nullptr);
    mouse.move(300, 200);
    EXPECT_EQ(std::string(hint->getText()), "");

    field->setActive(1);
    mouse.move(20, 45);
    EXPECT_EQ(std::string(hint->getText()), "");
    mouse.click(20, 45);
    EXPECT_TRUE(field->isBeingEdited());
    mouse.type("1.5");
    mouse.key("enter");
    EXPECT_EQ(listener.log, (Lines{"begin 68", "value 68 \"1.5\"", "end 68"}));
}

TEST_F(TextFields, CommittedTextIsCutAtACharacterBoundary)
{
    EXPECT_EQ(cutUtf8("abc", 29), "abc");
    EXPECT_EQ(cutUtf8(std::string(29, 'a'), 29), std::string(29, 'a'));
    // 28 bytes of "a" then a two-byte character: the character does not fit whole.
    EXPECT_EQ(cutUtf8(std::string(28, 'a') + "\xC3\xA9", 29), std::string(28, 'a'));
    // A four-byte character straddling the limit goes whole.
    EXPECT_EQ(cutUtf8(std::string(27, 'a') + "\xF0\x9F\x8E\xB5" + "b", 29), std::string(27, 'a'));

    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "label", 69);
    FrameDriver keys(frame);
    keys.click(20, 45);
    std::string euros;
    for (int i = 0; i < 12; ++i)
        euros += "\xE2\x82\xAC";  // 36 bytes
    keys.type(euros);
    keys.key("enter");
    EXPECT_EQ(std::string(field->getText()), euros.substr(0, 27));
    char buffer[8];
    field->getText(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), euros.substr(0, 6));
}

TEST_F(TextFields, TheBoxHoldsNoMoreThanTheFieldKeepsAndNeverPartOfACharacter)
{
    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "0.0 dB");
    FrameDriver keys(frame);
    keys.click(20, 45);
    ASSERT_TRUE(keys.type("1234567890abcdefghijklmnopqrstuvwxyzABCD"));
    EXPECT_EQ(boxText(), "1234567890abcdefghijklmnopqrs") << "the user sees the limit while typing";
    keys.key("escape");

    keys.click(20, 45);
    std::string euros;
    for (int i = 0; i < 12; ++i)
        euros += "\xE2\x82\xAC";  // three bytes each
    ASSERT_TRUE(keys.type(euros));
    EXPECT_EQ(boxText(), euros.substr(0, 27));
    ASSERT_TRUE(keys.type("ab"));
    EXPECT_EQ(boxText(), euros.substr(0, 27) + "ab");
    keys.key("enter");
    EXPECT_EQ(std::string(field->getText()), euros.substr(0, 27) + "ab");
}

TEST_F(TextFields, CommittingTheUnchangedTextKeepsTheWholeTextAndReportsNothing)
{
    const std::string longText = "a label of 36 bytes, from a chunk...";
    ASSERT_EQ(longText.size(), 36u);
    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), longText.c_str(), 69);
    FrameDriver keys(frame);
    keys.click(20, 45);
    EXPECT_EQ(boxText(), longText.substr(0, 29));
    keys.key("enter");
    EXPECT_FALSE(field->isBeingEdited());
    EXPECT_EQ(std::string(field->getText()), longText);
    keys.click(20, 45);
    keys.key("tab");
    keys.click(20, 45);
    keys.click(300, 200);  // away: the box loses the focus
    EXPECT_FALSE(field->isBeingEdited());
    EXPECT_EQ(std::string(field->getText()), longText);
    keys.click(20, 45);
    keys.key("escape");
    EXPECT_EQ(std::string(field->getText()), longText);
    EXPECT_TRUE(listener.log.empty());
}

TEST_F(TextFields, OnlyTheLeftButtonOpensTheBox)
{
    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "0.0 dB");
    FrameDriver mouse(frame);
    mouse.click(20, 45, kRButton);
    mouse.click(20, 45, kMButton);
    EXPECT_FALSE(field->isBeingEdited());
    EXPECT_EQ(activeInPlaceEdit, nullptr);
    CPoint where(20, 45);
    EXPECT_EQ(field->onMouseDown(where, CButtonState(kRButton)), kMouseEventNotHandled);
    mouse.click(20, 45, kLButton);
    EXPECT_TRUE(field->isBeingEdited());
    mouse.key("escape");
}

TEST_F(TextFields, OneBoxIsOpenInTheWholeProcess)
{
    MyFrame *other = openFrame();
    CZEMTextEdit *first = addField(frame, CRect(10, 40, 110, 58), "one", 68);
    CZEMTextEdit *second = addField(other, CRect(10, 40, 110, 58), "two", 69);
    FrameDriver(frame).click(20, 45);
    FrameDriver(frame).type("first");
    FrameDriver(other).click(20, 45);
    EXPECT_FALSE(first->isBeingEdited());
    EXPECT_TRUE(second->isBeingEdited());
    EXPECT_EQ(activeInPlaceEdit, &second->getInPlaceEdit());
    EXPECT_EQ(std::string(first->getText()), "first");
    EXPECT_FALSE(FrameDriver(frame).key("enter"));
    EXPECT_TRUE(FrameDriver(other).type("second"));
    EXPECT_TRUE(FrameDriver(other).key("enter"));
    EXPECT_EQ(listener.log,
              (Lines{"begin 68", "value 68 \"first\"", "end 68", "begin 69", "value 69 \"second\"", "end 69"}));
    other->forget();
}

TEST_F(TextFields, ClosingTheFrameWithABoxOpenClosesTheBoxSilently)
{
    int windows = countThreadWindows();
    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "kept");
    field->remember();
    FrameDriver(frame).click(20, 45);
    FrameDriver(frame).type("dropped");
    frame->forget();
    frame = nullptr;
    EXPECT_EQ(activeInPlaceEdit, nullptr);
    EXPECT_FALSE(field->isBeingEdited());
    EXPECT_EQ(std::string(field->getText()), "kept");
    EXPECT_TRUE(listener.log.empty());
#ifdef _WIN32
    EXPECT_EQ(countThreadWindows(), windows - 1);  // the frame's window and the box are gone
#else
    (void)windows;
#endif
    field->forget();
}

#ifdef _WIN32
// A field that counts how often its picture is drawn: on the screen or as the box's background.
class CountingField : public CZEMTextEdit {
public:
    using CZEMTextEdit::CZEMTextEdit;
    void draw(CDrawContext *context) override
    {
        ++draws;
        CZEMTextEdit::draw(context);
    }
    int draws = 0;
};

void pumpMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

TEST_F(TextFields, TheBoxRendersItsBackgroundAgainOnlyWhenTheFieldsPictureChanges)
{
    auto *field = new CountingField(CRect(10, 40, 110, 58), &listener, 68, "0.0 dB", nullptr);
    frame->addView(field);
    FrameDriver keys(frame);
    keys.click(20, 45);
    ASSERT_TRUE(field->isBeingEdited());
    HWND box = GetFocus();
    frame->idle();
    pumpMessages();
    const int drawn = field->draws;
    HWND window = static_cast<HWND>(frame->getSystemWindow());
    for (int i = 0; i < 50; ++i)
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(300, 200 + i % 2));
    ASSERT_TRUE(keys.type("12"));
    UpdateWindow(box);
    EXPECT_EQ(field->draws, drawn) << "mouse moves and typing leave the field's picture as it was";

    // Something is drawn under the box: the box shows it.
    field->invalid();
    frame->idle();
    pumpMessages();
    UpdateWindow(box);
    EXPECT_GT(field->draws, drawn);
    keys.key("escape");
}

// Under Wine GetGuiResources answers 0: the boxes count the GDI objects they make.
TEST_F(TextFields, ManyBoxCyclesLeaveNoWindowBrushOrFontBehind)
{
    CZEMTextEdit *field = addField(frame, CRect(10, 40, 110, 58), "0");
    FrameDriver keys(frame);
    int windows = countThreadWindows();
    int gdi = win32TextEditLiveGdiObjects();
    for (int i = 0; i < 200; ++i) {
        keys.click(20, 45);
        ASSERT_EQ(countThreadWindows(), windows + 1);
        ASSERT_GT(win32TextEditLiveGdiObjects(), gdi);
        keys.type(std::to_string(i));
        SendMessageW(static_cast<HWND>(frame->getSystemWindow()), WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
        keys.key(i % 3 == 0 ? "escape" : i % 3 == 1 ? "enter" : "tab");
    }
    EXPECT_EQ(countThreadWindows(), windows);
    EXPECT_EQ(win32TextEditLiveGdiObjects(), gdi);
    EXPECT_EQ(std::string(field->getText()), "199");
}
#endif

}  // namespace

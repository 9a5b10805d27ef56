// The edit box's text, caret and selection: what each editing key does, by characters (not
// bytes) in UTF-8, within the box's limit of characters.
#include <gtest/gtest.h>

#include "ui/x11/text_edit_buffer.h"

using VSTGUI::TextEditBuffer;

namespace {

TEST(TextEditBuffer, TypingReplacesTheSelectionAndTheKeysMoveByCharacters)
{
    TextEditBuffer box("0.0");
    EXPECT_EQ(box.caret(), 3u);
    box.selectAll();
    box.insert("-3.5");
    EXPECT_EQ(box.text(), "-3.5");
    EXPECT_FALSE(box.hasSelection());
    box.home(false);
    box.deleteForward();
    box.end(false);
    box.backspace();
    EXPECT_EQ(box.text(), "3.");
    box.left(true);
    box.left(true);
    EXPECT_EQ(box.selectionStart(), 0u);
    EXPECT_EQ(box.selectionEnd(), 2u);
    // Without Shift an arrow collapses the selection to the side it points to.
    box.right(false);
    EXPECT_EQ(box.caret(), 2u);
    EXPECT_FALSE(box.hasSelection());
    box.left(true);
    box.left(false);
    EXPECT_EQ(box.caret(), 1u);
    box.backspace();
    box.backspace();  // nothing left of the caret
    EXPECT_EQ(box.text(), ".");
    box.end(false);
    box.deleteForward();  // nothing right of the caret
    EXPECT_EQ(box.text(), ".");
}

TEST(TextEditBuffer, MultiByteCharactersAreEditedWhole)
{
    TextEditBuffer box("a\xC3\xA9\xE2\x82\xAC");  // a, e acute, euro sign
    box.backspace();
    EXPECT_EQ(box.text(), "a\xC3\xA9");
    box.left(false);
    EXPECT_EQ(box.caret(), 1u);
    box.right(true);
    EXPECT_EQ(box.selectionEnd(), 3u);
    box.insert("\xF0\x9F\x8E\xB5");  // a character of four bytes
    EXPECT_EQ(box.text(), "a\xF0\x9F\x8E\xB5");
    // A caret placed inside a character goes to its start.
    box.placeCaret(3, false);
    EXPECT_EQ(box.caret(), 1u);
}

TEST(TextEditBuffer, ControlCharactersBrokenSequencesAndTheLimitAreKeptOut)
{
    TextEditBuffer box;
    box.insert("1\t2\n3\x7F"
               "4\xC3"
               "5\x80"
               "6");
    EXPECT_EQ(box.text(), "123456");
    box.selectAll();
    box.insert(std::string(300, 'x'));
    EXPECT_EQ(box.text().size(), TextEditBuffer::kMaxBytes);
    box.insert("y");
    EXPECT_EQ(box.text().size(), TextEditBuffer::kMaxBytes) << "a full box takes no more";
    box.home(false);
    box.end(true);
    box.insert("\xE2\x82\xAC");
    EXPECT_EQ(box.text(), "\xE2\x82\xAC");
    EXPECT_EQ(TextEditBuffer::characterCount(std::string(254, 'x') + "\xE2\x82\xAC\xE2\x82\xAC"), 256u);
    TextEditBuffer full(std::string(252, 'x') + "\xE2\x82\xAC\xE2\x82\xAC");
    EXPECT_EQ(full.text(), std::string(252, 'x') + "\xE2\x82\xAC") << "the limit counts bytes, whole characters only";
    TextEditBuffer label(std::string(), 29);
    label.insert(std::string(27, 'a') + "\xC3\xA9" + "b");
    EXPECT_EQ(label.text(), std::string(27, 'a') + "\xC3\xA9");
    label.insert("\xC3\xA9");
    EXPECT_EQ(label.text().size(), 29u) << "a two-byte character does not fit in a full box";

    TextEditBuffer five("abc\xC3\xA9"
                        "def",
                        5);
    EXPECT_EQ(five.text(), "abc\xC3\xA9") << "a box of 5 bytes";
    five.backspace();
    five.backspace();
    five.insert("\xE2\x82\xAC"
                "x");
    EXPECT_EQ(five.text(), "ab\xE2\x82\xAC");
}

}  // namespace

// The text, caret and selection of a single-line edit box, in UTF-8, with the editing keys a
// user expects. No window system here: the X11 edit box feeds it keys and draws what it holds.
// [ui-thread] (one box, one owner)
#pragma once

#include <cstddef>
#include <string>

namespace VSTGUI {

class TextEditBuffer {
public:
    // A box holds at most this many bytes of UTF-8 unless told otherwise.
    static constexpr size_t kMaxBytes = 255;

    explicit TextEditBuffer(const std::string &text = std::string(), size_t maxBytes = kMaxBytes);

    const std::string &text() const { return content; }
    // Byte offsets into text(), always on character boundaries. The selection runs between
    // anchor and caret; it is empty when they are equal.
    size_t caret() const { return caretAt; }
    size_t selectionStart() const { return caretAt < anchor ? caretAt : anchor; }
    size_t selectionEnd() const { return caretAt < anchor ? anchor : caretAt; }
    bool hasSelection() const { return caretAt != anchor; }

    void selectAll();
    // Replaces the selection with typed text (UTF-8; control characters and broken sequences
    // are dropped), as many whole characters as the byte limit allows.
    void insert(const std::string &typed);
    void backspace();
    void deleteForward();
    // The caret moves by one character or to an end; extend keeps the selection's anchor.
    void left(bool extend);
    void right(bool extend);
    void home(bool extend);
    void end(bool extend);
    // Puts the caret at a byte offset (clamped to a boundary), as a click does.
    void placeCaret(size_t offset, bool extend);

    static size_t characterCount(const std::string &utf8);

private:
    size_t previousBoundary(size_t offset) const;
    size_t nextBoundary(size_t offset) const;
    void moveTo(size_t offset, bool extend);
    void eraseSelection();

    size_t maxBytes;
    std::string content;
    size_t caretAt = 0;
    size_t anchor = 0;
};

}  // namespace VSTGUI

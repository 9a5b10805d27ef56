#include "text_edit_buffer.h"

namespace VSTGUI {

namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of a well-formed UTF-8 sequence starting at text[i], or 0.
size_t sequenceLength(const std::string &text, size_t i)
{
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
        if (!isContinuation(static_cast<unsigned char>(text[i + k])))
            return 0;
    return length;
}

// The well-formed, printable characters of text.
std::string cleaned(const std::string &text)
{
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const size_t length = sequenceLength(text, i);
        if (length == 0) {
            ++i;
            continue;
        }
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (!(length == 1 && (lead < 0x20 || lead == 0x7F)))
            out.append(text, i, length);
        i += length;
    }
    return out;
}

}  // namespace

TextEditBuffer::TextEditBuffer(const std::string &text, size_t maxBytes) : maxBytes(maxBytes)
{
    insert(text);
    caretAt = anchor = content.size();
}

size_t TextEditBuffer::characterCount(const std::string &utf8)
{
    size_t count = 0;
    for (unsigned char c : utf8)
        if (!isContinuation(c))
            ++count;
    return count;
}

void TextEditBuffer::selectAll()
{
    anchor = 0;
    caretAt = content.size();
}

void TextEditBuffer::eraseSelection()
{
    const size_t from = selectionStart();
    content.erase(from, selectionEnd() - from);
    caretAt = anchor = from;
}

void TextEditBuffer::insert(const std::string &typed)
{
    eraseSelection();
    const std::string clean = cleaned(typed);
    const size_t room = content.size() < maxBytes ? maxBytes - content.size() : 0;
    // Whole characters only: clean holds nothing but well-formed sequences.
    size_t take = 0;
    while (take < clean.size() && take + sequenceLength(clean, take) <= room)
        take += sequenceLength(clean, take);
    content.insert(caretAt, clean, 0, take);
    caretAt = anchor = caretAt + take;
}

void TextEditBuffer::backspace()
{
    if (!hasSelection())
        anchor = previousBoundary(caretAt);
    eraseSelection();
}

void TextEditBuffer::deleteForward()
{
    if (!hasSelection())
        anchor = nextBoundary(caretAt);
    eraseSelection();
}

size_t TextEditBuffer::previousBoundary(size_t offset) const
{
    if (offset == 0)
        return 0;
    --offset;
    while (offset > 0 && isContinuation(static_cast<unsigned char>(content[offset])))
        --offset;
    return offset;
}

size_t TextEditBuffer::nextBoundary(size_t offset) const
{
    if (offset >= content.size())
        return content.size();
    ++offset;
    while (offset < content.size() && isContinuation(static_cast<unsigned char>(content[offset])))
        ++offset;
    return offset;
}

void TextEditBuffer::moveTo(size_t offset, bool extend)
{
    caretAt = offset;
    if (!extend)
        anchor = offset;
}

void TextEditBuffer::left(bool extend)
{
    // Without Shift, a selection collapses to its start, as in every edit box.
    if (hasSelection() && !extend)
        moveTo(selectionStart(), false);
    else
        moveTo(previousBoundary(caretAt), extend);
}

void TextEditBuffer::right(bool extend)
{
    if (hasSelection() && !extend)
        moveTo(selectionEnd(), false);
    else
        moveTo(nextBoundary(caretAt), extend);
}

void TextEditBuffer::home(bool extend) { moveTo(0, extend); }
void TextEditBuffer::end(bool extend) { moveTo(content.size(), extend); }

void TextEditBuffer::placeCaret(size_t offset, bool extend)
{
    if (offset >= content.size())
        offset = content.size();
    while (offset > 0 && offset < content.size() && isContinuation(static_cast<unsigned char>(content[offset])))
        --offset;
    moveTo(offset, extend);
}

}  // namespace VSTGUI

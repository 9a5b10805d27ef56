#include "win32_text_edit.h"

#include <cmath>
#include <string>

#include "gdiplus_draw_context.h"
#include "ui/font.h"

namespace VSTGUI {

namespace {

int liveGdiObjects = 0;

// Every GDI object the boxes make passes through these two, so that they can be counted.
template <typename Handle> Handle counted(Handle h)
{
    if (h)
        ++liveGdiObjects;
    return h;
}
void deleteCounted(HGDIOBJ &h)
{
    if (h && DeleteObject(h))
        --liveGdiObjects;
    h = nullptr;
}

const wchar_t kEditProperty[] = L"ZemOrdwenInPlaceEdit";

std::string toUtf8(const wchar_t *text, int length)
{
    if (length <= 0)
        return std::string();
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], bytes, nullptr, nullptr);
    return out;
}

std::string toUtf8(const std::wstring &text) { return toUtf8(text.c_str(), (int)text.size()); }

HMODULE ownModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ownModule), &module);
    return module;
}

class Win32TextEdit : public IPlatformTextEdit {
public:
    Win32TextEdit(HWND parent, IPlatformTextEditCallback *owner, const PlatformTextEditStyle &style);
    ~Win32TextEdit() override;

    bool valid() const { return box != nullptr; }
    std::string getText() const override { return toUtf8(wideText()); }
    const PlatformTextEditStyle &getStyle() const override { return style; }
    bool isActive() const override { return owner != nullptr; }
    // Something was drawn under the box: its background is rendered again when it next paints.
    void areaChanged(const CRect &area);
    static Win32TextEdit *openOver(HWND parent);

private:
    static LRESULT CALLBACK boxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onBoxMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onParentMessage(UINT message, WPARAM wParam, LPARAM lParam);

    std::wstring wideText() const;
    // Lets the box's own procedure edit the text, then undoes the edit when the text no longer
    // fits the style's maxBytes; the owner hears of the text only as it stands after.
    LRESULT editWithinLimit(UINT message, WPARAM wParam, LPARAM lParam);
    // Ends the edit; answers whom to tell, null when it had ended already.
    IPlatformTextEditCallback *finish();
    // These tell the owner, which may delete this object: nothing of it is used after them.
    void commit();
    void cancel();
    void rebuildBrush();
    void restoreProcedures();

    HWND parent;
    IPlatformTextEditCallback *owner;
    PlatformTextEditStyle style;
    HWND box = nullptr;
    WNDPROC previousBoxProc = nullptr;
    WNDPROC previousParentProc = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ brushBitmap = nullptr;
    HGDIOBJ font = nullptr;  // made for the box; null when the box uses the field's native font
    COLORREF textColour;
    bool brushStale = false;      // the picture under the box changed since the brush was made
    bool holdingChanges = false;  // an edit is under way in editWithinLimit
};

Win32TextEdit::Win32TextEdit(HWND parent, IPlatformTextEditCallback *owner, const PlatformTextEditStyle &style)
    : parent(parent), owner(owner), style(style),
      textColour(RGB(style.fontColor.red, style.fontColor.green, style.fontColor.blue))
{
    if (!parent || !IsWindow(parent) || !owner)
        return;
    rebuildBrush();

    HFONT boxFont = nullptr;
    if (style.font) {
        // The field's native font has its own size: at a zoom the box makes one of the scaled size.
        if (style.useNativeFont && style.zoom == 1.0) {
            if (IPlatformFont *platform = style.font->getPlatformFont())
                boxFont = static_cast<HFONT>(platform->getNativeFont());
        }
        if (!boxFont) {
            std::wstring face = toWide(style.font->getName().c_str());
            font = counted(CreateFontW(-(int)std::lround(style.font->getSize() * style.zoom), 0, 0, 0, FW_NORMAL, FALSE,
                                       FALSE, FALSE, ANSI_CHARSET, OUT_STRING_PRECIS, CLIP_STROKE_PRECIS,
                                       DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, face.c_str()));
            boxFont = static_cast<HFONT>(font);
        }
    }

    DWORD align = style.align == kCenterText ? ES_CENTER : style.align == kRightText ? ES_RIGHT : ES_LEFT;
    const CRect r = zoomedRect(style.rect, style.zoom);
    std::wstring text = toWide(style.text.c_str());
    box = CreateWindowExW(0, L"EDIT", text.c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | align, (int)r.left,
                          (int)r.top, (int)r.getWidth(), (int)r.getHeight(), parent, nullptr, ownModule(), nullptr);
    if (!box)
        return;
    SetPropW(box, kEditProperty, this);
    previousBoxProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32TextEdit::boxProc)));
    if (boxFont)
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(boxFont), FALSE);
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    // A UTF-16 unit is at least one byte of UTF-8, so the native limit never cuts below the
    // byte limit; editWithinLimit keeps the bytes.
    SendMessageW(box, EM_LIMITTEXT, style.maxBytes > 0 ? (WPARAM)style.maxBytes : 1, 0);
    SetFocus(box);
    SetPropW(parent, kEditProperty, this);
    previousParentProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32TextEdit::parentProc)));
}

Win32TextEdit::~Win32TextEdit()
{
    owner = nullptr;
    restoreProcedures();
    if (box && IsWindow(box)) {
        // The keyboard goes back to the frame's window (unless the box had lost it already).
        if (GetFocus() == box && IsWindow(parent)) {
            SetActiveWindow(GetAncestor(parent, GA_ROOT));
            SetFocus(parent);
        }
        DestroyWindow(box);
    }
    deleteCounted(brush);
    deleteCounted(brushBitmap);
    deleteCounted(font);
}

void Win32TextEdit::restoreProcedures()
{
    if (box && previousBoxProc && IsWindow(box)) {
        // Put back only what is still ours: a later subclass would otherwise lose its link.
        if (GetWindowLongPtrW(box, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Win32TextEdit::boxProc))
            SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousBoxProc));
        RemovePropW(box, kEditProperty);
    }
    previousBoxProc = nullptr;
    if (previousParentProc && IsWindow(parent)) {
        if (GetWindowLongPtrW(parent, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Win32TextEdit::parentProc))
            SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousParentProc));
        RemovePropW(parent, kEditProperty);
    }
    previousParentProc = nullptr;
}

std::wstring Win32TextEdit::wideText() const
{
    if (!box)
        return std::wstring();
    int length = GetWindowTextLengthW(box);
    std::wstring buffer((size_t)(length > 0 ? length : 0) + 1, L'\0');
    length = GetWindowTextW(box, &buffer[0], (int)buffer.size());
    buffer.resize(length > 0 ? (size_t)length : 0);
    return buffer;
}

LRESULT Win32TextEdit::editWithinLimit(UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::wstring before = wideText();
    DWORD selectionStart = 0, selectionEnd = 0;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart), reinterpret_cast<LPARAM>(&selectionEnd));
    holdingChanges = true;
    LRESULT result = CallWindowProcW(previousBoxProc, box, message, wParam, lParam);
    std::wstring after = wideText();
    if (toUtf8(after).size() > style.maxBytes) {
        SetWindowTextW(box, before.c_str());
        SendMessageW(box, EM_SETSEL, selectionStart, selectionEnd);
        after = before;
    }
    holdingChanges = false;
    if (owner && after != before)
        owner->platformTextEditChanged(toUtf8(after));
    return result;
}

void Win32TextEdit::areaChanged(const CRect &area)
{
    CRect under = zoomedRect(style.rect, style.zoom);  // area is in window pixels
    if (!owner || under.bound(area).isEmpty())
        return;
    brushStale = true;
    InvalidateRect(box, nullptr, TRUE);
}

Win32TextEdit *Win32TextEdit::openOver(HWND parent)
{
    auto *edit = static_cast<Win32TextEdit *>(GetPropW(parent, kEditProperty));
    return edit && edit->parent == parent ? edit : nullptr;
}

void Win32TextEdit::rebuildBrush()
{
    CBitmap *picture = owner ? owner->platformTextEditBackground(style.rect) : nullptr;
    HBITMAP bitmap = nullptr;
    if (picture) {
        if (auto *platform = static_cast<GdiplusBitmap *>(picture->getPlatformBitmap()))
            platform->get()->GetHBITMAP(Gdiplus::Color(255, 0, 0, 0), &bitmap);
        picture->forget();
    }
    HGDIOBJ newBitmap = counted(bitmap);
    HGDIOBJ newBrush = bitmap ? counted(CreatePatternBrush(bitmap))
                              : counted(CreateSolidBrush(
                                    RGB(style.backColor.red, style.backColor.green, style.backColor.blue)));
    deleteCounted(brush);
    deleteCounted(brushBitmap);
    brush = newBrush;
    brushBitmap = newBitmap;
}

IPlatformTextEditCallback *Win32TextEdit::finish()
{
    IPlatformTextEditCallback *reportTo = owner;
    owner = nullptr;
    return reportTo;
}

void Win32TextEdit::commit()
{
    std::string text = getText();
    if (IPlatformTextEditCallback *reportTo = finish())
        reportTo->platformTextEditCommitted(text);
}

void Win32TextEdit::cancel()
{
    if (IPlatformTextEditCallback *reportTo = finish())
        reportTo->platformTextEditCancelled();
}

LRESULT CALLBACK Win32TextEdit::boxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = static_cast<Win32TextEdit *>(GetPropW(hwnd, kEditProperty));
    if (self && self->box == hwnd) {
        try {
            return self->onBoxMessage(message, wParam, lParam);
        } catch (...) {
            return 0;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32TextEdit::onBoxMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (owner) {
        switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_TAB) {
                commit();
                return 0;
            }
            if (wParam == VK_ESCAPE) {
                cancel();
                return 0;
            }
            break;
        case WM_CHAR:
            // The characters of the three keys above would only make the box beep.
            if (wParam == L'\r' || wParam == L'\t' || wParam == 0x1B)
                return 0;
            return editWithinLimit(message, wParam, lParam);
        case WM_IME_CHAR:
        case WM_PASTE:
        case WM_UNDO:
        case EM_UNDO:
        case EM_REPLACESEL:
            return editWithinLimit(message, wParam, lParam);
        case WM_KILLFOCUS:
            commit();
            return 0;
        default:
            break;
        }
    }
    return CallWindowProcW(previousBoxProc, box, message, wParam, lParam);
}

LRESULT CALLBACK Win32TextEdit::parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *self = static_cast<Win32TextEdit *>(GetPropW(hwnd, kEditProperty));
    if (self && self->parent == hwnd) {
        try {
            return self->onParentMessage(message, wParam, lParam);
        } catch (...) {
            return 0;
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32TextEdit::onParentMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Kept apart: a commit below may delete this object.
    WNDPROC previous = previousParentProc;
    HWND window = parent;
    if (owner) {
        switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) == box) {
                if (HIWORD(wParam) == EN_CHANGE) {
                    if (!holdingChanges)
                        owner->platformTextEditChanged(getText());
                    return 0;
                }
                if (HIWORD(wParam) == EN_KILLFOCUS)
                    commit();
            }
            break;
        case WM_CTLCOLOREDIT:
            if (reinterpret_cast<HWND>(lParam) == box) {
                // The box paints: with the field's picture as it is now, rendered again only
                // when something was drawn under the box since (an animation under it).
                if (brushStale) {
                    brushStale = false;
                    rebuildBrush();
                }
                HDC dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, textColour);
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(brush);
            }
            break;
        default:
            break;
        }
    }
    return CallWindowProcW(previous, window, message, wParam, lParam);
}

}  // namespace

std::unique_ptr<IPlatformTextEdit> createWin32TextEdit(HWND parent, IPlatformTextEditCallback *owner,
                                                       const PlatformTextEditStyle &style)
{
    auto edit = std::make_unique<Win32TextEdit>(parent, owner, style);
    if (!edit->valid())
        return nullptr;
    return edit;
}

int win32TextEditLiveGdiObjects() { return liveGdiObjects; }

void win32TextEditAreaChanged(HWND parent, const CRect &area)
{
    if (Win32TextEdit *edit = Win32TextEdit::openOver(parent))
        edit->areaChanged(area);
}

}  // namespace VSTGUI

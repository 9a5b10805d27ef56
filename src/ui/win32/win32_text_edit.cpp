#include "win32_text_edit.h"

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
    std::string getText() const override { return readText(kMaxLength); }
    const PlatformTextEditStyle &getStyle() const override { return style; }
    bool isActive() const override { return owner != nullptr; }

private:
    static constexpr int kMaxLength = 255;
    // A commit reads this many UTF-16 characters at most.
    static constexpr int kCommitLength = 29;

    static LRESULT CALLBACK boxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK parentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onBoxMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onParentMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // At most maxUnits UTF-16 characters of the box, never half a surrogate pair.
    std::string readText(int maxUnits) const;
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
        if (style.useNativeFont) {
            if (IPlatformFont *platform = style.font->getPlatformFont())
                boxFont = static_cast<HFONT>(platform->getNativeFont());
        }
        if (!boxFont) {
            std::wstring face = toWide(style.font->getName().c_str());
            font = counted(CreateFontW(-(int)style.font->getSize(), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       ANSI_CHARSET, OUT_STRING_PRECIS, CLIP_STROKE_PRECIS, DEFAULT_QUALITY,
                                       VARIABLE_PITCH | FF_SWISS, face.c_str()));
            boxFont = static_cast<HFONT>(font);
        }
    }

    DWORD align = style.align == kCenterText ? ES_CENTER : style.align == kRightText ? ES_RIGHT : ES_LEFT;
    const CRect &r = style.rect;
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
    SendMessageW(box, EM_LIMITTEXT, style.maxLength > 0 ? style.maxLength : kMaxLength, 0);
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

std::string Win32TextEdit::readText(int maxUnits) const
{
    if (!box)
        return std::string();
    std::wstring buffer(maxUnits + 1, L'\0');
    int length = GetWindowTextW(box, &buffer[0], maxUnits + 1);
    if (length > 0 && buffer[length - 1] >= 0xD800 && buffer[length - 1] <= 0xDBFF)
        --length;  // the pair's second half was beyond the limit
    return toUtf8(buffer.c_str(), length);
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
                              : counted(CreateSolidBrush(RGB(style.backColor.red, style.backColor.green,
                                                             style.backColor.blue)));
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
    std::string text = readText(kCommitLength);
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
            break;
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
        // The field's picture may have changed (an animation under the box).
        rebuildBrush();
        switch (message) {
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_COMMAND:
            if (reinterpret_cast<HWND>(lParam) == box) {
                if (HIWORD(wParam) == EN_CHANGE) {
                    owner->platformTextEditChanged(readText(kMaxLength));
                    return 0;
                }
                if (HIWORD(wParam) == EN_KILLFOCUS)
                    commit();
            }
            break;
        case WM_CTLCOLOREDIT:
            if (reinterpret_cast<HWND>(lParam) == box) {
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

}  // namespace VSTGUI

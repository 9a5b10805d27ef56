// The in-place edit box of the offscreen frame. It draws nothing; tests and the harness type
// into it and end it the ways a user would (Return, Escape, a click elsewhere).
// [ui-thread]
#pragma once

#include "ui/platform_frame.h"

namespace VSTGUI {

class OffscreenPlatformFrame;

class OffscreenTextEdit : public IPlatformTextEdit {
public:
    OffscreenTextEdit(OffscreenPlatformFrame *frame, IPlatformTextEditCallback *owner,
                      const PlatformTextEditStyle &style);
    ~OffscreenTextEdit() override;

    std::string getText() const override { return text; }
    const PlatformTextEditStyle &getStyle() const override { return style; }
    bool isActive() const override { return owner != nullptr; }

    // Types the text (UTF-8): the first typing after opening replaces the text, which opens
    // selected; later typing adds to the end. The box keeps at most the style's maxBytes
    // bytes, whole characters only. Reports the change to the owner.
    void type(const std::string &typed);
    // Each ends the edit and reports to the owner, which may release the edit while told.
    void pressReturn();
    // Tab accepts the text as Return does.
    void pressTab() { pressReturn(); }
    void pressEscape();
    void loseFocus();
    // The frame's window is gone before the edit.
    void detachFromFrame() { frame = nullptr; }

private:
    // Ends the edit: no more reports. Answers the owner to report to, or null if already ended.
    IPlatformTextEditCallback *finish();

    OffscreenPlatformFrame *frame;
    IPlatformTextEditCallback *owner;
    PlatformTextEditStyle style;
    std::string text;
    bool allSelected = true;
};

}  // namespace VSTGUI

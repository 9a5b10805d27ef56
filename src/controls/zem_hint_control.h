// The hint line and the two mix-ins of the editor's controls: a hint control asks the front
// panel's hint label to explain it while the mouse is over it; an active control is inert while
// the trim stage (Process) is off. [ui-thread] every operation, active flags included: a
// parameter change from another thread reaches them through the editor's next idle.
#pragma once

#include <string>

#include "ui/text_label.h"

// The front panel's hint line. It takes no mouse and no wheel; several controls share one,
// and the last request wins.
class CHelpHintLabel : public VSTGUI::CTextLabel {
public:
    // [ui-thread]
    explicit CHelpHintLabel(const VSTGUI::CRect &size);
    // Shows the hint text of (tag, value, zone) and marks the label dirty. A meter selector value
    // outside the three meters leaves the text as it is. [ui-thread]
    void showHint(long tag, float value, int zone);
    // The text the line shows while no control's hint is up (empty unless set): the standard
    // the meter's settings match. Shown at once unless a hint is up. [ui-thread]
    void setRestingText(const std::string &text);
    const std::string &getRestingText() const { return restingText; }
    // Takes a hint down: the resting text shows. [ui-thread]
    void showRestingText();
    // [ui-thread]
    bool hitTest(const VSTGUI::CPoint &, const VSTGUI::CButtonState &) override { return false; }
    VSTGUI_TYPE(CHelpHintLabel, CTextLabel)

private:
    std::string restingText;
    bool hintShown = false;
};

class CZEMHintControl {
public:
    // Zone for every control but the meter selector.
    static constexpr int kNoZone = -1;

    virtual ~CZEMHintControl() = default;
    // [ui-thread]
    virtual void setHintTarget(CHelpHintLabel *target) { hintTarget = target; }
    // Without a target these two do nothing. [ui-thread]
    virtual void showHint(long tag, float value, int zone = kNoZone);
    virtual void clearHint();
    // [ui-thread]
    CHelpHintLabel *getHintTarget() const { return hintTarget; }

protected:
    // The hover rule of every hint control: the mouse entering the control shows its hint, the
    // mouse leaving it empties the line. Both answer that the event was handled. [ui-thread]
    VSTGUI::CMouseEventResult hintOnEnter(long tag, float value);
    VSTGUI::CMouseEventResult hintOnExit();

    CHelpHintLabel *hintTarget = nullptr;
};

class CZEMActiveControl {
public:
    virtual ~CZEMActiveControl() = default;
    // 0 inactive, anything else active. [ui-thread]
    void setActive(int state) { active = state; }
    int getActive() const { return active; }

protected:
    // An inactive control is inert: the presses, drags and wheel turns that reach it change and
    // report nothing (each control says what it answers for them). [ui-thread]
    bool isInert() const { return !active; }
    // The hover rule of a hint control that can be inactive: entering an inactive one shows its
    // hint at value 0, which says what would activate it ("Click PROCESS to ..."); entering an
    // active one empties the line. Leaving empties it either way (hintOnExit). [ui-thread]
    VSTGUI::CMouseEventResult activeHintOnEnter(CZEMHintControl &hint, long tag) const;

    int active = 1;
};

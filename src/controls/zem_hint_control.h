// The hint line and the two mix-ins of the editor's controls: a hint control asks the front
// panel's hint label to explain it while the mouse is over it; an active control is inert while
// the trim stage (Process) is off. [ui-thread] every operation, active flags and values included:
// a parameter change from another thread reaches them through the editor's next idle.
#pragma once

#include <atomic>

#include "ui/text_label.h"

// The front panel's hint line. It takes no mouse and no wheel; several controls share one,
// and the last request wins.
class CHelpHintLabel : public VSTGUI::CTextLabel {
public:
    explicit CHelpHintLabel(const VSTGUI::CRect &size);
    // Shows the hint text of (tag, value, zone) and marks the label dirty. A meter selector value
    // outside the three meters leaves the text as it is.
    void showHint(long tag, float value, int zone);
    bool hitTest(const VSTGUI::CPoint &, const VSTGUI::CButtonState &) override { return false; }
    VSTGUI_TYPE(CHelpHintLabel, CTextLabel)
};

class CZEMHintControl {
public:
    // Zone for every control but the meter selector.
    static constexpr int kNoZone = -1;

    virtual ~CZEMHintControl() = default;
    virtual void setHintTarget(CHelpHintLabel *target) { hintTarget = target; }
    // Without a target these two do nothing.
    virtual void showHint(long tag, float value, int zone = kNoZone);
    virtual void clearHint();
    CHelpHintLabel *getHintTarget() const { return hintTarget; }

protected:
    CHelpHintLabel *hintTarget = nullptr;
};

class CZEMActiveControl {
public:
    virtual ~CZEMActiveControl() = default;
    void setActive(int state) { active.store(state, std::memory_order_relaxed); }
    int getActive() const { return active.load(std::memory_order_relaxed); }

protected:
    std::atomic<int> active{1};
};

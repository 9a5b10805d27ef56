// A view that records what reaches it, for the dispatch tests.
#pragma once

#include <string>
#include <vector>

#include "ui/draw_context.h"
#include "ui/view.h"

class ProbeView : public VSTGUI::CView {
public:
    ProbeView(const VSTGUI::CRect &size, std::vector<std::string> &log, const std::string &name,
              VSTGUI::CMouseEventResult downResult = VSTGUI::kMouseEventHandled, bool takesWheel = true)
        : CView(size), log(log), name(name), downResult(downResult), takesWheel(takesWheel)
    {
    }

    VSTGUI::CMouseEventResult onMouseDown(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override
    {
        record("down", where, buttons);
        return downResult;
    }
    VSTGUI::CMouseEventResult onMouseUp(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override
    {
        record("up", where, buttons);
        return VSTGUI::kMouseEventHandled;
    }
    VSTGUI::CMouseEventResult onMouseMoved(VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons) override
    {
        record("moved", where, buttons);
        return VSTGUI::kMouseEventHandled;
    }
    VSTGUI::CMouseEventResult onMouseEntered(VSTGUI::CPoint &, const VSTGUI::CButtonState &) override
    {
        log.push_back(name + " entered");
        return VSTGUI::kMouseEventHandled;
    }
    VSTGUI::CMouseEventResult onMouseExited(VSTGUI::CPoint &, const VSTGUI::CButtonState &) override
    {
        log.push_back(name + " exited");
        return VSTGUI::kMouseEventHandled;
    }
    bool onWheel(const VSTGUI::CPoint &where, const float &distance, const VSTGUI::CButtonState &buttons) override
    {
        record("wheel " + std::to_string((int)(distance * 10)), where, buttons);
        return takesWheel;
    }
    void draw(VSTGUI::CDrawContext *context) override
    {
        ++draws;
        context->setFillColor(VSTGUI::kRedCColor);
        context->drawRect(size, VSTGUI::kDrawFilled);
        setDirty(false);
    }

    int draws = 0;

private:
    void record(const std::string &what, const VSTGUI::CPoint &where, const VSTGUI::CButtonState &buttons)
    {
        std::string mods;
        if (buttons & VSTGUI::kShift)
            mods += " shift";
        if (buttons & VSTGUI::kControl)
            mods += " ctrl";
        if (buttons & VSTGUI::kDoubleClick)
            mods += " double";
        if (buttons & VSTGUI::kRButton)
            mods += " right";
        log.push_back(name + " " + what + " " + std::to_string((int)where.x) + "," + std::to_string((int)where.y) +
                      mods);
    }

    std::vector<std::string> &log;
    std::string name;
    VSTGUI::CMouseEventResult downResult;
    bool takesWheel;
};

// Where the editor's zoom factor comes from, in this order: the user's choice in the size menu
// (kept per user, zoom_choice.h), else Auto: the factor the host announced to the effect, else
// the scale of the host's window (its DPI), else 100 %; snapped to the list (zoom_factor.h).
// [ui-thread] every operation (the host's factor is read from the effect's atomic).
#pragma once

#include <string>
#include <vector>

class Templete;

class EditorZoom {
public:
    explicit EditorZoom(const Templete *effect) : effect(effect) {}

    // The factor for the next open before the host's window is known: the stored choice, else
    // the host's factor, else the scale of the window of the last open (none before the first).
    double beforeOpen();
    // The factor for an open on parent: the stored choice, the host's factor, parent's scale.
    double atOpen(void *parent);
    // At an idle of the open editor: the factor the sources give now (Auto follows the host's
    // factor, and the window's scale where asking is cheap).
    double atIdle(void *parent);
    // The user's choice (0 = Auto): stored for every instance, and the factor it gives now.
    double choose(double factor);

    // The choice as last read or made; 0 = Auto.
    double getChoice() const { return choice; }

    // The size menu: its title, its items ("Auto", then every factor as "100 %" ...) and the
    // item of a choice (0 = Auto) and back.
    static const char *menuTitle() { return "Size:"; }
    static std::vector<std::string> menuItems();
    static int menuItemOf(double choice);
    static double choiceOfMenuItem(int item);

private:
    double hostFactor() const;
    double resolve() const;

    const Templete *effect;
    double choice = 0;
    double windowScale = 0;
};

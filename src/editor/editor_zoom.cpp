#include "editor/editor_zoom.h"

#include <cstdio>

#include "controls/zoom_choice.h"
#include "controls/zoom_factor.h"
#include "core/templete.h"
#include "ui/window_scale.h"

double EditorZoom::hostFactor() const { return effect ? effect->getHostScaleFactor() : 0.0; }

double EditorZoom::resolve() const
{
    ZoomSources sources;
    sources.chosen = choice;
    sources.host = hostFactor();
    sources.window = windowScale;
    return resolveZoomFactor(sources);
}

double EditorZoom::beforeOpen()
{
    choice = readZoomChoice();
    return resolve();  // with the window's scale of the last open: most likely the next one's
}

double EditorZoom::atOpen(void *parent)
{
    choice = readZoomChoice();
    windowScale = VSTGUI::platformWindowScale(parent);
    return resolve();
}

double EditorZoom::atIdle(void *parent)
{
    if (VSTGUI::platformWindowScaleAtIdle())
        windowScale = VSTGUI::platformWindowScale(parent);
    return resolve();
}

double EditorZoom::choose(double factor)
{
    choice = zoomFactorIndex(factor) < 0 ? 0 : factor;
    writeZoomChoice(choice);  // a store that cannot be written still leaves this editor's choice
    return resolve();
}

std::vector<std::string> EditorZoom::menuItems()
{
    std::vector<std::string> items{"Auto"};
    for (double factor : kZoomFactors) {
        char text[16];
        std::snprintf(text, sizeof text, "%d %%", (int)(factor * 100 + 0.5));
        items.emplace_back(text);
    }
    return items;
}

int EditorZoom::menuItemOf(double choice)
{
    const int index = zoomFactorIndex(choice);
    return index < 0 ? 0 : index + 1;
}

double EditorZoom::choiceOfMenuItem(int item)
{
    return item >= 1 && item <= kZoomFactorCount ? kZoomFactors[item - 1] : 0;
}

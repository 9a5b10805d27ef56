#include "controls/zoom_choice.h"

#include <cmath>

#include "controls/zoom_factor.h"
#include "platform/defaults_store.h"

double readZoomChoice()
{
    float stored = 0.f;
    if (!defaultsStoreRead(kZoomChoiceValueName, stored) || !std::isfinite(stored) || stored <= 0.f)
        return 0;
    return snapZoomFactor(stored);
}

bool writeZoomChoice(double factor)
{
    if (zoomFactorIndex(factor) < 0)
        return defaultsStoreRemove(kZoomChoiceValueName);
    return defaultsStoreWrite(kZoomChoiceValueName, (float)factor);
}

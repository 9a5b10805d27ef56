#include <algorithm>
#include <mutex>
#include <vector>

#include "ui/offscreen_parent.h"

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<const void *> parents;  // one entry per registration
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

}  // namespace

void registerOffscreenParent(const void *parent)
{
    if (!parent)
        return;
    Registry &r = registry();
    std::lock_guard<std::mutex> hold(r.mutex);
    r.parents.push_back(parent);
}

void unregisterOffscreenParent(const void *parent)
{
    Registry &r = registry();
    std::lock_guard<std::mutex> hold(r.mutex);
    auto found = std::find(r.parents.begin(), r.parents.end(), parent);
    if (found != r.parents.end())
        r.parents.erase(found);
}

bool isRegisteredOffscreenParent(const void *parent)
{
    if (!parent)
        return false;
    Registry &r = registry();
    std::lock_guard<std::mutex> hold(r.mutex);
    return std::find(r.parents.begin(), r.parents.end(), parent) != r.parents.end();
}

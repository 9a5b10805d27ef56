// The container of a panel that is attached to the frame while the panel is shown and detached
// while it is hidden, kept in between: a front panel, a settings panel, a channel strip.
// The one reference rule: the holder keeps the container's own reference from adopt to destroy,
// and whatever the container is attached to holds a second one while it is. So a frame that
// lets its views go (closing does) never takes the container along, and the holder's destroy
// is always its last release. [ui-thread], every operation.
#pragma once

#include "ui/view_container.h"

template <class Container = VSTGUI::CViewContainer> class DetachableContainer {
public:
    DetachableContainer() = default;
    ~DetachableContainer() { destroy(); }
    DetachableContainer(const DetachableContainer &) = delete;
    DetachableContainer &operator=(const DetachableContainer &) = delete;

    // Takes over the reference of a new, unattached container (null when it could not be made);
    // one held before is destroyed first.
    void adopt(Container *created)
    {
        destroy();
        container = created;
    }
    Container *get() const { return container; }
    explicit operator bool() const { return container != nullptr; }
    Container *operator->() const { return container; }

    bool isAttached() const { return container && container->getParentView(); }
    bool isAttachedTo(const VSTGUI::CViewContainer *parent) const
    {
        return container && parent && container->getParentView() == parent;
    }
    // Adds the container on top of parent's views, which takes a reference of its own. True when
    // it is attached there now (it may have been before); false without a container or parent,
    // or when the parent refuses it (it keeps only ours then).
    bool attach(VSTGUI::CViewContainer *parent)
    {
        if (!container || !parent)
            return false;
        if (isAttachedTo(parent))
            return true;
        container->remember();  // the parent's reference
        if (!parent->addView(container)) {
            container->forget();
            return false;
        }
        return true;
    }
    // Removes the container from whatever holds it, which lets its reference go; ours keeps the
    // container for the next attach.
    void detach()
    {
        if (isAttached())
            container->getParentView()->removeView(container, true);
    }
    // Detaches and releases our reference: the container goes with every view it still holds.
    void destroy()
    {
        if (!container)
            return;
        detach();
        Container *going = container;
        container = nullptr;
        going->forget();
    }

private:
    Container *container = nullptr;
};

#include "vst3_host_objects.h"

#include <algorithm>
#include <cstdio>

#ifndef _WIN32
#include <poll.h>
#endif

// ---- the host context ----------------------------------------------------------------------------

vst3::tresult VST3_API Vst3HostContext::getName(char16_t name[128])
{
    if (!name)
        return vst3::kInvalidArgument;
    const char *ours = "zem_vst3_host";
    size_t i = 0;
    for (; ours[i] && i < 127; ++i)
        name[i] = (char16_t)ours[i];
    name[i] = 0;
    return vst3::kResultOk;
}

// Messages and attribute lists belong to the two-object design, which our effect does not use.
vst3::tresult VST3_API Vst3HostContext::createInstance(char *, char *, void **object)
{
    if (object)
        *object = nullptr;
    return vst3::kNotImplemented;
}

vst3::tresult VST3_API Vst3HostContext::isPlugInterfaceSupported(const vst3::TUID iid)
{
    for (const vst3::Uid *known :
         {&vst3::IComponent::iid, &vst3::IAudioProcessor::iid, &vst3::IEditController::iid, &vst3::IPlugView::iid,
          &vst3::IPlugViewContentScaleSupport::iid, &vst3::IProcessContextRequirements::iid})
        if (known->matches(iid))
            return vst3::kResultTrue;
    return vst3::kResultFalse;
}

// ---- the component handler -------------------------------------------------------------------------

std::string describeHandlerCall(const Vst3HandlerCall &call)
{
    char value[40];
    std::snprintf(value, sizeof value, "%.9g", call.value);
    const std::string id = std::to_string(call.id);
    switch (call.kind) {
    case Vst3HandlerCall::Begin:
        return "begin " + id;
    case Vst3HandlerCall::Perform:
        return "perform " + id + " " + value;
    case Vst3HandlerCall::End:
        return "end " + id;
    case Vst3HandlerCall::Restart:
        return "restart " + id;
    }
    return "?";
}

void Vst3ComponentHandler::note(Vst3HandlerCall::Kind kind, uint32_t id, double value)
{
    std::lock_guard<std::mutex> lock(mutex);
    recorded.push_back({kind, id, value, std::this_thread::get_id() == mainThread});
}

vst3::tresult VST3_API Vst3ComponentHandler::beginEdit(uint32_t id)
{
    note(Vst3HandlerCall::Begin, id);
    return vst3::kResultOk;
}
vst3::tresult VST3_API Vst3ComponentHandler::performEdit(uint32_t id, double valueNormalized)
{
    note(Vst3HandlerCall::Perform, id, valueNormalized);
    return vst3::kResultOk;
}
vst3::tresult VST3_API Vst3ComponentHandler::endEdit(uint32_t id)
{
    note(Vst3HandlerCall::End, id);
    return vst3::kResultOk;
}
vst3::tresult VST3_API Vst3ComponentHandler::restartComponent(int32_t flags)
{
    note(Vst3HandlerCall::Restart, (uint32_t)flags);
    return vst3::kResultOk;
}

std::vector<Vst3HandlerCall> Vst3ComponentHandler::calls() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return recorded;
}

void Vst3ComponentHandler::clearCalls()
{
    std::lock_guard<std::mutex> lock(mutex);
    recorded.clear();
}

// ---- the memory stream -----------------------------------------------------------------------------

vst3::tresult VST3_API Vst3MemoryStream::read(void *buffer, int32_t numBytes, int32_t *numBytesRead)
{
    ++calls;
    if (numBytesRead)
        *numBytesRead = 0;
    // As Carla's stream: asking for nothing is an error.
    if (!buffer || numBytes <= 0)
        return vst3::kInvalidArgument;
    const size_t left = position < bytes.size() ? bytes.size() - position : 0;
    const size_t n = std::min({(size_t)numBytes, left, piece});
    if (n)
        std::memcpy(buffer, bytes.data() + position, n);
    position += n;
    if (numBytesRead)
        *numBytesRead = (int32_t)n;
    return vst3::kResultOk;
}

vst3::tresult VST3_API Vst3MemoryStream::write(void *buffer, int32_t numBytes, int32_t *numBytesWritten)
{
    ++calls;
    if (numBytesWritten)
        *numBytesWritten = 0;
    if (!buffer || numBytes < 0)
        return vst3::kInvalidArgument;
    const size_t n = std::min((size_t)numBytes, piece);
    if (bytes.size() < position + n)
        bytes.resize(position + n);
    std::memcpy(bytes.data() + position, buffer, n);
    position += n;
    if (numBytesWritten)
        *numBytesWritten = (int32_t)n;
    return vst3::kResultOk;
}

vst3::tresult VST3_API Vst3MemoryStream::seek(int64_t pos, int32_t mode, int64_t *result)
{
    int64_t base = mode == vst3::kIBSeekSet ? 0 : mode == vst3::kIBSeekCur ? (int64_t)position : (int64_t)bytes.size();
    if (mode < vst3::kIBSeekSet || mode > vst3::kIBSeekEnd || base + pos < 0)
        return vst3::kInvalidArgument;
    position = (size_t)(base + pos);
    if (result)
        *result = (int64_t)position;
    return vst3::kResultOk;
}

vst3::tresult VST3_API Vst3MemoryStream::tell(int64_t *pos)
{
    if (!pos)
        return vst3::kInvalidArgument;
    *pos = (int64_t)position;
    return vst3::kResultOk;
}

// ---- parameter changes -------------------------------------------------------------------------------

vst3::tresult VST3_API Vst3ParamQueue::getPoint(int32_t index, int32_t &sampleOffset, double &value)
{
    if (index < 0 || (size_t)index >= points.size())
        return vst3::kResultFalse;
    sampleOffset = points[(size_t)index].first;
    value = points[(size_t)index].second;
    return vst3::kResultOk;
}

vst3::tresult VST3_API Vst3ParamQueue::addPoint(int32_t sampleOffset, double value, int32_t &index)
{
    // Sorted by offset; a point at an offset already there replaces it, as the SDK's host does.
    auto at = std::lower_bound(points.begin(), points.end(), sampleOffset,
                               [](const std::pair<int32_t, double> &p, int32_t o) { return p.first < o; });
    if (at != points.end() && at->first == sampleOffset)
        at->second = value;
    else
        at = points.insert(at, {sampleOffset, value});
    index = (int32_t)(at - points.begin());
    return vst3::kResultOk;
}

Vst3ParamChanges::Vst3ParamChanges(const std::vector<Vst3ParamPoint> &changes)
{
    for (const Vst3ParamPoint &change : changes) {
        int32_t index = 0, point = 0;
        if (vst3::IParamValueQueue *queue = addParameterData(change.id, index))
            queue->addPoint(change.offset, change.value, point);
    }
}

vst3::IParamValueQueue *VST3_API Vst3ParamChanges::getParameterData(int32_t index)
{
    return index >= 0 && (size_t)index < used ? &queues[(size_t)index] : nullptr;
}

vst3::IParamValueQueue *VST3_API Vst3ParamChanges::addParameterData(const uint32_t &id, int32_t &index)
{
    for (size_t i = 0; i < used; ++i)
        if (queues[i].id == id) {
            index = (int32_t)i;
            return &queues[i];
        }
    if (used == queues.size())
        return nullptr;  // full, as a host's list may be
    queues[used].id = id;
    queues[used].points.clear();
    index = (int32_t)used;
    return &queues[used++];
}

// ---- the run loop (Linux) ----------------------------------------------------------------------------

#ifndef _WIN32
vst3::tresult VST3_API Vst3RunLoop::registerEventHandler(vst3::IEventHandler *handler, int fd)
{
    if (!handler || fd < 0)
        return vst3::kInvalidArgument;
    for (const Handler &h : handlers)
        if (h.fd == fd)
            return vst3::kInvalidArgument;  // already watched, as the SDK's editor host answers
    handler->addRef();
    handlers.push_back({handler, fd});
    log.push_back("fd.register");
    return vst3::kResultOk;
}

vst3::tresult VST3_API Vst3RunLoop::unregisterEventHandler(vst3::IEventHandler *handler)
{
    // Released once out of the list: the last reference may end the handler, which may
    // unregister again from its destructor.
    int dropped = 0;
    for (auto it = handlers.begin(); it != handlers.end();)
        if (it->handler == handler) {
            it = handlers.erase(it);
            ++dropped;
        } else
            ++it;
    log.push_back("fd.unregister");
    for (int i = 0; i < dropped; ++i)
        handler->release();
    return dropped ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult VST3_API Vst3RunLoop::registerTimer(vst3::ITimerHandler *handler, uint64_t milliseconds)
{
    if (!handler || milliseconds == 0)
        return vst3::kInvalidArgument;
    handler->addRef();
    timers.push_back({handler, milliseconds, std::chrono::steady_clock::now()});
    log.push_back("timer.register " + std::to_string(milliseconds) + " ms");
    return vst3::kResultOk;
}

vst3::tresult VST3_API Vst3RunLoop::unregisterTimer(vst3::ITimerHandler *handler)
{
    int dropped = 0;
    for (auto it = timers.begin(); it != timers.end();)
        if (it->handler == handler) {
            it = timers.erase(it);
            ++dropped;
        } else
            ++it;
    log.push_back("timer.unregister");
    for (int i = 0; i < dropped; ++i)
        handler->release();
    return dropped ? vst3::kResultOk : vst3::kInvalidArgument;
}

int Vst3RunLoop::fireDueTimers(bool force)
{
    int fired = 0;
    const auto now = std::chrono::steady_clock::now();
    // A handler may unregister itself from its own call: walk a copy.
    const std::vector<Timer> due = timers;
    for (const Timer &t : due) {
        if (!force && now - t.last < std::chrono::milliseconds(t.periodMs))
            continue;
        for (Timer &kept : timers)
            if (kept.handler == t.handler)
                kept.last = now;
        t.handler->onTimer();
        ++fired;
    }
    return fired;
}

int Vst3RunLoop::pollDescriptors(int timeoutMs)
{
    std::vector<pollfd> fds;
    for (const Handler &h : handlers)
        fds.push_back({h.fd, POLLIN, 0});
    if (fds.empty() || poll(fds.data(), fds.size(), timeoutMs) <= 0)
        return 0;
    int ready = 0;
    const std::vector<Handler> watched = handlers;
    for (size_t i = 0; i < fds.size() && i < watched.size(); ++i)
        if (fds[i].revents) {
            watched[i].handler->onFDIsSet(watched[i].fd);
            ++ready;
        }
    return ready;
}
#endif

// ---- the frame ---------------------------------------------------------------------------------------

vst3::tresult VST3_API Vst3PlugFrame::resizeView(vst3::IPlugView *view, vst3::ViewRect *newSize)
{
    if (!view || !newSize)
        return vst3::kInvalidArgument;
    const int width = newSize->right - newSize->left, height = newSize->bottom - newSize->top;
    resizes.push_back({width, height});
    if (!acceptResize)
        return vst3::kResultFalse;
    if (resizeParent)
        resizeParent(resizeContext, width, height);
    // The host resizes its window and tells the view inside the call.
    view->onSize(newSize);
    return vst3::kResultOk;
}

vst3::tresult VST3_API Vst3PlugFrame::queryInterface(const vst3::TUID iid, void **object)
{
#ifndef _WIN32
    if (object && vst3::IRunLoop::iid.matches(iid)) {
        *object = nullptr;
        if (!offersRunLoop)
            return vst3::kNoInterface;
        runLoop.addRef();
        *object = static_cast<vst3::IRunLoop *>(&runLoop);
        return vst3::kResultOk;
    }
#endif
    return Vst3HostObject::queryInterface(iid, object);
}

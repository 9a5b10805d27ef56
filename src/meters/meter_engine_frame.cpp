#include "meters/meter_engine_frame.h"

#include <cstring>
#include <new>

#include "meters/meter_text.h"
#include "platform/zeroed_pages.h"
#include "vst/audio_effect.h"

namespace {

// The order in which a shared-scope change is adopted; the RMS meter takes its return time
// before its hold time and its precise flag last.
const VstInt32 kRMSSyncOrder[] = {kRMSReference,  kRMSRiseTime,  kRMSAveragingTime, kRMSReturnTime, kRMSHoldTime,
                                  kRMSMidScaling, kRMSOverCount, kRMSOverThreshold, kRMSOverBase,   kRMSPrecise};

}  // namespace

MeterEngineFrame::MeterEngineFrame(AudioEffect *owner, MeterType type, int quantityCount)
    : owner_(owner), type_(type), quantityCount_(quantityCount), lastGiven_(type), instanceSettings_(type),
      ringPages_(static_cast<size_t>(quantityCount + 2) * kRingSize), ring_(ringPages_.values()),
      ringOver_(ring_ + static_cast<size_t>(quantityCount) * kRingSize)
{
    for (int q = 0; q < kMeterQuantityCount; ++q) {
        current_[q].store(0, std::memory_order_relaxed);
        blockStart_[q].store(0, std::memory_order_relaxed);
    }
    for (int c = 0; c < 2; ++c) {
        overLatch_[c].store(false, std::memory_order_relaxed);
        infiniteHoldMax_[c].store(-1, std::memory_order_relaxed);
    }
}

MeterEngineFrame::~MeterEngineFrame() = default;

MeterEngineFrame::RingPages::RingPages(size_t count)
    : bytes_(count * sizeof(std::atomic<double>)),
      values_(static_cast<std::atomic<double> *>(allocateZeroedPages(bytes_)))
{
    static_assert(sizeof(std::atomic<double>) == sizeof(double), "a ring value is a plain double");
    if (!values_)
        throw std::bad_alloc();
    // All bits zero is 0.0; a std::atomic<double> has no constructor of its own to run (C++17),
    // so this writes nothing and the pages stay untouched.
    new (values_) std::atomic<double>[ count ];
}

MeterEngineFrame::RingPages::~RingPages() { freeZeroedPages(values_, bytes_); }

MeterSettings &MeterEngineFrame::scopeRecord(int scope)
{
    if (scope == kScopeGlobal)
        return globalMeterSettings.forType(type_);
    if (scope == kScopeSession)
        return sessionMeterSettings.forType(type_);
    return instanceSettings_;
}

void MeterEngineFrame::loadInitialSettings()
{
    int scope = calibrationScopeShared.load(std::memory_order_relaxed);
    if (scope < kScopeGlobal || scope > kScopeInstance)
        scope = kScopeSession;
    scope_.store(scope, std::memory_order_relaxed);
    const MeterSettings &source = scopeRecord(scope == kScopeInstance ? kScopeSession : scope);
    const MeterSettingInfo *infos = meterSettingInfos(type_);
    for (int i = 0; i < meterSettingCount(type_); ++i)
        setSetting(infos[i].index, source.get(infos[i].index));
    if (scope == kScopeInstance)
        instanceSettingsValid_.store(true, std::memory_order_relaxed);
}

void MeterEngineFrame::storeSetting(VstInt32 index, float value, float recordValue)
{
    if (!lastGiven_.contains(index))
        return;
    lastGiven_.set(index, value);
    scopeRecord(scope()).set(index, recordValue);
}

float MeterEngineFrame::getSetting(VstInt32 index) { return lastGiven_.get(index); }

void MeterEngineFrame::sendToOwner(VstInt32 index, float value)
{
    if (owner_)
        owner_->setParameter(index, value);
    else
        setSetting(index, value);
}

void MeterEngineFrame::applyScope(float value)
{
    int scope = threeState(value);
    if (scope < kScopeGlobal)
        scope = kScopeGlobal;
    if (scope > kScopeInstance)
        scope = kScopeInstance;
    scope_.store(scope, std::memory_order_relaxed);
    const bool fromInstance = scope == kScopeInstance && instanceSettingsValid_.load(std::memory_order_relaxed);
    const MeterSettings &source = scope == kScopeInstance
                                      ? (fromInstance ? instanceSettings_ : scopeRecord(kScopeSession))
                                      : scopeRecord(scope);
    const MeterSettingInfo *infos = meterSettingInfos(type_);
    for (int i = 0; i < meterSettingCount(type_); ++i)
        sendToOwner(infos[i].index, source.get(infos[i].index));
    if (scope == kScopeInstance)
        instanceSettingsValid_.store(true, std::memory_order_relaxed);
}

void MeterEngineFrame::syncSharedSettings()
{
    const int scope = this->scope();
    if (scope != kScopeGlobal && scope != kScopeSession)
        return;
    const MeterSettings &shared = scopeRecord(scope);
    const MeterSettingInfo *infos = meterSettingInfos(type_);
    for (int i = 0; i < meterSettingCount(type_); ++i) {
        const VstInt32 index = type_ == kMeterTypeRMS ? kRMSSyncOrder[i] : infos[i].index;
        const float sharedValue = shared.get(index);
        if (lastGiven_.get(index) != sharedValue)
            sendToOwner(index, sharedValue);
    }
}

void MeterEngineFrame::storeDefaults() { ::storeDefaults(type_); }

void MeterEngineFrame::setMidSide(float value, bool on)
{
    midSideValue_.store(value, std::memory_order_relaxed);
    midSideOn_.store(on, std::memory_order_relaxed);
}

void MeterEngineFrame::setHold(float value, int mode)
{
    holdValue_.store(value, std::memory_order_relaxed);
    holdMode_.store(mode, std::memory_order_relaxed);
}

void MeterEngineFrame::setLag(float value, int milliseconds)
{
    lagValue_.store(value, std::memory_order_relaxed);
    lag_.store(milliseconds < 0 ? 0 : milliseconds, std::memory_order_relaxed);
}

void MeterEngineFrame::getCommonDisplay(VstInt32 index, float value, char *text)
{
    switch (index) {
    case kGSIcal: {
        static const char *const kScopes[] = {"Global", "Session", "Instance"};
        const int scope = threeState(value);
        std::strcpy(text, scope >= 0 && scope <= 2 ? kScopes[scope] : "None");
        break;
    }
    case kLRMS:
        std::strcpy(text, switchOn(value) ? "MS" : "LR");
        break;
    case kHold: {
        static const char *const kModes[] = {"Off", "oo", "On"};
        const int mode = threeState(value);
        if (mode >= 0 && mode <= 2)
            std::strcpy(text, kModes[mode]);
        break;
    }
    case kLagTime:
        formatMeterNumberWithUnit(::lagMilliseconds(value), 0, " ms", text);
        break;
    default:
        break;
    }
}

void MeterEngineFrame::resetPeaks()
{
    for (int c = 0; c < 2; ++c) {
        overLatch_[c].store(false, std::memory_order_relaxed);
        infiniteHoldMax_[c].store(-1, std::memory_order_relaxed);
    }
}

double MeterEngineFrame::readoutValue(MeterQuantity quantity, double position)
{
    if (quantity < 0 || quantity >= quantityCount_)
        return 0;
    const int lag = lag_.load(std::memory_order_relaxed);
    if (lag > 0) {
        int read = ringPosition_.load(std::memory_order_relaxed) - (lag < kMaxLag ? lag : kMaxLag);
        if (read < 0)
            read += kRingSize;
        readPosition_.store(read, std::memory_order_relaxed);
        return ring_[quantity * kRingSize + read].load(std::memory_order_relaxed);
    }
    const double now = current_[quantity].load(std::memory_order_relaxed);
    const double start = blockStart_[quantity].load(std::memory_order_relaxed);
    if (now > start)
        return now;
    // Falls smoothly across the time between blocks, and on while no blocks arrive.
    return (1 - position) * start + position * now;
}

int MeterEngineFrame::readoutOverState(int channel)
{
    if (channel < 0 || channel > 1)
        return -1;
    bool over;
    if (lag_.load(std::memory_order_relaxed) > 0) {
        const int read = readPosition_.load(std::memory_order_relaxed);
        over = ringOver_[channel * kRingSize + read].load(std::memory_order_relaxed) > 0;
    } else {
        over = overCounter_[channel].pickUp(overCount_.load(std::memory_order_relaxed));
    }
    if (over) {
        overLatch_[channel].store(true, std::memory_order_relaxed);
        return 1;
    }
    return overLatch_[channel].load(std::memory_order_relaxed) ? 0 : -1;
}

int MeterEngineFrame::peekOverState(int channel) const
{
    if (channel < 0 || channel > 1)
        return -1;
    bool over;
    const int lag = lag_.load(std::memory_order_relaxed);
    if (lag > 0) {
        int read = ringPosition_.load(std::memory_order_relaxed) - (lag < kMaxLag ? lag : kMaxLag);
        if (read < 0)
            read += kRingSize;
        over = ringOver_[channel * kRingSize + read].load(std::memory_order_relaxed) > 0;
    } else {
        over = overCounter_[channel].reached(overCount_.load(std::memory_order_relaxed));
    }
    if (over)
        return 1;
    return overLatch_[channel].load(std::memory_order_relaxed) ? 0 : -1;
}

double MeterEngineFrame::applyInfiniteHold(int channel, double hold)
{
    if (channel < 0 || channel > 1)
        return hold;
    const double maximum = infiniteHoldMax_[channel].load(std::memory_order_relaxed);
    if (hold > maximum) {
        infiniteHoldMax_[channel].store(hold, std::memory_order_relaxed);
        return hold;
    }
    return maximum;
}

void MeterEngineFrame::setPrecise(bool on)
{
    preciseOn_.store(on, std::memory_order_relaxed);
    preciseClearPending_.store(true, std::memory_order_relaxed);
}

void MeterEngineFrame::clearRings()
{
    // A ring no block has written since its last clear is all zero already.
    if (!ringWritten_.load(std::memory_order_relaxed))
        return;
    ringWritten_.store(false, std::memory_order_relaxed);
    for (size_t i = 0; i < static_cast<size_t>(quantityCount_) * kRingSize; ++i)
        ring_[i].store(0, std::memory_order_relaxed);
    for (size_t i = 0; i < 2 * kRingSize; ++i)
        ringOver_[i].store(0, std::memory_order_relaxed);
}

void MeterEngineFrame::resetFrame(const double *rest)
{
    const float rate = sampleRate();
    ringPeriod_.store(static_cast<int>(0.001f * rate), std::memory_order_relaxed);
    ringPosition_.store(0, std::memory_order_relaxed);
    readPosition_.store(0, std::memory_order_relaxed);
    sampleCounter_ = 0;
    clearRings();
    preciseBand_.store(static_cast<int>(preciseBandFor(rate)), std::memory_order_relaxed);
    preciseClearPending_.store(false, std::memory_order_relaxed);
    precise_.clear();
    for (int c = 0; c < 2; ++c) {
        overCounter_[c].set(-1);
        overTimer_[c] = 0;
        holdCounter_[c] = 0;
    }
    for (int q = 0; q < quantityCount_; ++q) {
        current_[q].store(rest[q], std::memory_order_relaxed);
        blockStart_[q].store(rest[q], std::memory_order_relaxed);
    }
}

void MeterEngineFrame::beginBlock()
{
    // A plain load first: the exchange is a locked instruction, needed only when set.
    if (preciseClearPending_.load(std::memory_order_relaxed) &&
        preciseClearPending_.exchange(false, std::memory_order_relaxed))
        precise_.clear();
    for (int q = 0; q < quantityCount_; ++q)
        blockStart_[q].store(current_[q].load(std::memory_order_relaxed), std::memory_order_relaxed);
}

void MeterEngineFrame::restAfterNonFinite(const double *rest)
{
    // A sample that is not a number must not leave the meter stuck: back to rest, display ring
    // included. (Infinite samples never get here: they enter as the largest magnitude.)
    precise_.clear();
    for (int c = 0; c < 2; ++c) {
        overCounter_[c].set(-1);
        overTimer_[c] = 0;
        holdCounter_[c] = 0;
    }
    clearRings();
    for (int q = 0; q < quantityCount_; ++q) {
        current_[q].store(rest[q], std::memory_order_relaxed);
        blockStart_[q].store(rest[q], std::memory_order_relaxed);
    }
}

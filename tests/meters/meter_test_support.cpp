#include "meter_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace meter_test {

MeterTestOwner::MeterTestOwner() : AudioEffectX(nullptr, 1, 64)
{
    engines[kMeterTypeRMS] = createRMSMeter(this);
    engines[kMeterTypeVU] = createVUmeter(this);
    engines[kMeterTypePPM] = createPPMmeter(this);
    for (MeterEngine *e : engines)
        for (VstInt32 i = e->firstSettingIndex(); i <= e->lastSettingIndex(); ++i)
            values[i] = e->getSetting(i);
}

MeterTestOwner::~MeterTestOwner()
{
    for (MeterEngine *e : engines)
        delete e;
}

void MeterTestOwner::resumeAt(float rate)
{
    for (MeterEngine *e : engines) {
        e->setSampleRate(rate);
        e->reset();
    }
}

void MeterTestOwner::setParameter(VstInt32 index, float value)
{
    value = std::min(1.f, std::max(0.f, value));
    calls.push_back(index);
    if (index >= 0 && index < 128)
        values[index] = value;
    switch (index) {
    case kGSIcal:
        calibrationScopeShared.store(threeState(value));
        for (MeterEngine *e : {rms(), vu(), ppm()})
            e->applyScope(value);
        return;
    case kLRMS:
        for (MeterEngine *e : engines)
            e->setMidSide(value, switchOn(value));
        return;
    case kHold:
        for (MeterEngine *e : engines)
            e->setHold(value, threeState(value));
        return;
    case kLagTime:
        for (MeterEngine *e : engines)
            e->setLag(value, lagMilliseconds(value));
        return;
    case kStoreDefaults:
        for (MeterEngine *e : engines)
            e->storeDefaults();
        return;
    case kResetPeaks:
        for (MeterEngine *e : engines)
            e->resetPeaks();
        return;
    default:
        break;
    }
    for (MeterEngine *e : engines)
        if (index >= e->firstSettingIndex() && index <= e->lastSettingIndex())
            e->setSetting(index, value);
}

float MeterTestOwner::getParameter(VstInt32 index) { return index >= 0 && index < 128 ? values[index] : 0.f; }

namespace {

#ifdef _WIN32
void forEachSetting(void (*visit)(const MeterSettingInfo &, void *), void *context)
{
    for (int t = 0; t < kMeterTypeCount; ++t) {
        const MeterSettingInfo *infos = meterSettingInfos(static_cast<MeterType>(t));
        for (int i = 0; i < meterSettingCount(static_cast<MeterType>(t)); ++i)
            visit(infos[i], context);
    }
}
#endif

#ifndef _WIN32
int removeEntry(const char *path, const struct stat *, int, struct FTW *) { return std::remove(path); }

std::string storeFilePath(const std::string &directory) { return directory + "/Velmora/ZEMMETERS300"; }
#else
const char kKey[] = "SOFTWARE\\Velmora\\ZEMMETERS300";
#endif

}  // namespace

TemporaryStore::TemporaryStore()
{
#ifdef _WIN32
    forEachSetting(
        [](const MeterSettingInfo &info, void *self) {
            auto *store = static_cast<TemporaryStore *>(self);
            Saved saved{false, 0.f};
            saved.present = store->readBack(info.name, saved.value);
            store->saved_.push_back(saved);
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, info.name);
        },
        this);
#else
    const char *old = std::getenv("XDG_CONFIG_HOME");
    hadConfig_ = old != nullptr;
    if (old)
        oldConfig_ = old;
    char pattern[] = "/tmp/zem-meters-store-XXXXXX";
    const char *made = ::mkdtemp(pattern);
    if (!made)
        ADD_FAILURE() << "cannot create a temporary store";
    directory_ = made ? made : "/nonexistent";
    ::setenv("XDG_CONFIG_HOME", directory_.c_str(), 1);
#endif
    loadDefaults();
}

TemporaryStore::~TemporaryStore()
{
#ifdef _WIN32
    size_t i = 0;
    struct Context {
        TemporaryStore *store;
        size_t *i;
    } context{this, &i};
    forEachSetting(
        [](const MeterSettingInfo &info, void *c) {
            auto *ctx = static_cast<Context *>(c);
            const Saved &saved = ctx->store->saved_[(*ctx->i)++];
            if (saved.present)
                ctx->store->writeRaw(info.name, &saved.value, 4);
            else
                RegDeleteKeyValueA(HKEY_CURRENT_USER, kKey, info.name);
        },
        &context);
#else
    ::nftw(directory_.c_str(), removeEntry, 8, FTW_DEPTH | FTW_PHYS);
    if (hadConfig_)
        ::setenv("XDG_CONFIG_HOME", oldConfig_.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
#endif
    // Leave fresh built-in values for the next test rather than the user's stored ones.
    for (int t = 0; t < kMeterTypeCount; ++t) {
        globalMeterSettings.forType(static_cast<MeterType>(t)).setDefaults();
        sessionMeterSettings.forType(static_cast<MeterType>(t)).setDefaults();
    }
}

bool TemporaryStore::readBack(const char *name, float &value) const
{
#ifdef _WIN32
    BYTE bytes[16];
    DWORD size = sizeof bytes;
    DWORD type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_ANY, &type, bytes, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_BINARY || size != 4)
        return false;
    std::memcpy(&value, bytes, 4);
    return true;
#else
    FILE *file = std::fopen(storeFilePath(directory_).c_str(), "r");
    if (!file)
        return false;
    char line[256];
    bool found = false;
    const size_t length = std::strlen(name);
    while (std::fgets(line, sizeof line, file)) {
        if (std::strncmp(line, name, length) != 0 || line[length] != '=')
            continue;
        unsigned b[4];
        if (std::sscanf(line + length + 1, "%2x%2x%2x%2x", &b[0], &b[1], &b[2], &b[3]) == 4 &&
            std::strlen(line + length + 1) == 9) {
            const unsigned char bytes[4] = {(unsigned char)b[0], (unsigned char)b[1], (unsigned char)b[2],
                                            (unsigned char)b[3]};
            std::memcpy(&value, bytes, 4);
            found = true;
        }
    }
    std::fclose(file);
    return found;
#endif
}

void TemporaryStore::writeRaw(const char *name, const void *bytes, int size) const
{
#ifdef _WIN32
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE *>(bytes), static_cast<DWORD>(size));
    RegCloseKey(key);
#else
    const std::string dir = directory_ + "/Velmora";
    ::mkdir(dir.c_str(), 0700);
    FILE *file = std::fopen(storeFilePath(directory_).c_str(), "a");
    ASSERT_NE(file, nullptr);
    std::fprintf(file, "%s=", name);
    for (int i = 0; i < size; ++i)
        std::fprintf(file, "%02x", static_cast<const unsigned char *>(bytes)[i]);
    std::fprintf(file, "\n");
    std::fclose(file);
#endif
}

MeterTest::MeterTest()
{
    calibrationScopeShared.store(kScopeSession);
    store.reset(new TemporaryStore());
}

MeterTest::~MeterTest()
{
    store.reset();
    calibrationScopeShared.store(kScopeSession);
}

std::vector<float> sine(double rate, double hz, double amplitude, double seconds, double phase)
{
    std::vector<float> s(static_cast<size_t>(rate * seconds));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<float>(amplitude * std::sin(2 * kPi * hz * i / rate + phase));
    return s;
}

std::vector<float> square(double rate, double hz, double amplitude, double seconds)
{
    std::vector<float> s(static_cast<size_t>(rate * seconds));
    const double period = rate / hz;
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<float>(std::fmod(i, period) < period / 2 ? amplitude : -amplitude);
    return s;
}

void feed(MeterEngine &engine, const std::vector<float> &left, int block, const std::vector<float> *right)
{
    std::vector<float> l(left);
    std::vector<float> r(right ? *right : left);
    for (size_t start = 0; start < l.size(); start += block) {
        const VstInt32 n = static_cast<VstInt32>(std::min<size_t>(block, l.size() - start));
        engine.process(l.data() + start, r.data() + start, n);
    }
}

}  // namespace meter_test

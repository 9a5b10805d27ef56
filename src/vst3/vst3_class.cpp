#include "vst3/vst3_class.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "core/templete.h"
#include "vst3/vst3_text.h"

using namespace vst3;

namespace {

int entryCount = 0;  // hosts never enter or leave beside another call of the library

void copyText(char *destination, const char *source, size_t size)
{
    std::strncpy(destination, source, size - 1);
    destination[size - 1] = 0;
}

}  // namespace

std::string vst3ClassIdText()
{
    char text[33] = {};
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", (unsigned)kVst3ClassIdWords[0], (unsigned)kVst3ClassIdWords[1],
                  (unsigned)kVst3ClassIdWords[2], (unsigned)kVst3ClassIdWords[3]);
    return text;
}

std::string vst3VersionText()
{
    const int v = (int)Templete::kVendorVersion;
    char text[16] = {};
    std::snprintf(text, sizeof text, "%d.%d.%d", v / 1000, v / 100 % 10, v / 10 % 10);
    return text;
}

tresult Vst3Factory::queryInterface(const TUID interfaceId, void **obj)
{
    if (!obj)
        return kInvalidArgument;
    if (FUnknown::iid.matches(interfaceId) || IPluginFactory::iid.matches(interfaceId) ||
        IPluginFactory2::iid.matches(interfaceId) || IPluginFactory3::iid.matches(interfaceId)) {
        *obj = static_cast<IPluginFactory3 *>(this);
        return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
}

// The effect's vendor answer is its web address: vendor and URL both.
tresult Vst3Factory::getFactoryInfo(PFactoryInfo *info)
{
    if (!info)
        return kInvalidArgument;
    std::memset(info, 0, sizeof *info);
    copyText(info->vendor, Templete::kVendorString, sizeof info->vendor);
    copyText(info->url, Templete::kVendorString, sizeof info->url);
    info->flags = kUnicode;
    return kResultOk;
}

tresult Vst3Factory::getClassInfo(int32_t index, PClassInfo *info)
{
    if (index != 0 || !info)
        return kInvalidArgument;
    std::memset(info, 0, sizeof *info);
    std::memcpy(info->cid, kVst3ClassId.bytes, sizeof info->cid);
    info->cardinality = kManyInstances;
    copyText(info->category, kAudioEffectClass, sizeof info->category);
    copyText(info->name, Templete::kProductName, sizeof info->name);
    return kResultOk;
}

// A single component: classFlags 0 (not distributable).
tresult Vst3Factory::getClassInfo2(int32_t index, PClassInfo2 *info)
{
    if (index != 0 || !info)
        return kInvalidArgument;
    std::memset(info, 0, sizeof *info);
    PClassInfo plain = {};
    getClassInfo(0, &plain);
    std::memcpy(info, &plain, sizeof plain);
    info->classFlags = 0;
    copyText(info->subCategories, kVst3SubCategories, sizeof info->subCategories);
    copyText(info->vendor, Templete::kVendorString, sizeof info->vendor);
    copyText(info->version, vst3VersionText().c_str(), sizeof info->version);
    copyText(info->sdkVersion, kSdkVersionString, sizeof info->sdkVersion);
    return kResultOk;
}

tresult Vst3Factory::getClassInfoUnicode(int32_t index, PClassInfoW *info)
{
    if (index != 0 || !info)
        return kInvalidArgument;
    PClassInfo2 narrow = {};
    getClassInfo2(0, &narrow);
    std::memset(info, 0, sizeof *info);
    std::memcpy(info->cid, narrow.cid, sizeof info->cid);
    info->cardinality = narrow.cardinality;
    std::memcpy(info->category, narrow.category, sizeof info->category);
    toUtf16(narrow.name, info->name, 64);
    info->classFlags = narrow.classFlags;
    std::memcpy(info->subCategories, narrow.subCategories, sizeof info->subCategories);
    toUtf16(narrow.vendor, info->vendor, 64);
    toUtf16(narrow.version, info->version, 64);
    toUtf16(narrow.sdkVersion, info->sdkVersion, 64);
    return kResultOk;
}

// The effect's editor takes its run loop from the view's frame, not from here.
tresult Vst3Factory::setHostContext(FUnknown *) { return kResultOk; }

tresult Vst3Factory::createInstance(const char *cid, const char *interfaceId, void **obj)
{
    if (!obj)
        return kInvalidArgument;
    *obj = nullptr;
    if (!kVst3ClassId.matches(cid) || !interfaceId)
        return kNoInterface;
    Vst3Effect *effect = new (std::nothrow) Vst3Effect(makeEffect);
    if (!effect)
        return kOutOfMemory;
    const tresult result = effect->queryInterface(interfaceId, obj);
    effect->release();  // the caller's reference is the one queryInterface gave, if any
    return result;
}

bool vst3LibraryEnter()
{
    ++entryCount;
    return true;
}

bool vst3LibraryExit()
{
    if (entryCount > 0)
        --entryCount;
    return true;
}

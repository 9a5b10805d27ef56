#include "vst3_module.h"

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace {

bool isFolder(const std::string &path)
{
    struct stat s {};
    return stat(path.c_str(), &s) == 0 && (s.st_mode & S_IFMT) == S_IFDIR;
}

std::string baseName(std::string path)
{
    while (!path.empty() && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    const size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind(".vst3");
    return dot == std::string::npos ? name : name.substr(0, dot);
}

// The bytes of the id in the order of its four words: Windows keeps the first word and the
// halves of the second little-endian (a GUID), every other platform all four big-endian.
void wordsOf(const char *cid, uint32_t words[4])
{
    const auto *b = reinterpret_cast<const unsigned char *>(cid);
    auto big = [&](int i) {
        return (uint32_t)b[i] << 24 | (uint32_t)b[i + 1] << 16 | (uint32_t)b[i + 2] << 8 | b[i + 3];
    };
#ifdef _WIN32
    words[0] = (uint32_t)b[3] << 24 | (uint32_t)b[2] << 16 | (uint32_t)b[1] << 8 | b[0];
    words[1] = (uint32_t)b[5] << 24 | (uint32_t)b[4] << 16 | (uint32_t)b[7] << 8 | b[6];
#else
    words[0] = big(0);
    words[1] = big(4);
#endif
    words[2] = big(8);
    words[3] = big(12);
}

}  // namespace

const char *Vst3Module::architecture()
{
#if defined(_WIN64)
    return "x86_64-win";
#elif defined(_WIN32)
    return "x86-win";
#else
    return "x86_64-linux";
#endif
}

std::string Vst3Module::binaryPath(const std::string &path)
{
    if (!isFolder(path))
        return path;
#ifdef _WIN32
    const char *suffix = ".vst3";
#else
    const char *suffix = ".so";
#endif
    std::string folder = path;
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder + "/Contents/" + architecture() + "/" + baseName(path) + suffix;
}

Vst3Module::Vst3Module(const std::string &path, LibraryUnload unload)
    : binaryFile(binaryPath(path)), module(binaryFile, unload)
{
    if (!module.loaded()) {
        lastError = module.error();
        return;
    }
#ifdef _WIN32
    auto *enter = reinterpret_cast<bool (*)()>(module.symbol("InitDll"));
    if (!module.symbol("ExitDll") || !enter) {
        lastError = "no InitDll / ExitDll";
        return;
    }
    entered = enter();
#else
    auto *enter = reinterpret_cast<bool (*)(void *)>(module.symbol("ModuleEntry"));
    if (!module.symbol("ModuleExit") || !enter) {
        lastError = "no ModuleEntry / ModuleExit";
        return;
    }
    entered = enter(module.nativeHandle());
#endif
    if (!entered) {
        lastError = "the module entry answered false";
        return;
    }
    auto *getFactory = reinterpret_cast<vst3::GetFactoryProc>(module.symbol("GetPluginFactory"));
    vst3::IPluginFactory *factory = getFactory ? getFactory() : nullptr;
    if (!factory) {
        lastError = getFactory ? "GetPluginFactory answered null" : "no GetPluginFactory";
        return;
    }
    if (factory->getFactoryInfo(&info) != vst3::kResultOk) {
        lastError = "getFactoryInfo failed";
        factory->release();
        return;
    }
    void *object = nullptr;
    if (factory->queryInterface(vst3::IPluginFactory2::iid.data(), &object) == vst3::kResultOk)
        factoryObject2 = static_cast<vst3::IPluginFactory2 *>(object);
    object = nullptr;
    if (factory->queryInterface(vst3::IPluginFactory3::iid.data(), &object) == vst3::kResultOk)
        factoryObject3 = static_cast<vst3::IPluginFactory3 *>(object);
    const int32_t count = factory->countClasses();
    for (int32_t i = 0; i < count; ++i) {
        vst3::PClassInfo2 c{};
        if (factoryObject2) {
            if (factoryObject2->getClassInfo2(i, &c) != vst3::kResultOk)
                continue;
        } else {
            vst3::PClassInfo plain{};
            if (factory->getClassInfo(i, &plain) != vst3::kResultOk)
                continue;
            std::memcpy(c.cid, plain.cid, sizeof c.cid);
            c.cardinality = plain.cardinality;
            std::memcpy(c.category, plain.category, sizeof c.category);
            std::memcpy(c.name, plain.name, sizeof c.name);
        }
        classInfos.push_back(c);
        vst3::PClassInfoW w{};
        if (factoryObject3 && factoryObject3->getClassInfoUnicode(i, &w) == vst3::kResultOk)
            unicodeInfos.push_back(w);
    }
    factoryObject = factory;
}

Vst3Module::~Vst3Module()
{
    if (factoryObject3)
        factoryObject3->release();
    if (factoryObject2)
        factoryObject2->release();
    if (factoryObject)
        factoryObject->release();
    if (!entered)
        return;
#ifdef _WIN32
    if (auto *leave = reinterpret_cast<bool (*)()>(module.symbol("ExitDll")))
        leave();
#else
    if (auto *leave = reinterpret_cast<bool (*)()>(module.symbol("ModuleExit")))
        leave();
#endif
}

const vst3::PClassInfo2 *Vst3Module::effectClass() const
{
    for (const vst3::PClassInfo2 &c : classInfos)
        if (std::strncmp(c.category, vst3::kAudioEffectClass, sizeof c.category) == 0)
            return &c;
    return nullptr;
}

std::string utf8Of(const char16_t *text, size_t capacity)
{
    std::string out;
    for (size_t i = 0; i < capacity && text[i]; ++i) {
        const uint32_t c = text[i];
        if (c < 0x80)
            out += (char)c;
        else if (c < 0x800) {
            out += (char)(0xC0 | c >> 6);
            out += (char)(0x80 | (c & 0x3F));
        } else {
            out += (char)(0xE0 | c >> 12);
            out += (char)(0x80 | (c >> 6 & 0x3F));
            out += (char)(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string classIdText(const char *cid)
{
    uint32_t words[4];
    wordsOf(cid, words);
    char text[33];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", (unsigned)words[0], (unsigned)words[1], (unsigned)words[2],
                  (unsigned)words[3]);
    return text;
}

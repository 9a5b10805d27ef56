// A .vst3 bundle loaded as hosts load one: the binary is found inside the bundle folder by the
// folder's own name (Contents/x86_64-linux/NAME.so, Contents/x86_64-win/NAME.vst3,
// Contents/x86-win/NAME.vst3; a path that is not a folder is taken as the binary itself), opened
// (dlopen with RTLD_NOW | RTLD_LOCAL, LoadLibrary on Windows), the module entry function called
// (ModuleEntry with the library's handle on Linux, InitDll on Windows; both required, as the SDK's
// hosts and Carla require them), GetPluginFactory asked, and the factory's information and class
// infos read (the Unicode ones through IPluginFactory3 where it exists, as the SDK's scanner does).
// The destructor releases the factory and calls ModuleExit / ExitDll before the file unloads.
// Thread: the host's main thread.
#pragma once

#include <string>
#include <vector>

#include "module_file.h"
#include "vst3/vst3_interface.h"

class Vst3Module {
public:
    explicit Vst3Module(const std::string &path, LibraryUnload unload = LibraryUnload::KeepMappedUnderSanitizers);
    ~Vst3Module();
    Vst3Module(const Vst3Module &) = delete;
    Vst3Module &operator=(const Vst3Module &) = delete;

    // The binary inside a bundle folder for this platform, or the path itself when it is a file.
    static std::string binaryPath(const std::string &path);
    // "x86_64-linux", "x86_64-win" or "x86-win".
    static const char *architecture();

    bool ready() const { return factoryObject != nullptr; }
    const std::string &error() const { return lastError; }
    const std::string &binary() const { return binaryFile; }

    vst3::IPluginFactory *factory() const { return factoryObject; }
    vst3::IPluginFactory2 *factory2() const { return factoryObject2; }
    vst3::IPluginFactory3 *factory3() const { return factoryObject3; }
    const vst3::PFactoryInfo &factoryInfo() const { return info; }
    const std::vector<vst3::PClassInfo2> &classes() const { return classInfos; }
    const std::vector<vst3::PClassInfoW> &unicodeClasses() const { return unicodeInfos; }
    // The first class of the category "Audio Module Class", or null.
    const vst3::PClassInfo2 *effectClass() const;

private:
    std::string binaryFile;
    ModuleFile module;
    bool entered = false;
    vst3::IPluginFactory *factoryObject = nullptr;
    vst3::IPluginFactory2 *factoryObject2 = nullptr;
    vst3::IPluginFactory3 *factoryObject3 = nullptr;
    vst3::PFactoryInfo info{};
    std::vector<vst3::PClassInfo2> classInfos;
    std::vector<vst3::PClassInfoW> unicodeInfos;
    std::string lastError;
};

// UTF-16 to UTF-8 for the printed answers (the Basic Multilingual Plane is enough here).
std::string utf8Of(const char16_t *text, size_t capacity);
// "0123456789ABCDEF0123456789ABCDEF": the class id as its four words, as moduleinfo.json has it.
std::string classIdText(const char *cid);

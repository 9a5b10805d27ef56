// The one class of the VST 3 module and its factory: the class id (four words, fixed for ever:
// projects and host caches store it), the class infos from the effect's own name, vendor and
// version, and the factory that builds the single-component effect (vst3/vst3_effect.h).
// [any-thread] unless tagged otherwise
#pragma once

#include <cstdint>
#include <string>

#include "vst3/vst3_effect.h"
#include "vst3/vst3_interface.h"

// The class id as its four words; the build reads this line for moduleinfo.json, keep its form.
constexpr uint32_t kVst3ClassIdWords[4] = {0x5A454D4Fu, 0x7264776Eu, 0x56535433u, 0x03000200u};
constexpr vst3::Uid kVst3ClassId = vst3::makeUid(kVst3ClassIdWords[0], kVst3ClassIdWords[1], kVst3ClassIdWords[2],
                                                 kVst3ClassIdWords[3]);
constexpr const char *kVst3SubCategories = "Fx|Analyzer";

// The 32-character form of the class id (the words in upper-case hex), as hosts print it.
std::string vst3ClassIdText();
// The effect's vendor version 3020 as "3.0.2".
std::string vst3VersionText();

// The factory: a static object (its references are not counted) that lives as long as the
// library. makeEffect builds each instance's effect.
class Vst3Factory : public vst3::IPluginFactory3 {
public:
    explicit Vst3Factory(EffectMaker makeEffect) : makeEffect(makeEffect) {}

    vst3::tresult VST3_API queryInterface(const vst3::TUID interfaceId, void **obj) override;
    uint32_t VST3_API addRef() override { return 1; }
    uint32_t VST3_API release() override { return 1; }

    vst3::tresult VST3_API getFactoryInfo(vst3::PFactoryInfo *info) override;
    int32_t VST3_API countClasses() override { return 1; }
    vst3::tresult VST3_API getClassInfo(int32_t index, vst3::PClassInfo *info) override;
    vst3::tresult VST3_API createInstance(const char *cid, const char *interfaceId, void **obj) override;
    vst3::tresult VST3_API getClassInfo2(int32_t index, vst3::PClassInfo2 *info) override;
    vst3::tresult VST3_API getClassInfoUnicode(int32_t index, vst3::PClassInfoW *info) override;
    vst3::tresult VST3_API setHostContext(vst3::FUnknown *context) override;

private:
    EffectMaker makeEffect;
};

// The library's entry and exit (InitDll/ModuleEntry, ExitDll/ModuleExit): they may come several
// times; only the first entry and the last exit count. [ui-thread] (the loading thread)
bool vst3LibraryEnter();
bool vst3LibraryExit();

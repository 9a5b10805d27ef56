// Writes the LV2 bundle's manifest.ttl and zem-ordwen.ttl into the folder given, from an effect
// built with its built-in defaults (the build runs it with an empty per-user store) and no editor.
//   zem_lv2_ttl BUNDLE_FOLDER
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "core/templete.h"
#include "lv2/lv2_turtle.h"
#include "meters/meter_settings.h"

namespace {

VstIntPtr VSTCALLBACK noHost(AEffect *, VstInt32 opcode, VstInt32, VstIntPtr, void *, float)
{
    return opcode == audioMasterVersion ? kVstVersion : 0;
}

bool writeFile(const std::string &path, const std::string &text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    return bool(file.flush());
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zem_lv2_ttl BUNDLE_FOLDER\n");
        return 2;
    }
    prepareMeterDefaults();
    std::unique_ptr<Templete> effect(new Templete(noHost, nullptr));
    const std::string folder = argv[1];
    if (!writeFile(folder + "/manifest.ttl", lv2ManifestTurtle()) ||
        !writeFile(folder + "/zem-ordwen.ttl", lv2PluginTurtle(*effect))) {
        std::fprintf(stderr, "zem_lv2_ttl: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}

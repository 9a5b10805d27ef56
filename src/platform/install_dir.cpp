#include "platform/install_dir.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

std::string fontPathFromManualPath(const std::wstring &manualPath)
{
    // One byte more than the conversion may write, so the text is always terminated.
    char narrow[1026] = {};
    const size_t converted = std::wcstombs(narrow, manualPath.c_str(), 1025);
    std::string path = converted == static_cast<size_t>(-1) ? std::string() : std::string(narrow);
    if (path.size() >= kManualFileNameLength)
        path.resize(path.size() - kManualFileNameLength);
    return path + "ZEMOrdwen.kqf";
}

std::string installedFontPath() { return fontPathFromManualPath(readManualPath()); }

std::wstring fontFilePathFromManualPath(const std::wstring &manualPath)
{
    std::wstring directory = manualPath.size() >= kManualFileNameLength
                                 ? manualPath.substr(0, manualPath.size() - kManualFileNameLength)
                                 : manualPath;
    return directory + L"ZEMOrdwen.kqf";
}

namespace {

// The places beside the module where a hand install keeps a file: the module's own folder,
// then its subfolder.
std::wstring besideModule(const std::wstring &name, bool inSubfolder)
{
    const std::wstring folder = pluginModuleFolder();
    if (folder.empty())
        return folder;
    return inSubfolder ? folder + kInstallSubfolder + folder.back() + name : folder + name;
}

// The first existing file of the candidates; else the fallback.
std::wstring firstExisting(std::initializer_list<std::wstring> candidates, const std::wstring &fallback)
{
    for (const std::wstring &candidate : candidates)
        if (isExistingFile(candidate))
            return candidate;
    return fallback;
}

}  // namespace

std::wstring installedManualPath()
{
    std::wstring recorded = readManualPath();
    if (!isAbsolutePath(recorded))
        recorded.clear();
    return firstExisting({recorded, besideModule(kManualFileName, false), besideModule(kManualFileName, true)},
                         recorded);
}

std::wstring installedFontFilePath()
{
    const std::wstring recorded = readManualPath();
    std::wstring derived = isAbsolutePath(recorded) ? fontFilePathFromManualPath(recorded) : std::wstring();
    if (!isAbsolutePath(derived))
        derived.clear();  // a value of 36 characters or fewer leaves no folder
    return firstExisting({derived, besideModule(kFontFileName, false), besideModule(kFontFileName, true)}, derived);
}

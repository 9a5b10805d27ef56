#include "platform/install_dir.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>

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

std::wstring packageShareFolderOf(const std::wstring &moduleFolder)
{
    if (moduleFolder.size() < 2 || moduleFolder.front() != L'/' || moduleFolder.back() != L'/')
        return std::wstring();
    // The start of each component of the folder.
    std::vector<size_t> starts;
    for (size_t i = 1; i < moduleFolder.size(); i = moduleFolder.find(L'/', i) + 1)
        if (moduleFolder[i] != L'/')
            starts.push_back(i);
    const auto component = [&](size_t k) {
        return moduleFolder.substr(starts[k], moduleFolder.find(L'/', starts[k]) - starts[k]);
    };
    // <prefix>/lib/<format>/ first, then <prefix>/lib/<format>/<bundle>/.
    for (size_t depth = 2; depth <= 3; ++depth) {
        if (starts.size() < depth)
            break;
        const std::wstring lib = component(starts.size() - depth);
        if (lib == L"lib" || lib == L"lib64")
            return moduleFolder.substr(0, starts[starts.size() - depth]) + L"share/" + kPackageDataFolder + L"/";
    }
    return std::wstring();
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

// The place in the package share folder of the module's tree; empty outside such a tree.
std::wstring inPackageShare(const std::wstring &name)
{
    const std::wstring folder = packageShareFolder();
    return folder.empty() ? folder : folder + name;
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
    return firstExisting({recorded, besideModule(kManualFileName, false), besideModule(kManualFileName, true),
                          inPackageShare(kManualFileName)},
                         recorded);
}

std::wstring installedFontFilePath()
{
    const std::wstring recorded = readManualPath();
    std::wstring derived = isAbsolutePath(recorded) ? fontFilePathFromManualPath(recorded) : std::wstring();
    if (!isAbsolutePath(derived))
        derived.clear();  // a value of 36 characters or fewer leaves no folder
    return firstExisting(
        {derived, besideModule(kFontFileName, false), besideModule(kFontFileName, true), inPackageShare(kFontFileName)},
        derived);
}

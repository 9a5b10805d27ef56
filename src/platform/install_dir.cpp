#include "platform/install_dir.h"

#include <cstdlib>
#include <cstring>

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

std::wstring installedFontFilePath() { return fontFilePathFromManualPath(readManualPath()); }

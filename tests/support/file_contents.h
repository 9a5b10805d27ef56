// The whole content of a file as bytes; empty when it cannot be read.
#pragma once

#include <cstdio>
#include <string>

inline std::string fileContents(const std::string &path)
{
    std::string data;
    if (FILE *file = std::fopen(path.c_str(), "rb")) {
        char buffer[256];
        size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            data.append(buffer, got);
        std::fclose(file);
    }
    return data;
}

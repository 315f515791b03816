#pragma once
#include <string>
#include <string_view>

namespace quillon {

// The rule of the image and decoded-output save commands: the extension
// (".bmp", ".txt") is appended unless the chosen path already contains it.
inline std::string WithExtension(std::string path, std::string_view extension)
{
    if (path.find(extension) == std::string::npos)
        path += extension;
    return path;
}

}  // namespace quillon

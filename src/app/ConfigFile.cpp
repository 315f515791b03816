#include "app/ConfigFile.h"

#include <INIReader.h>

namespace quillon {

std::string ReadCatalogueName(const std::string& configPath)
{
    INIReader reader(configPath);
    // A negative parse result means the file could not be opened; a positive
    // one is the line of the first syntax error, after which inih has still
    // read everything it could, so that value is used as it stands.
    if (reader.ParseError() < 0)
        return kBundledCatalogue;
    return reader.Get("Common", "bspxml", "null");
}

std::string CataloguePath(const std::string& catalogueFile)
{
    return "./config/" + catalogueFile;
}

}  // namespace quillon

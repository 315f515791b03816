#include "serial/PortText.h"

#include <cctype>
#include <charconv>

#include "catalogue/CatalogueText.h"
#include "serial/PortDiscovery.h"

namespace quillon {

namespace {
constexpr int kMaxPort = 1024;
}  // namespace

std::optional<int> PortNumberFromText(std::string_view typed)
{
    const std::string text = TrimBlanks(typed);
    if (text.size() < 4 || std::toupper(static_cast<unsigned char>(text[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(text[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(text[2])) != 'M')
        return std::nullopt;
    int number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data() + 3, end, number);
    if (error != std::errc() || stop != end || number < 1 || number > kMaxPort)
        return std::nullopt;
    return number;
}

std::optional<std::string> DevicePathForPortText(std::string_view typed)
{
    if (const auto number = PortNumberFromText(typed))
        return ResolvePortPath(*number);
    std::string text = TrimBlanks(typed);
    if (text.starts_with('/'))
        return text;
    return std::nullopt;
}

}  // namespace quillon

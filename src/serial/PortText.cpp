#include "serial/PortText.h"

#include <cctype>
#include <charconv>

#include "serial/PortDiscovery.h"

namespace quillon {

namespace {

constexpr int kMaxPort = 1024;

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<int> PortNumberFromText(std::string_view text)
{
    text = Trimmed(text);
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

std::optional<std::string> DevicePathForPortText(std::string_view text)
{
    if (const auto number = PortNumberFromText(text))
        return ResolvePortPath(*number);
    text = Trimmed(text);
    if (text.starts_with('/'))
        return std::string(text);
    return std::nullopt;
}

}  // namespace quillon

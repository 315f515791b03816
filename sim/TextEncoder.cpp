#include "sim/TextEncoder.h"

#include <cerrno>
#include <iconv.h>

namespace quillon::sim {

namespace {

std::optional<std::string> Convert(std::string_view text, const char* to)
{
    const iconv_t converter = iconv_open(to, "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string input(text);
    std::string output(input.size() * 4 + 4, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<std::size_t>(-1))
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

}  // namespace

std::optional<std::string> EncodeText(std::string_view utf8, TextEncoding encoding)
{
    // Converting UTF-8 to itself still checks that it is well formed.
    return Convert(utf8, encoding == TextEncoding::Gbk ? "GBK" : "UTF-8");
}

}  // namespace quillon::sim

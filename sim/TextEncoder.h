#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quillon::sim {

// How a decoded barcode's text leaves the device.
enum class TextEncoding { Gbk, Utf8 };

// UTF-8 text (as typed) in the device's output encoding; nullopt when GBK
// cannot hold a character or the text is not valid UTF-8.
std::optional<std::string> EncodeText(std::string_view utf8, TextEncoding encoding);

}  // namespace quillon::sim

#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace quillon {

// The number n of a port typed as "COMn" (letters of either case, n in
// 1..1024, nothing around it but blanks); none for anything else.
std::optional<int> PortNumberFromText(std::string_view text);

// Where a port that an operator typed or picked lives: COMn through the
// port links and the port map, or a device path ("/dev/ttyUSB0") as it is.
// None when COMn names no present port or the text is neither.
std::optional<std::string> DevicePathForPortText(std::string_view text);

}  // namespace quillon

// A small object whose read-only data becomes the test firmware.
#include <array>

namespace {
constexpr std::array<unsigned char, 777> MakeTable()
{
    std::array<unsigned char, 777> table{};
    for (unsigned i = 0; i < table.size(); ++i)
        table[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
    return table;
}
}  // namespace

extern const std::array<unsigned char, 777> firmwareTable = MakeTable();

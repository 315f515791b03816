#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Input(int route, int seed, const Bytes& body)
{
    Bytes input{static_cast<std::uint8_t>(route), static_cast<std::uint8_t>(seed)};
    input.insert(input.end(), body.begin(), body.end());
    return input;
}

Bytes Repeat(const Bytes& unit, std::size_t times)
{
    Bytes out;
    for (std::size_t i = 0; i < times; ++i)
        out.insert(out.end(), unit.begin(), unit.end());
    return out;
}

// The fuzz target's body (which traps on any broken invariant) over the
// inputs the device can throw at every route.
TEST(ReplyPathBadInput, EveryRouteSurvivesWhatADeviceCanSend)
{
    std::mt19937 random(11);
    Bytes noise(10u << 20);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    const Bytes promisesTooMuch{0x24, 0x32, 0xC0, 0xFF, 0xFF, 0x41, 0x42};
    const Bytes answeredTwice =
        Repeat({0x24, 0x30, 0x40, 0x01, 0x24, 0x30, 0x40, 0x01, 0x33, 0x76, 0x42, 0x00, 0x33, 0x76, 0x42, 0x00, 0x24,
                0x10, 0x40, 0x7F, 0x24, 0x10, 0x40, 0x7F, 0x24, 0x71, 0x81, 0x00, 0x00, 0x24, 0x71, 0x81, 0x00, 0x00},
               500);
    const Bytes linkReports = Repeat({0x22, 0x42, 0x40, 0x01, 0x22, 0x41, 0x41, 0x05, 0x33, 0x76, 0x42, 0x01}, 300);
    const Bytes bodies[] = {noise, promisesTooMuch, answeredTwice, linkReports, Repeat({0x24}, 200000)};
    for (int route = 0; route < 11; ++route) {
        for (const Bytes& body : bodies) {
            const Bytes input = Input(route, route * 7 + 3, body);
            LLVMFuzzerTestOneInput(input.data(), input.size());
        }
        for (int i = 0; i < 200; ++i) {
            Bytes body(random() % 300);
            for (auto& b : body)
                b = static_cast<std::uint8_t>(random() % 4 == 0 ? 0x24 : random());
            const Bytes input = Input(route, static_cast<int>(random()), body);
            LLVMFuzzerTestOneInput(input.data(), input.size());
        }
    }
    SUCCEED();  // any broken invariant has trapped above
}

}  // namespace

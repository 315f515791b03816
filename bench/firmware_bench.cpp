// Firmware downloads into quillon-sim's loader through a pseudo-terminal:
// a 4 MiB raw image and 4 MiB of data as Intel HEX with the line unpaced,
// then smaller ones paced at 115,200 baud against the wire time.  Prints
// what it measured.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/FirmwareDownload.h"
#include "tools/RawImage.h"

extern char** environ;

using namespace quillon;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kBaud = 115200;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The simulator as a child, serving COM9 in a link folder of its own.
class Simulator {
public:
    Simulator(const fs::path& binary, const fs::path& folder, bool paced)
    {
        setenv("QUILLON_PORT_LINKS", (folder / "ports").c_str(), 1);
        int out[2];
        if (pipe(out) != 0)
            std::exit(1);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        std::vector<std::string> args{binary.string(),
                                      "--com",
                                      "9",
                                      "--catalogue",
                                      QUILLON_SIM_CATALOGUE,
                                      "--firmware-out",
                                      (folder / "received.bin").string()};
        if (!paced)
            args.push_back("--no-pace");
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        // Standard input stays a pipe no one writes, so the simulator reads no commands.
        int in[2];
        if (pipe(in) != 0)
            std::exit(1);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            std::exit(1);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(in[0]);
        stdin_ = in[1];
        // Waits for the line that says the port is served.
        std::string printed;
        char chunk[512];
        pollfd fd{out[0], POLLIN, 0};
        while (printed.find("serving COM") == std::string::npos ||
               printed.find('\n', printed.find("serving COM")) == std::string::npos) {
            if (poll(&fd, 1, 5000) <= 0)
                std::exit(1);
            const ssize_t n = read(out[0], chunk, sizeof chunk);
            if (n <= 0)
                std::exit(1);
            printed.append(chunk, std::size_t(n));
        }
        stdout_ = out[0];
    }
    ~Simulator()
    {
        kill(pid_, SIGINT);
        waitpid(pid_, nullptr, 0);
        close(stdin_);
        close(stdout_);
    }

private:
    pid_t pid_ = -1;
    int stdin_ = -1;
    int stdout_ = -1;
};

// Notes when the last block or record before the device's final answer left.
class Timing : public IDownloadObserver {
public:
    explicit Timing(int lastPercent) : lastPercent_(lastPercent) {}
    void OnProgress(int percent) override
    {
        if (percent == lastPercent_)
            lastSent = Clock::now();
    }
    Clock::time_point lastSent{};

private:
    int lastPercent_;
};

struct Run {
    DownloadOutcome outcome;
    double sentSeconds;   // until the last block or record was taken
    double totalSeconds;  // until the device's final answer
    double toolCpuSeconds;
};

Run Download(const fs::path& file, int lastPercent)
{
    Timing timing(lastPercent);
    const StopSignal stop;
    DownloadRequest request{"COM9", file.string(), {}};
    request.options.settleMs = 0;
    const double cpu = CpuSeconds(RUSAGE_SELF);
    const auto start = Clock::now();
    const DownloadOutcome outcome = RunFirmwareDownload(request, timing, stop);
    const auto end = Clock::now();
    return {outcome, Seconds(timing.lastSent - start), Seconds(end - start), CpuSeconds(RUSAGE_SELF) - cpu};
}

std::string Payload(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + i / 4096 + 17) & 0xFF);
    bytes[0] = char(0xA7);
    return bytes;
}

std::size_t WriteFiles(const fs::path& folder, std::size_t size)
{
    std::ofstream(folder / "image.ci", std::ios::binary) << Payload(size);
    const std::string command = "objcopy -I binary -O ihex --change-addresses 0x08000000 '" +
                                (folder / "image.ci").string() + "' '" + (folder / "image.hex").string() + "'";
    if (std::system(command.c_str()) != 0)
        std::exit(1);
    std::ifstream hex(folder / "image.hex");
    std::size_t records = 0;
    for (std::string line; std::getline(hex, line);)
        ++records;
    return records;
}

bool Received(const fs::path& folder, std::size_t size)
{
    return fs::exists(folder / "received.bin") && fs::file_size(folder / "received.bin") == size;
}

void Measure(const fs::path& sim, const fs::path& folder, std::size_t size, bool paced)
{
    const std::size_t records = WriteFiles(folder, size);
    const double mib = double(size) / (1 << 20);
    const double wireRaw = double(size) * 10 / kBaud;
    const std::size_t blocks = ImageBlockCount(size);
    const int rawLast = ProgressPercent(blocks, ImageProgressDivisor(size, blocks));
    {
        Simulator device(sim, folder, paced);
        const Run raw = Download(folder / "image.ci", rawLast);
        std::printf("raw %.2f MiB %s: %s in %.3f s sent (%.1f MB/s), %.3f s to the answer; tool CPU %.1f ms/MB\n", mib,
                    paced ? "paced" : "unpaced", DescribeOutcome(raw.outcome).text.c_str(), raw.sentSeconds,
                    double(size) / 1e6 / raw.sentSeconds, raw.totalSeconds,
                    1000 * raw.toolCpuSeconds / (double(size) / 1e6));
        if (paced)
            std::printf("    wire time %.3f s; sent / wire %.3f; (answer - device's 0.7 s quiet) / wire %.3f\n",
                        wireRaw, raw.sentSeconds / wireRaw, (raw.totalSeconds - 0.7) / wireRaw);
        if (!Received(folder, size))
            std::printf("    the device did not keep the whole image\n");
    }
    {
        Simulator device(sim, folder, paced);
        const Run hex = Download(folder / "image.hex", 100);
        const double hexBytes = double(fs::file_size(folder / "image.hex"));
        std::printf(
            "hex %.2f MiB of data, %zu records %s: %s in %.3f s (%.0f records/s, %.2f MB/s of data); tool CPU %.1f ms/MB\n",
            mib, records, paced ? "paced" : "unpaced", DescribeOutcome(hex.outcome).text.c_str(), hex.totalSeconds,
            double(records) / hex.totalSeconds, double(size) / 1e6 / hex.totalSeconds,
            1000 * hex.toolCpuSeconds / (double(size) / 1e6));
        if (paced) {
            // Each record: its bytes out (about half the line's characters), one answer back.
            const double wireHex = (hexBytes / 2 + double(records)) * 10 / kBaud;
            std::printf("    wire time %.3f s; transfer / wire %.3f\n", wireHex, hex.totalSeconds / wireHex);
        }
        if (!Received(folder, size))
            std::printf("    the device did not keep the whole image\n");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const fs::path sim = argc > 1 ? fs::path(argv[1]) : fs::path(QUILLON_SIM_BINARY);
    char pattern[] = "/tmp/quillon-firmware-bench-XXXXXX";
    const fs::path folder = mkdtemp(pattern);
    Measure(sim, folder, 4 << 20, false);
    Measure(sim, folder, 128 << 10, true);
    const double simCpu = CpuSeconds(RUSAGE_CHILDREN);
    std::printf("simulator CPU over all runs (objcopy included): %.2f s\n", simCpu);
    fs::remove_all(folder);
    return 0;
}

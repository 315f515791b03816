// Pushes data through a kernel pseudo-terminal into the serial channel, with
// the event thread filling the receive buffer and this thread taking the
// bytes out as the reply processors do, and prints what it measured.
#include <dirent.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/CnComm.h"
#include "serial/PortLinks.h"

using namespace quillon;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPort = 901;

class CountingSink : public ICommSink {
public:
    void OnCommNotify(unsigned message, int, long) override
    {
        if (message != kNotifyReceived)
            return;
        {
            std::lock_guard lock(mutex_);
            ++count_;
            last_ = Clock::now();
        }
        changed_.notify_all();
    }
    // Waits for a notification after `seen`; returns the new count.
    long Wait(long seen, int ms)
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return count_ > seen; });
        return count_;
    }
    Clock::time_point Last()
    {
        std::lock_guard lock(mutex_);
        return last_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    long count_ = 0;
    Clock::time_point last_;
};

unsigned char Pattern(uint64_t at)
{
    return static_cast<unsigned char>((at * 2654435761u) >> 13);
}

// Takes everything buffered, 1023 bytes at a time under the lock, and
// checks it against the pattern.
uint64_t TakeAndCheck(CnComm& comm, uint64_t& position, uint64_t& wrong)
{
    unsigned char chunk[1023];
    uint64_t taken = 0;
    for (;;) {
        uint32_t count;
        {
            std::lock_guard lock(comm.Input().Mutex());
            count = comm.Input().Take(chunk, sizeof chunk);
        }
        if (count == 0)
            return taken;
        for (uint32_t i = 0; i < count; ++i)
            wrong += chunk[i] != Pattern(position + i);
        position += count;
        taken += count;
    }
}

double ThreadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// CPU time of the live thread called `name`, from the scheduler's account.
double NamedThreadCpuSeconds(const std::string& name)
{
    double seconds = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string comm;
        std::getline(std::ifstream(task.path() / "comm"), comm);
        if (comm != name)
            continue;
        unsigned long long ns = 0;
        std::ifstream(task.path() / "schedstat") >> ns;
        seconds += double(ns) / 1e9;
    }
    return seconds;
}

struct Line {
    int master = -1;
    int slave = -1;
    std::string path;
    Line()
    {
        char name[128];
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
            std::perror("openpty");
            std::exit(1);
        }
        path = name;
    }
    ~Line()
    {
        close(master);
        close(slave);
    }
    void Write(const unsigned char* bytes, size_t count) const
    {
        while (count > 0) {
            const ssize_t n = write(master, bytes, count);
            if (n <= 0) {
                std::perror("write");
                std::exit(1);
            }
            bytes += n;
            count -= size_t(n);
        }
    }
};

void Open(CnComm& comm, CountingSink& sink, const Line& line)
{
    PublishPortLink(kPort, line.path);
    comm.SetNotificationSink(&sink);
    if (!comm.OpenByNumber(kPort, 460800)) {
        std::fprintf(stderr, "cannot open the channel on %s\n", line.path.c_str());
        std::exit(1);
    }
}

void Throughput(uint64_t total)
{
    Line line;
    CountingSink sink;
    CnComm comm;
    Open(comm, sink, line);

    double writerCpu = 0;
    const auto start = Clock::now();
    const double takerCpu0 = ThreadCpuSeconds();
    std::thread device([&] {
        const double cpu0 = ThreadCpuSeconds();
        std::vector<unsigned char> chunk(65536);
        for (uint64_t at = 0; at < total; at += chunk.size()) {
            const size_t n = size_t(std::min<uint64_t>(chunk.size(), total - at));
            for (size_t i = 0; i < n; ++i)
                chunk[i] = Pattern(at + i);
            line.Write(chunk.data(), n);
        }
        writerCpu = ThreadCpuSeconds() - cpu0;
    });
    uint64_t position = 0, wrong = 0;
    long seen = 0;
    while (position < total) {
        const long now = sink.Wait(seen, 2000);
        if (now == seen && TakeAndCheck(comm, position, wrong) == 0)
            break;  // nothing for two seconds: bytes were lost
        seen = now;
        TakeAndCheck(comm, position, wrong);
    }
    const double eventCpu = NamedThreadCpuSeconds("comm-event");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const double takerCpu = ThreadCpuSeconds() - takerCpu0;
    device.join();
    comm.Shutdown(500);
    const double mb = double(total) / 1e6;
    std::printf("throughput: %.1f MiB in %.3f s = %.1f MB/s\n", double(total) / 1048576.0, seconds, mb / seconds);
    std::printf("  channel CPU (event thread + taker): %.2f ms per MB (event %.3f s, taker %.3f s;"
                " writer %.3f s not counted)\n",
                (eventCpu + takerCpu) * 1000 / mb, eventCpu, takerCpu, writerCpu);
    std::printf("  notifications: %ld (%.0f bytes each on average)\n", seen, seen ? double(total) / double(seen) : 0.0);
    std::printf("  bytes received %llu of %llu, %llu wrong, %llu lost\n", static_cast<unsigned long long>(position),
                static_cast<unsigned long long>(total), static_cast<unsigned long long>(wrong),
                static_cast<unsigned long long>(total - std::min(total, position)));
}

void Latency(int bursts)
{
    Line line;
    CountingSink sink;
    CnComm comm;
    Open(comm, sink, line);
    std::vector<double> ms;
    uint64_t position = 0, wrong = 0;
    long seen = 0;
    for (int i = 0; i < bursts; ++i) {
        unsigned char burst[16];
        for (size_t k = 0; k < sizeof burst; ++k)
            burst[k] = Pattern(position + k);
        const auto sent = Clock::now();
        line.Write(burst, sizeof burst);
        const long now = sink.Wait(seen, 2000);
        if (now == seen)
            break;
        seen = now;
        ms.push_back(std::chrono::duration<double, std::milli>(sink.Last() - sent).count());
        TakeAndCheck(comm, position, wrong);
    }
    std::sort(ms.begin(), ms.end());
    if (ms.empty()) {
        std::printf("latency: no notification\n");
        return;
    }
    std::printf("latency write -> notification (%zu bursts of 16 bytes): median %.1f ms, p99 %.1f ms,"
                " min %.1f ms, max %.1f ms\n",
                ms.size(), ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.front(), ms.back());
}

void Paced(int seconds, int bytesPerSecond)
{
    Line line;
    CountingSink sink;
    CnComm comm;
    Open(comm, sink, line);
    const uint64_t total = uint64_t(seconds) * bytesPerSecond;
    const size_t perTick = size_t(bytesPerSecond / 100);  // every 10 ms
    std::thread device([&] {
        std::vector<unsigned char> chunk(perTick);
        auto next = Clock::now();
        for (uint64_t at = 0; at < total; at += perTick) {
            const size_t n = size_t(std::min<uint64_t>(perTick, total - at));
            for (size_t i = 0; i < n; ++i)
                chunk[i] = Pattern(at + i);
            line.Write(chunk.data(), n);
            next += std::chrono::milliseconds(10);
            std::this_thread::sleep_until(next);
        }
    });
    const auto start = Clock::now();
    const double event0 = NamedThreadCpuSeconds("comm-event");
    const double taker0 = ThreadCpuSeconds();
    uint64_t position = 0, wrong = 0;
    long seen = 0;
    while (position < total) {
        const long now = sink.Wait(seen, 2000);
        if (now == seen)
            break;
        seen = now;
        TakeAndCheck(comm, position, wrong);
    }
    const double eventCpu = NamedThreadCpuSeconds("comm-event") - event0;
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double takerCpu = ThreadCpuSeconds() - taker0;
    device.join();
    std::printf("paced %d bytes/s for %.1f s: event thread %.3f%% of a core, taker %.3f%%,"
                " %ld notifications, %llu of %llu bytes, %llu wrong\n",
                bytesPerSecond, wall, eventCpu * 100 / wall, takerCpu * 100 / wall, seen,
                static_cast<unsigned long long>(position), static_cast<unsigned long long>(total),
                static_cast<unsigned long long>(wrong));
}

}  // namespace

int main(int argc, char** argv)
{
    const uint64_t megabytes = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 64;
    char folder[] = "/tmp/quillon-bench-XXXXXX";
    if (!mkdtemp(folder))
        return 1;
    setenv("QUILLON_PORT_LINKS", folder, 1);
    Throughput(megabytes << 20);
    Latency(50);
    Paced(5, 46080);
    RemovePortLink(kPort);
    rmdir(folder);
    return 0;
}

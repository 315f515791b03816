// Benchmark of CXmlReader::LoadFile against pugixml's load_file, and of the
// catalogue loader, on large catalogue-shaped files.  Prints MB/s, the ratio
// of parse times to pugixml's and the peak resident memory of each case,
// measured in a child process of its own so that the peaks are separate.
// Each case runs once to warm the page cache and the allocator, then several
// times; the median is reported, with the build type the figures come from.
//
//   xml_bench                  10 MB and 50 MB, UTF-8 and UTF-16LE
//   xml_bench --sizes 5,20     other sizes in MB
//
// Aims: LoadFile within 1.5x of pugixml's time; peak memory at most 3x the
// file size.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "base/Prompt.h"
#include "base/Utf.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueTree.h"
#include "catalogue/XmlReader.h"

namespace {

// Process CPU time rather than wall time: the figures stay comparable on a
// machine that is busy with other work.
double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec / 1e9;
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The bundled catalogue with its settings section (the TYPE_INFO groups)
// repeated until the file reaches `bytes` in the given encoding.
std::string MakeCatalogue(std::size_t bytes, bool utf16)
{
    const std::string source = ReadWhole(QUILLON_SOURCE_DIR "/config/all.xml");
    const std::size_t open = source.find("<CODEBAR_SET>");
    const std::size_t close = source.find("</CODEBAR_SET>");
    if (open == std::string::npos || close == std::string::npos) {
        std::cerr << "config/all.xml has no CODEBAR_SET section\n";
        std::exit(1);
    }
    const std::size_t bodyStart = open + std::strlen("<CODEBAR_SET>");
    const std::string head = source.substr(0, bodyStart);
    const std::string body = source.substr(bodyStart, close - bodyStart);
    const std::string tail = source.substr(close);
    const double scale = utf16 ? static_cast<double>(quillon::Utf8ToUtf16(body).size() * 2) / body.size() : 1.0;
    std::string text = head;
    while ((text.size() + body.size() + tail.size()) * scale < bytes)
        text += body;
    text += tail;
    if (!utf16)
        return text;
    const std::u16string wide = quillon::Utf8ToUtf16(text);
    std::string out = "\xFF\xFE";
    out.append(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
    return out;
}

struct NoPrompt : quillon::IPrompt {
    void ShowError(const std::string& text) override { std::cerr << "error: " << text << "\n"; }
    void ShowInfo(const std::string&) override {}
    bool AskOkCancel(const std::string&) override { return true; }
};

long PeakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 == 1 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Child side: parse `path` once to warm up, then `runs` times with `parser`;
// print the median time in seconds, the peak RSS in KB and a checksum that
// keeps the work alive.
int RunChild(const std::string& parser, const std::string& path, int runs)
{
    const long baselineKb = PeakKb();
    std::vector<double> times;
    std::size_t check = 0;
    for (int i = 0; i <= runs; ++i) {
        double seconds = 0;
        if (parser == "quillon") {
            quillon::CXmlReader reader;
            const double start = CpuSeconds();
            const bool ok = reader.LoadFile(path);
            seconds = CpuSeconds() - start;
            if (!ok)
                std::cerr << "LoadFile: " << reader.GetResultText() << "\n";
            check += reader.GetRecordCount();
        } else if (parser == "pugixml") {
            pugi::xml_document doc;
            const double start = CpuSeconds();
            const pugi::xml_parse_result result = doc.load_file(path.c_str());
            seconds = CpuSeconds() - start;
            if (!result)
                std::cerr << "pugixml: " << result.description() << "\n";
            check += static_cast<std::size_t>(result.status);
        } else {
            quillon::CXmlReader reader;
            quillon::CatalogueLists lists;
            quillon::CatalogueTree tree;
            NoPrompt prompt;
            quillon::CatalogueLoader loader(reader, lists, tree, prompt);
            const double start = CpuSeconds();
            const int result = loader.LoadCatalogue(path);
            seconds = CpuSeconds() - start;
            if (result != 0)
                std::cerr << "LoadCatalogue: " << result << "\n";
            check += lists.treeNodes.size();
        }
        if (i > 0)
            times.push_back(seconds);  // run 0 is the warm-up
    }
    std::printf("%.6f %ld %zu %ld\n", Median(times), PeakKb(), check, baselineKb);
    return 0;
}

struct Measure {
    double seconds = 0;
    long peakKb = 0;
    std::size_t check = 0;
    long baselineKb = 0;
};

Measure RunInChild(const char* self, const std::string& parser, const std::string& path, int runs)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        std::exit(1);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        const std::string runsText = std::to_string(runs);
        execl(self, self, "--child", parser.c_str(), path.c_str(), runsText.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string output;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        output.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    Measure m;
    std::istringstream(output) >> m.seconds >> m.peakKb >> m.check >> m.baselineKb;
    return m;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--child")
        return RunChild(argv[2], argv[3], std::atoi(argv[4]));

    std::vector<std::size_t> sizesMb = {10, 50};
    if (argc == 3 && std::string(argv[1]) == "--sizes") {
        sizesMb.clear();
        std::stringstream list(argv[2]);
        for (std::string item; std::getline(list, item, ',');)
            sizesMb.push_back(std::stoul(item));
    }

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("quillon-xml-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const char* self = "/proc/self/exe";
    std::string selfPath = std::filesystem::read_symlink(self).string();

    std::printf("Build type %s%s.  Times are process CPU seconds, the median of 5 runs (3 from 20 MB)\n"
                "after one warm-up run.  Peak RSS is the child's whole peak; 'base' is its RSS before\n"
                "parsing, and peak/file divides the peak without that base by the file size.\n",
                QUILLON_BUILD_TYPE,
#if defined(__OPTIMIZE__)
                ""
#else
                " (not optimised: the figures mean little)"
#endif
    );
    std::printf("%-9s %6s %-15s %9s %9s %10s %12s %8s %10s\n", "encoding", "MB", "parser", "CPU s", "MB/s",
                "vs pugixml", "peak RSS MB", "base MB", "peak/file");
    for (const std::size_t mb : sizesMb) {
        for (const bool utf16 : {false, true}) {
            const std::string path =
                (dir / ("catalogue-" + std::to_string(mb) + (utf16 ? "-utf16le" : "-utf8") + ".xml")).string();
            // Generated in a child: a child's peak RSS starts from its
            // parent's (Linux carries the high-water mark across fork and
            // exec), so the parent must never hold a large file itself.
            if (const pid_t writer = fork(); writer == 0) {
                const std::string bytes = MakeCatalogue(mb * 1000 * 1000, utf16);
                std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
                _exit(0);
            } else {
                int status = 0;
                waitpid(writer, &status, 0);
            }
            const std::size_t fileBytes = std::filesystem::file_size(path);
            const double fileMb = fileBytes / 1e6;
            const int runs = mb <= 20 ? 5 : 3;
            const Measure pugi = RunInChild(selfPath.c_str(), "pugixml", path, runs);
            for (const char* parser : {"pugixml", "quillon", "loader"}) {
                const Measure m =
                    std::string(parser) == "pugixml" ? pugi : RunInChild(selfPath.c_str(), parser, path, runs);
                std::printf("%-9s %6.1f %-15s %9.4f %9.1f %10.2f %12.1f %8.1f %10.2f\n", utf16 ? "UTF-16LE" : "UTF-8",
                            fileMb, std::string(parser) == "loader" ? "CatalogueLoader" : parser, m.seconds,
                            fileMb / m.seconds, m.seconds / pugi.seconds, m.peakKb / 1024.0, m.baselineKb / 1024.0,
                            (m.peakKb - m.baselineKb) / 1024.0 / (fileBytes / 1048576.0));
            }
            std::filesystem::remove(path);
        }
    }
    std::filesystem::remove_all(dir);
    return 0;
}

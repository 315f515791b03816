// The reply processors and the tree marks, fed without a port:
//  (b) 10 MB of noise and 10 MB of valid read-back frames in random splits
//      through the dispatcher's processors: MB/s and peak memory;
//  (c) ShowDeviceSetting for 5,000 records against a generated catalogue of
//      50,000 options, checked against a plain walk over every option.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "catalogue/CatalogueTree.h"
#include "device/DeviceSettingMarks.h"
#include "device/ReadBackProcessor.h"
#include "device/SettingWriteProcessor.h"

using namespace quillon;
using Clock = std::chrono::steady_clock;

namespace {

struct CountingOutcome : IReadBackOutcome, ISettingWriteOutcome {
    void ReadBackProgress() override {}
    void DeviceSetting(std::string_view, int) override { ++frames; }
    void ReadBackEnded() override {}
    void ReplyReceived(std::string_view) override {}
    void WriteAccepted() override {}
    void WriteRefused() override {}
    void LinkChanged(LinkReport) override {}
    long frames = 0;
};

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Feed(IReplyProcessor& processor, const std::vector<std::uint8_t>& bytes, std::mt19937& random)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t n = std::min<std::size_t>(random() % 1023 + 1, bytes.size() - at);
        processor.Feed(bytes.data() + at, n);
        at += n;
    }
}

void ProcessorThroughput()
{
    constexpr std::size_t kSize = 10u << 20;
    std::mt19937 random(3);
    std::vector<std::uint8_t> noise(kSize);
    for (auto& b : noise)
        b = static_cast<std::uint8_t>(random());
    std::vector<std::uint8_t> frames;
    while (frames.size() < kSize) {
        const std::uint8_t form = static_cast<std::uint8_t>(random() % 4);
        frames.insert(frames.end(), {0x24, 0x30, static_cast<std::uint8_t>(form << 6 | 0x01)});
        if (form == 1)
            frames.push_back(0x01);
        else if (form == 2)
            frames.insert(frames.end(), {0x00, 0x05});
        else if (form == 3)
            frames.insert(frames.end(), {0x00, 0x08, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'});
    }
    std::printf("(b) processors, random splits of 1..1023 bytes (peak memory before: %ld KiB)\n", PeakKilobytes());
    const std::pair<const char*, const std::vector<std::uint8_t>*> inputs[] = {{"noise", &noise}, {"frames", &frames}};
    for (const auto& [name, bytes] : inputs) {
        CountingOutcome outcome;
        ReadBackProcessor readBack(outcome);
        SettingWriteProcessor writes(outcome);
        auto start = Clock::now();
        Feed(readBack, *bytes, random);
        const double readSeconds = Seconds(start);
        start = Clock::now();
        Feed(writes, *bytes, random);
        const double writeSeconds = Seconds(start);
        const double mb = static_cast<double>(bytes->size()) / (1 << 20);
        std::printf("    %-6s read-back %7.1f MB/s (%ld frames), setting-write %7.1f MB/s, peak memory %ld KiB\n", name,
                    mb / readSeconds, outcome.frames, mb / writeSeconds, PeakKilobytes());
    }
}

std::string Cased(std::string text, bool upper)
{
    for (char& c : text)
        c = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(c))
                                    : std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The plain walk over every option, as the tree marks were first described.
void Walk(const std::vector<TreeNodeInfo>& nodes, CatalogueTree& tree, const std::string& frame)
{
    const std::string lowerMatch = Cased(frame.substr(2, 6), false);
    const std::string upperMatch = Cased(frame.substr(2, 6), true);
    const std::string_view lowerKey = std::string_view(lowerMatch).substr(0, 4);
    const std::string_view upperKey = std::string_view(upperMatch).substr(0, 4);
    for (const TreeNodeInfo& node : nodes) {
        if (node.level != 3)
            continue;
        const std::string_view key = std::string_view(node.code).substr(0, 4);
        if (node.code == lowerMatch || node.code == upperMatch)
            tree.SetItemLook(node.treeItem, node.name + "*", 3, 3);
        else if (key == lowerKey || key == upperKey)
            tree.SetItemLook(node.treeItem, node.name, 2, 2);
    }
}

void MarksAgainstALargeCatalogue()
{
    constexpr int kSettings = 5000;
    constexpr int kOptionsEach = 10;
    std::vector<TreeNodeInfo> nodes;
    CatalogueTree indexedTree;
    CatalogueTree walkedTree;
    for (int s = 0; s < kSettings; ++s) {
        char key[8];
        std::snprintf(key, sizeof key, "%04X", 0x1000 + s);
        TreeNodeInfo setting;
        setting.level = 2;
        setting.pidFid = key;
        setting.name = key;
        setting.treeItem = indexedTree.InsertItem(key, 4, 5, kNoTreeItem);
        walkedTree.InsertItem(key, 4, 5, kNoTreeItem);
        nodes.push_back(setting);
        for (int o = 0; o < kOptionsEach; ++o) {
            char code[16];
            std::snprintf(code, sizeof code, "%s%02X", key, o);
            TreeNodeInfo option;
            option.level = 3;
            option.code = code;
            option.name = code;
            option.treeItem = indexedTree.InsertItem(code, 2, 2, setting.treeItem);
            walkedTree.InsertItem(code, 2, 2, setting.treeItem);
            nodes.push_back(option);
        }
    }
    std::mt19937 random(5);
    std::vector<std::string> records;
    for (int i = 0; i < 5000; ++i) {
        char frame[16];
        std::snprintf(frame, sizeof frame, "24%04x%02x", 0x1000 + static_cast<int>(random() % kSettings),
                      static_cast<int>(random() % kOptionsEach));
        records.push_back(frame);
    }
    DeviceSettingMarks marks(nodes, indexedTree);
    auto start = Clock::now();
    for (const std::string& record : records)
        marks.ShowDeviceSetting(record, 8);
    const double indexed = Seconds(start);
    start = Clock::now();
    for (const std::string& record : records)
        Walk(nodes, walkedTree, record);
    const double walked = Seconds(start);
    bool same = true;
    for (std::size_t id = 1; id <= indexedTree.Size(); ++id) {
        const TreeItem& a = indexedTree.Item(static_cast<TreeItemId>(id));
        const TreeItem& b = walkedTree.Item(static_cast<TreeItemId>(id));
        same = same && a.text == b.text && a.image == b.image;
    }
    std::printf("(c) ShowDeviceSetting, 5,000 records, %d options: %.3f s indexed, %.3f s walking every option; "
                "same tree: %s\n",
                kSettings * kOptionsEach, indexed, walked, same ? "yes" : "NO");
}

}  // namespace

int main()
{
    ProcessorThroughput();
    MarksAgainstALargeCatalogue();
    return 0;
}

#include "device/ImageExtraction.h"
#include "device/PicSizeRules.h"
#include "device/TransferProgress.h"
#include "support/RecordingPrompt.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quillon {
namespace {

struct ScaleCase {
    std::vector<PicScale> presses;
    int width;
    int height;
};

TEST(PicSizeRules, ScalesWorkOnWhatIsHeld)
{
    using S = PicScale;
    const ScaleCase cases[] = {
        {{S::Original}, 640, 480},
        {{S::Half}, 452, 336},
        {{S::Quarter}, 320, 240},
        {{S::Eighth}, 224, 168},
        {{S::Sixteenth}, 160, 120},
        {{S::ThirtySecond}, 112, 84},
        {{S::Half, S::Half}, 316, 236},  // 452 x 0.707 = 319 -> 316; 336 x 0.707 = 237 -> 236
        {{S::Quarter, S::Quarter}, 160, 120},
        {{S::Eighth, S::Original}, 224, 168},
        {{S::ThirtySecond, S::ThirtySecond}, 20, 12},  // 112 x 0.18 = 20; 84 x 0.18 = 15 -> 12
    };
    for (const ScaleCase& c : cases) {
        PicSizeRules rules(640, 480);
        for (const PicScale scale : c.presses)
            rules.ApplyScale(scale);
        EXPECT_EQ(rules.Width(), c.width) << c.presses.size() << " presses";
        EXPECT_EQ(rules.Height(), c.height);
        EXPECT_EQ(rules.Accept("", ""), nullptr);  // OK keeps what is held
        EXPECT_EQ(rules.Width(), c.width);
    }
    // A camera too large for the receive area: its own size is refused at
    // OK, a scale that fits is not.
    PicSizeRules large(1280, 1024);
    large.ApplyScale(PicScale::Original);
    EXPECT_STREQ(large.Accept("", ""), kPixelMaximumText);
    large.ApplyScale(PicScale::Half);
    EXPECT_EQ(large.Accept("", ""), nullptr);
    EXPECT_EQ(large.Width(), 904);

    PicSizeRules odd(643, 481);
    odd.ApplyScale(PicScale::Original);
    EXPECT_EQ(odd.Width(), 640);
    EXPECT_EQ(odd.Height(), 480);
}

TEST(PicSizeRules, PixelEntry)
{
    struct Case {
        const char* width;
        const char* height;
        const char* message;
        int acceptedWidth;
        int acceptedHeight;
    };
    const Case cases[] = {
        {"101", "50", nullptr, 100, 48},
        {"11", "200", kPixelMinimumText, 0, 0},  // 8 x 200
        {"12", "12", nullptr, 12, 12},
        {"", "100", kPixelMinimumText, 0, 0},
        {"100", "", kPixelMinimumText, 0, 0},
        {"1024", "1020", nullptr, 1024, 1020},
        {"1024", "1024", kPixelMaximumText, 0, 0},  // header and pixels pass 1 MiB
        {"65540", "12", kPixelMaximumText, 0, 0},
        {"99999999999999999999999", "12", kPixelMaximumText, 0, 0},
    };
    for (const Case& c : cases) {
        PicSizeRules rules(640, 480);
        rules.EnterPixelEntry();
        EXPECT_STREQ(rules.Accept(c.width, c.height), c.message) << c.width << " x " << c.height;
        if (c.message == nullptr) {
            EXPECT_EQ(rules.Width(), c.acceptedWidth);
            EXPECT_EQ(rules.Height(), c.acceptedHeight);
        } else {
            EXPECT_EQ(rules.Width(), 640);  // the dialog stays open with what it held
        }
    }
    PicSizeRules rules(640, 480);
    rules.EnterPixelEntry();
    rules.ApplyScale(PicScale::Quarter);
    EXPECT_FALSE(rules.PixelEntry());
    EXPECT_EQ(rules.Accept("11", "11"), nullptr);  // typed texts count only in pixel entry
    EXPECT_EQ(rules.Width(), 320);
}

TEST(ProgressWatch, PercentAndText)
{
    struct Case {
        std::uint32_t expected;
        std::uint32_t received;
        int percent;
        const char* text;
    };
    const Case cases[] = {
        {0, 0, 0, "数据提取中   0%"},
        {307200, 0, 0, "数据提取中   0%"},
        {307200, 153600, 50, "数据提取中  50%"},
        {3, 2, 66, "数据提取中  66%"},
        {4000000000u, 3999999999u, 99, "数据提取中  99%"},  // no overflow in received x 100
    };
    for (const Case& c : cases) {
        ProgressWatch watch;
        EXPECT_EQ(watch.Tick({c.expected, c.received, false}), ProgressWatch::Step::Show);
        EXPECT_EQ(watch.Percent(), c.percent);
        EXPECT_EQ(watch.Text(), c.text);
    }
}

TEST(ProgressWatch, ClosesWhenDoneAndGivesUpOnAStall)
{
    ProgressWatch watch;
    EXPECT_EQ(watch.Tick({100, 100, false}), ProgressWatch::Step::Close);
    EXPECT_EQ(watch.Tick({100, 10, true}), ProgressWatch::Step::Close);
    // Nothing expected yet is not "all received": the dialog waits for the header.
    ProgressWatch early;
    EXPECT_EQ(early.Tick({0, 0, false}), ProgressWatch::Step::Show);

    ProgressWatch stalled;
    std::uint32_t received = 0;
    for (int tick = 0; tick < 5; ++tick)
        EXPECT_EQ(stalled.Tick({1000, received += 10, false}), ProgressWatch::Step::Show);
    for (int tick = 1; tick < ProgressWatch::kStallTicks; ++tick)
        EXPECT_EQ(stalled.Tick({1000, received, false}), ProgressWatch::Step::Show) << tick;
    EXPECT_EQ(stalled.Tick({1000, received, false}), ProgressWatch::Step::Stalled);
}

// The device, the dialogs and the window of an extraction, each step written
// down in the order it came.
struct ExtractionBench : IImageSource, ICaptureDialogs, IImageExtractionHost {
    void RequestResolution() override { steps.push_back("resolution"); }
    void RequestImage(int width, int height) override
    {
        steps.push_back("image " + std::to_string(width) + "x" + std::to_string(height));
    }
    const TransferProgress& Progress() const override { return progress; }
    void ShowVersion(const std::vector<VersionField>&) override {}
    std::optional<ImageSize> AskImageSize(int width, int height) override
    {
        steps.push_back("ask " + std::to_string(width) + "x" + std::to_string(height));
        return answer;
    }
    bool RunProgress(const TransferProgress&) override
    {
        steps.push_back("progress");
        if (duringProgress)
            duringProgress();
        return finished;
    }
    bool ExtractChecked() const override { return checked; }
    void SetExtractChecked(bool value) override
    {
        checked = value;
        steps.push_back(value ? "ticked" : "unticked");
    }
    void PrepareForImage() override
    {
        steps.push_back("prepare");
        checked = checked && !untickWhilePreparing;
    }
    void ExtractionEnded() override { steps.push_back("ended"); }
    void ShowErrorLater(const char* message) override { steps.push_back(std::string("later: ") + message); }

    std::optional<ImageSize> answer = ImageSize{320, 240};
    bool checked = true;
    bool untickWhilePreparing = false;
    bool finished = true;
    TransferProgress progress;
    std::function<void()> duringProgress;
    std::vector<std::string> steps;
    test::RecordingPrompt prompt;
    ImageExtraction extraction{*this, *this, prompt, *this};
};

TEST(ImageExtraction, StepsAndWhatIsSaid)
{
    constexpr const char* kRefusal = "图像数据格式错误，请重试！";
    struct Case {
        const char* name;
        std::function<void(ExtractionBench&)> arrange;
        int width;
        std::vector<std::string> steps;
        std::vector<std::string> said;
    };
    const std::vector<std::string> whole = {"ask 640x480", "prepare", "image 320x240", "progress", "unticked", "ended"};
    const Case cases[] = {
        {"resolution not known yet", {}, -1, {"resolution"}, {}},
        {"size dialog cancelled", [](ExtractionBench& b) { b.answer.reset(); }, 640, {"ask 640x480", "unticked"}, {}},
        {"box cleared while the pane makes room",
         [](ExtractionBench& b) { b.untickWhilePreparing = true; },
         640,
         {"ask 640x480", "prepare"},
         {}},
        {"image complete", {}, 640, whole, {}},
        {"device stopped sending", [](ExtractionBench& b) { b.finished = false; }, 640, whole, {kImageStalledText}},
        {"given up as the last bytes came",
         [](ExtractionBench& b) {
             b.finished = false;
             b.progress.finished = true;
         },
         640,
         whole,
         {}},
        // Said once, after the progress dialog, not as a stall besides.
        {"refused during the transfer",
         [](ExtractionBench& b) {
             b.finished = false;
             b.duringProgress = [&b] { b.extraction.Refused(kRefusal); };
         },
         640,
         whole,
         {kRefusal}},
    };
    for (const Case& c : cases) {
        ExtractionBench bench;
        if (c.arrange)
            c.arrange(bench);
        bench.extraction.Run(c.width, c.width < 0 ? -1 : 480);
        EXPECT_EQ(bench.steps, c.steps) << c.name;
        EXPECT_EQ(bench.prompt.Texts(), c.said) << c.name;
    }

    // Image data nobody asked for, taken while the box stayed ticked: the
    // box is cleared, the link rests, and the message waits for the
    // dispatch to return.
    ExtractionBench unasked;
    unasked.extraction.Refused(kRefusal);
    EXPECT_EQ(unasked.steps, (std::vector<std::string>{"unticked", "ended", std::string("later: ") + kRefusal}));
    EXPECT_TRUE(unasked.prompt.shown.empty());
}

}  // namespace
}  // namespace quillon

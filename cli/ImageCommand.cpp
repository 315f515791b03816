#include "base/ShownText.h"
#include "cli/DeviceLink.h"
#include "cli/OutputTarget.h"
#include "cli/PortOptions.h"
#include "cli/Verbs.h"
#include "device/KlsBmpFile.h"
#include "device/PicSizeRules.h"

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>

namespace quillon::cli {

namespace {

const std::map<std::string, PicScale> kScales = {
    {"1", PicScale::Original}, {"1/2", PicScale::Half},       {"1/4", PicScale::Quarter},
    {"1/8", PicScale::Eighth}, {"1/16", PicScale::Sixteenth}, {"1/32", PicScale::ThirtySecond},
};

struct ImageArgs {
    PortArgs link;
    std::string output;
    std::string scale;
    std::string size;  // WxH
};

// The progress line on a terminal: redrawn when the figure moves, a few
// times a second at most, so that a fast transfer does not spend itself on
// the terminal; Finish() shows where the transfer ended.
class ProgressLine {
public:
    static constexpr auto kEvery = std::chrono::milliseconds(250);

    void Show(const TransferProgress& progress)
    {
        const int percent = ProgressWatch::PercentOf(progress);
        const auto now = DeviceLink::Clock::now();
        if (percent == shown_ || now < next_)
            return;
        next_ = now + kEvery;
        Draw(percent);
    }
    void Finish(bool complete, const TransferProgress& progress)
    {
        Draw(complete ? 100 : ProgressWatch::PercentOf(progress));
        std::fputc('\n', stderr);
    }

private:
    void Draw(int percent)
    {
        shown_ = percent;
        std::fprintf(stderr, "\r%s %3d%%", Shown("数据提取中").c_str(), percent);
        std::fflush(stderr);
    }

    int shown_ = -1;
    DeviceLink::Clock::time_point next_{};
};

}  // namespace

ExitStatus ExtractImage(const ImageArgs& image)
{
    if (!OutputAccepted(image.output))
        return ExitStatus::BadInput;
    DeviceLink link(image.link);
    if (const ExitStatus status = link.LoadAndOpen(); status != ExitStatus::Done)
        return status;
    CaptureEvents events;
    DeviceCapture capture(link.Doc(), link.Session().Frames(), link.Session().Dispatcher(), link.Link(), events);
    capture.RequestResolution();
    if (const DeviceLink::End end = link.Pump([&] { return events.resolutionArrived; }); end != DeviceLink::End::Done) {
        if (end == DeviceLink::End::Interrupted)
            return ExitStatus::Interrupted;
        Complain(image.link.port + ": the device did not tell its resolution");
        return ExitStatus::DeviceOrOutcome;
    }

    // The image-size dialog's arithmetic, on the resolution the device gave.
    PicSizeRules size(link.Doc().deviceInfo.width, link.Doc().deviceInfo.height);
    std::string width;
    std::string height;
    if (!image.size.empty()) {
        const auto x = image.size.find_first_of("xX");
        width = image.size.substr(0, x);
        height = image.size.substr(x + 1);
        size.EnterPixelEntry();
    } else {
        size.ApplyScale(kScales.at(image.scale.empty() ? "1" : image.scale));
    }
    if (const char* refusal = size.Accept(width, height)) {
        Complain(refusal);
        return ExitStatus::BadInput;
    }

    capture.RequestImage(size.Width(), size.Height());
    std::optional<ProgressLine> progress;
    if (isatty(STDERR_FILENO) == 1)
        progress.emplace();
    const DeviceLink::End end = link.Pump([&] {
        if (progress)
            progress->Show(capture.Progress());
        return events.imageArrived || events.refusal != nullptr;
    });
    if (progress)
        progress->Finish(events.imageArrived, capture.Progress());
    if (end == DeviceLink::End::Interrupted) {
        Complain("interrupted before the image was complete; " + OutputName(image.output) + " not written");
        return ExitStatus::Interrupted;
    }
    if (events.refusal || end != DeviceLink::End::Done) {
        Complain(events.refusal ? std::string(events.refusal)
                                : image.link.port + ": the image stopped arriving before it was complete");
        return ExitStatus::DeviceOrOutcome;
    }

    const DeviceImage& picture = link.Doc().image;
    CKlsBmpFile bmp;
    if (!bmp.Build(picture.pixels.data(), picture.pixels.size(), picture.width, picture.height)) {
        Complain(image.link.port + ": the image the device sent cannot be made a BMP");
        return ExitStatus::DeviceOrOutcome;
    }
    const std::vector<std::uint8_t>& bytes = bmp.FileBytes();
    if (const std::string error =
            WriteOutput(image.output, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        !error.empty()) {
        Complain(OutputName(image.output) + ": " + error);
        return ExitStatus::DeviceOrOutcome;
    }
    // With -o - the image is standard output; the figures go to standard error.
    std::fprintf(image.output == "-" ? stderr : stdout, "%d %d %zu\n", picture.width, picture.height, bytes.size());
    return ExitStatus::Done;
}

Verb AddImageVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("image", "Take an image from the device's camera as a grey BMP.");
    command->footer("Asks for the resolution, sizes the image as the image-size dialog does, receives it (a "
                    "progress line on standard error when that is a terminal) and prints width, height and "
                    "bytes written.");
    auto args = std::make_shared<ImageArgs>();
    AddPortOptions(*command, args->link, false);
    command->add_option("-o,--output", args->output, "the BMP file to write (- for standard output)")
        ->type_name("FILE.bmp")
        ->required();
    CLI::Option* scale = command->add_option("--scale", args->scale, "a scale of the full resolution")
                             ->type_name("1|1/2|1/4|1/8|1/16|1/32")
                             ->check(CLI::IsMember({"1", "1/2", "1/4", "1/8", "1/16", "1/32"}));
    command->add_option("--size", args->size, "pixels, rounded down to multiples of 4")
        ->type_name("WxH")
        ->check(CLI::Validator(
            [](std::string& value) {
                const auto x = value.find_first_of("xX");
                const bool ok = x != std::string::npos && x > 0 && x + 1 < value.size() &&
                                value.find_first_not_of("0123456789", x + 1) == std::string::npos &&
                                value.find_first_not_of("0123456789") == x;
                return std::string(ok ? "" : "takes WIDTHxHEIGHT");
            },
            ""))
        ->excludes(scale);
    return {command, [args] { return ExtractImage(*args); }};
}

}  // namespace quillon::cli

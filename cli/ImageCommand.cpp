#include "cli/DeviceLink.h"
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
    {"1", PicScale::Original},   {"1/2", PicScale::Half},        {"1/4", PicScale::Quarter},
    {"1/8", PicScale::Eighth},   {"1/16", PicScale::Sixteenth},  {"1/32", PicScale::ThirtySecond},
};

struct ImageArgs {
    PortArgs link;
    std::string output;
    std::string scale;
    std::string size;  // WxH
};

void ShowProgress(const TransferProgress& progress)
{
    ProgressWatch watch;
    watch.Tick(progress);
    std::fprintf(stderr, "\r%s", watch.Text().c_str());
}

}  // namespace

int ExtractImage(const ImageArgs& image)
{
    DeviceLink link(image.link);
    if (const int status = link.LoadAndOpen())
        return status;
    CaptureEvents events;
    DeviceCapture capture(link.Doc(), link.Session().Frames(), link.Session().Dispatcher(), link.Link(),
                          events);
    capture.RequestResolution();
    if (link.Pump([&] { return events.resolutionArrived; }) != DeviceLink::End::Done) {
        std::fprintf(stderr, "quillon-cli image: the device did not tell its resolution\n");
        return kExitDevice;
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
        std::fprintf(stderr, "quillon-cli image: %s\n", refusal);
        return kExitArguments;
    }

    capture.RequestImage(size.Width(), size.Height());
    const bool terminal = isatty(STDERR_FILENO) == 1;
    const DeviceLink::End end = link.Pump([&] {
        if (terminal)
            ShowProgress(capture.Progress());
        return events.imageArrived || events.refusal != nullptr;
    });
    if (terminal)
        std::fprintf(stderr, "\n");
    if (events.refusal || end != DeviceLink::End::Done) {
        std::fprintf(stderr, "quillon-cli image: %s\n",
                     events.refusal ? events.refusal : "the image stopped arriving before it was complete");
        return kExitDevice;
    }

    const DeviceImage& picture = link.Doc().image;
    CKlsBmpFile bmp;
    if (!bmp.Build(picture.pixels.data(), picture.pixels.size(), picture.width, picture.height) ||
        bmp.Save(image.output) != 1) {
        std::fprintf(stderr, "quillon-cli image: %s could not be written\n", image.output.c_str());
        return kExitDevice;
    }
    std::printf("%d %d %zu\n", picture.width, picture.height, bmp.FileBytes().size());
    return 0;
}

Verb AddImageVerb(CLI::App& app)
{
    CLI::App* command = app.add_subcommand("image", "Take an image from the device's camera as a grey BMP.");
    command->footer("Asks for the resolution, sizes the image as the image-size dialog does, receives it (a "
                    "progress line on standard error when that is a terminal) and prints width, height and "
                    "bytes written.\nExit status: 0 written, 1 device failure, 2 wrong arguments, 3 port not "
                    "opened.");
    auto args = std::make_shared<ImageArgs>();
    AddCaptureOptions(*command, args->link);
    command->add_option("-o,--output", args->output, "the BMP file to write")->type_name("FILE.bmp")->required();
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

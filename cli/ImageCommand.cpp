#include "cli/Commands.h"
#include "cli/DeviceLink.h"
#include "device/KlsBmpFile.h"
#include "device/PicSizeRules.h"

#include <unistd.h>

#include <cstdio>
#include <map>

namespace quillon::cli {

namespace {

constexpr const char* kUsage =
    "usage: quillon-cli image --port P -o FILE.bmp [--scale 1|1/2|1/4|1/8|1/16|1/32 | --size WxH]\n"
    "                         [--baud B] [--timeout MS]\n";

const std::map<std::string, PicScale> kScales = {
    {"1", PicScale::Original},   {"1/2", PicScale::Half},        {"1/4", PicScale::Quarter},
    {"1/8", PicScale::Eighth},   {"1/16", PicScale::Sixteenth},  {"1/32", PicScale::ThirtySecond},
};

struct ImageArgs {
    std::string output;
    PicScale scale = PicScale::Original;
    std::string width;  // with --size
    std::string height;
    bool bySize = false;
};

std::string ParseImageArgs(const std::vector<std::string>& rest, ImageArgs& out)
{
    bool scaled = false;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (i + 1 >= rest.size())
            return rest[i] + " wants a value";
        const std::string& value = rest[i + 1];
        if (rest[i] == "-o") {
            out.output = value;
        } else if (rest[i] == "--scale") {
            const auto found = kScales.find(value);
            if (found == kScales.end())
                return "--scale wants 1, 1/2, 1/4, 1/8, 1/16 or 1/32";
            out.scale = found->second;
            scaled = true;
        } else if (rest[i] == "--size") {
            const auto x = value.find_first_of("xX");
            if (x == std::string::npos || value.find_first_not_of("0123456789xX") != std::string::npos)
                return "--size wants WIDTHxHEIGHT";
            out.width = value.substr(0, x);
            out.height = value.substr(x + 1);
            out.bySize = true;
        } else {
            return "unknown argument " + rest[i];
        }
        ++i;
    }
    if (out.output.empty())
        return "-o FILE.bmp is required";
    if (scaled && out.bySize)
        return "--scale and --size exclude each other";
    return {};
}

void ShowProgress(const TransferProgress& progress)
{
    ProgressWatch watch;
    watch.Tick(progress);
    std::fprintf(stderr, "\r%s", watch.Text().c_str());
}

}  // namespace

int RunImage(const Args& args)
{
    LinkOptions options;
    std::vector<std::string> rest;
    ImageArgs image;
    std::string error = ParseLinkOptions(args, options, rest);
    if (error.empty())
        error = ParseImageArgs(rest, image);
    if (!error.empty()) {
        std::fprintf(stderr, "quillon-cli image: %s\n%s", error.c_str(), kUsage);
        return kExitArguments;
    }
    DeviceLink link(options);
    if (const int status = link.Open())
        return status;
    CaptureEvents events;
    DeviceCapture capture(link.doc, link.frames, link.dispatcher, link.replyRoute, events);
    capture.RequestResolution();
    if (link.Pump([&] { return events.resolutionArrived; }) != DeviceLink::End::Done) {
        std::fprintf(stderr, "quillon-cli image: the device did not tell its resolution\n");
        return kExitDevice;
    }

    // The image-size dialog's arithmetic, on the resolution the device gave.
    PicSizeRules size(link.doc.deviceInfo.width, link.doc.deviceInfo.height);
    if (image.bySize) {
        size.EnterPixelEntry();
    } else {
        size.ApplyScale(image.scale);
    }
    if (const char* refusal = size.Accept(image.width, image.height)) {
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

    const DeviceImage& picture = link.doc.image;
    CKlsBmpFile bmp;
    if (!bmp.Build(picture.pixels.data(), picture.pixels.size(), picture.width, picture.height) ||
        bmp.Save(image.output) != 1) {
        std::fprintf(stderr, "quillon-cli image: %s could not be written\n", image.output.c_str());
        return kExitDevice;
    }
    std::printf("%d %d %zu\n", picture.width, picture.height, bmp.FileBytes().size());
    return 0;
}

}  // namespace quillon::cli

#pragma once
#include "catalogue/CatalogueRecords.h"
#include "catalogue/SelectionTargets.h"
#include "document/RsComStr.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon {

class IFrameWriter;

// A setting frame is built in an area of this many bytes; a longer one is
// refused whole rather than cut.
inline constexpr std::size_t kMaxSettingFrame = 1024;

// Turns catalogue records and operator choices into device frames, each
// written at once and whole; setting frames and replies are logged in the
// serial monitor.  Nothing here waits for an answer: the caller sets the
// reply route first.
class FrameBuilder {
public:
    FrameBuilder(const CatalogueLists& lists, std::vector<RsComStr>& monitor, IFrameWriter& writer);

    enum class SettingResult { Sent, TooLong, NoRecord };
    // The record at index with the value triple: the whole code without a
    // value; with one, the setting key, the length for text and byte values,
    // then the value.
    SettingResult SendSettingFrame(int index, const ValueTriple& value);
    // One read request per readable setting, in catalogue order.
    void SendReadBackRequests();
    void SendConnectProbes();
    void SendInfoRequests();
    void SendResolutionRequest();
    void SendImageRequest(int width, int height);
    void SendHexText(std::string_view text);
    void LogReply(std::string_view hexText);

    // The bytes of the setting frame, or nothing when it would not fit.
    static std::optional<std::vector<std::uint8_t>> SettingFrame(const TreeNodeInfo& record, const ValueTriple& value);

private:
    void Log(std::string hexText, RsComStr::Direction direction);

    const CatalogueLists& lists_;
    std::vector<RsComStr>& monitor_;
    IFrameWriter& writer_;
};

}  // namespace quillon

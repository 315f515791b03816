#pragma once

namespace quillon {

// Which operation the next device reply belongs to.
enum class ReplyRoute : int {
    None = -1,
    SettingWrite = 1,
    DecodedOutput = 2,
    ImageData = 3,
    ReadBack = 4,
    Version = 5,
    ConnectProbe = 6,
    CommandInteraction = 7,
    Resolution = 8,
};

}  // namespace quillon

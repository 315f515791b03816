#include "catalogue/ReadSettings.h"

#include "app/Prompt.h"
#include "device/ReplyRoute.h"

namespace quillon {

int BeginReadSettings(int portNumber, int& readBusy, int& replyRoute, IPrompt& prompt,
                      const std::function<void()>& sendRequests)
{
    if (portNumber <= 0) {
        prompt.ShowError(kNoPortForReadText);
        return -1;
    }
    if (readBusy)
        return -2;
    readBusy = 1;
    replyRoute = static_cast<int>(ReplyRoute::ReadBack);
    sendRequests();
    return 1;
}

}  // namespace quillon

#include "serial/ReconnectOffer.h"

#include "serial/PortLinks.h"

namespace quillon {

void ReconnectOffer::Make(int port, Clock::time_point now)
{
    offer_ = Offer{port, now};
}

bool ReconnectOffer::Expire(Clock::time_point now)
{
    if (!offer_ || now - offer_->madeAt <= kLifetime)
        return false;
    offer_.reset();
    return true;
}

std::optional<int> ReconnectOffer::Port() const
{
    if (!offer_)
        return std::nullopt;
    return offer_->port;
}

std::string ReconnectOffer::UnpluggedText(int port)
{
    return PortName(port) + " 已拔出，设备已断开";
}

std::string ReconnectOffer::ReturnedText(int port)
{
    return PortName(port) + " 已重新插入";
}

std::string ReconnectOffer::ConnectedText(int port)
{
    return PortName(port) + " 已连接";
}

std::string ReconnectOffer::ButtonText(int port)
{
    return "重新连接 " + PortName(port);
}

}  // namespace quillon

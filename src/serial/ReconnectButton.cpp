#include "serial/ReconnectButton.h"

#include "base/QtText.h"

#include <QTimer>

namespace quillon {

ReconnectButton::ReconnectButton(Now now, QWidget* parent)
    : QPushButton(parent),
      now_(std::move(now)),
      expiry_(new QTimer(this))
{
    setObjectName("reconnectButton");
    hide();
    // The minute is measured on the given clock; the timer only looks.
    expiry_->setObjectName("reconnectOfferTimer");
    expiry_->setInterval(1000);
    connect(expiry_, &QTimer::timeout, this, [this] {
        if (offer_.Expire(now_()))
            Withdraw();
    });
    connect(this, &QPushButton::clicked, this, [this] {
        const std::optional<int> port = offer_.Port();
        Withdraw();
        if (port)
            emit reconnect(*port);
    });
}

void ReconnectButton::Offer(int port)
{
    offer_.Make(port, now_());
    setText(Tr(ReconnectOffer::ButtonText(port)));
    show();
    expiry_->start();
}

void ReconnectButton::Withdraw()
{
    offer_.Withdraw();
    hide();
    expiry_->stop();
}

}  // namespace quillon

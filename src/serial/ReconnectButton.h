#pragma once
#include "serial/ReconnectOffer.h"

#include <QPushButton>

#include <functional>

class QTimer;

namespace quillon {

// The status bar's "重新连接 COMn": shown while the offer for a device that
// came back lasts, and gone when it is used, withdrawn or a minute old.
class ReconnectButton : public QPushButton {
    Q_OBJECT
public:
    using Now = std::function<ReconnectOffer::Clock::time_point()>;
    ReconnectButton(Now now, QWidget* parent);

    void Offer(int port);
    void Withdraw();

signals:
    // Clicked while its offer stood; the offer is gone by then.
    void reconnect(int port);

private:
    Now now_;
    ReconnectOffer offer_;
    QTimer* expiry_;
};

}  // namespace quillon

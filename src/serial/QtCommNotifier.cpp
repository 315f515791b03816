#include "serial/QtCommNotifier.h"

namespace quillon {

void QtCommNotifier::OnCommNotify(unsigned message, int port, long argument)
{
    // With this object as context, a call still queued when it is destroyed
    // is dropped rather than run on a dead object.
    QMetaObject::invokeMethod(
        this, [this, message, port, argument] { emit notified(message, port, argument); }, Qt::QueuedConnection);
}

}  // namespace quillon

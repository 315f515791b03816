#include "app/LockIndicators.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

namespace quillon {

namespace {
QLabel* MakeIndicator(QStatusBar* bar, const char* name, const QString& caption)
{
    auto* label = new QLabel(bar);
    label->setObjectName(name);
    label->setProperty("caption", caption);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(caption) + 12);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addPermanentWidget(label);
    return label;
}
}  // namespace

LockIndicators::LockIndicators(QStatusBar* bar)
    : QObject(bar),
      caps_(MakeIndicator(bar, "capsIndicator", QStringLiteral("CAP"))),
      num_(MakeIndicator(bar, "numIndicator", QStringLiteral("NUM"))),
      scroll_(MakeIndicator(bar, "scrollIndicator", QStringLiteral("SCRL")))
{
    qApp->installEventFilter(this);
}

void LockIndicators::Show(QLabel* label, bool on)
{
    label->setText(on ? label->property("caption").toString() : QString());
}

bool LockIndicators::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // Every key event reaches its top-level window once before the window
    // hands it to the focus widget; watching the window counts it once.
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWindowType()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Under X11 the state of a release already includes the lock it toggled.
        if (key->nativeModifiers() != 0 || QGuiApplication::platformName() == QLatin1String("xcb")) {
            Show(caps_, key->nativeModifiers() & kCapsLockMask);
            Show(num_, key->nativeModifiers() & kNumLockMask);
        }
        if (type == QEvent::KeyPress && key->key() == Qt::Key_ScrollLock && !key->isAutoRepeat()) {
            scrollLock_ = !scrollLock_;
            Show(scroll_, scrollLock_);
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace quillon

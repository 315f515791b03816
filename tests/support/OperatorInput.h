#pragma once
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

namespace quillon::test {

// The operator's own mouse and keyboard: on a real X server (xcb) the input
// goes through the server with xdotool, so it reaches the window as a
// person's would; offscreen it is Qt Test's synthesized input.  False when
// xdotool is missing or fails.
inline bool OnRealDisplay()
{
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

inline bool RunXdotool(const QStringList& arguments)
{
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    QApplication::processEvents();
    return !xdotool.isEmpty() && QProcess::execute(xdotool, arguments) == 0;
}

// Sees a mouse button released over the widget.
class ReleaseWatch : public QObject {
public:
    explicit ReleaseWatch(QWidget* widget) { widget->installEventFilter(this); }
    bool released = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        released = released || event->type() == QEvent::MouseButtonRelease;
        return false;
    }
};

// Clicks the middle of the widget; true once the click has reached it.
inline bool OperatorClick(QWidget* widget)
{
    if (!OnRealDisplay()) {
        QTest::mouseClick(widget, Qt::LeftButton);
        return true;
    }
    ReleaseWatch watch(widget);
    const QPoint at = widget->mapToGlobal(widget->rect().center());
    return RunXdotool({"mousemove", "--sync", QString::number(at.x()), QString::number(at.y()), "click", "1"}) &&
           QTest::qWaitFor([&] { return watch.released; }, 5000);
}

// Clicks into the line edit and types ASCII text after what it holds;
// true once the edit shows it.
inline bool OperatorType(QLineEdit* edit, const QString& text)
{
    const QString expected = edit->text() + text;
    if (!OnRealDisplay()) {
        QTest::keyClicks(edit, text);
    } else if (!OperatorClick(edit) || !RunXdotool({"type", "--delay", "10", text})) {
        return false;
    }
    return QTest::qWaitFor([&] { return edit->text() == expected; }, 5000);
}

}  // namespace quillon::test

#pragma once
#include <QApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

namespace quillon::test {

// The operator's own mouse: on a real X server the clicks go through the
// server (xdotool), so they reach the window as a person's would; offscreen
// they are Qt Test's.
inline bool OnRealDisplay()
{
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

inline void OperatorClick(QWidget* widget, QPoint at)
{
    if (!OnRealDisplay())
        return QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    QVERIFY2(!xdotool.isEmpty(), "xdotool is needed on a real display (scripts/install-deps)");
    QApplication::processEvents();
    const QPoint global = widget->mapToGlobal(at);
    QCOMPARE(QProcess::execute(xdotool, {"mousemove", "--sync", QString::number(global.x()),
                                         QString::number(global.y()), "click", "1"}),
             0);
}

inline void OperatorClick(QWidget* widget)
{
    OperatorClick(widget, widget->rect().center());
}

}  // namespace quillon::test

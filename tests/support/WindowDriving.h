#pragma once
#include "app/MainFrame.h"
#include "document/CodeInfo.h"
#include "serial/RsParaSet.h"
#include "support/BarcodeDecoder.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Driving the real main window as an operator does: offscreen through Qt
// Test's events, on a real X server through the server itself (xdotool), so
// the input reaches the window as a person's would.
namespace quillon::test {

inline bool OnRealDisplay()
{
    return QGuiApplication::platformName() == QStringLiteral("xcb");
}

// What the screen shows where the widget is.
inline QImage OnScreen(QWidget* widget)
{
    QApplication::processEvents();
    const QPoint at = widget->mapToGlobal(QPoint(0, 0));
    return widget->screen()->grabWindow(0, at.x(), at.y(), widget->width(), widget->height()).toImage();
}

// Whether the screen shows the widget as it would draw itself now (a few
// pixels may differ under the pointer or a blinking cursor).
inline bool ShownAsItIs(QWidget* widget)
{
    const QImage screen = OnScreen(widget).convertToFormat(QImage::Format_RGB32);
    const QImage own = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (screen.size() != own.size())
        return false;
    qsizetype same = 0;
    for (int y = 0; y < own.height(); ++y)
        for (int x = 0; x < own.width(); ++x)
            same += screen.pixel(x, y) == own.pixel(x, y);
    return same * 10 >= own.width() * own.height() * 9;
}

// Runs xdotool with the arguments; false when it is missing or failed.
inline bool XDoTool(const QStringList& arguments)
{
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    QApplication::processEvents();
    return !xdotool.isEmpty() && QProcess::execute(xdotool, arguments) == 0;
}

// Double-clicks a tree item, its parents opened first.
inline bool OperatorDoubleClick(QTreeWidget* tree, QTreeWidgetItem* item)
{
    for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
        up->setExpanded(true);
    tree->scrollToItem(item);
    const QPoint at = tree->visualItemRect(item).center();
    if (!OnRealDisplay()) {
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
        return true;
    }
    const QPoint global = tree->viewport()->mapToGlobal(at);
    // "--sync" waits for the pointer to move, so it is first taken away from
    // where a previous click may have left it.
    return XDoTool({"mousemove", "0", "0", "mousemove", "--sync", QString::number(global.x()),
                    QString::number(global.y()), "click", "--repeat", "2", "1"});
}

// A left click on a widget, at its centre unless told where.
inline bool OperatorClick(QWidget* widget, QPoint at)
{
    if (!OnRealDisplay()) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at);
        return true;
    }
    const QPoint global = widget->mapToGlobal(at);
    return XDoTool({"mousemove", "0", "0", "mousemove", "--sync", QString::number(global.x()),
                    QString::number(global.y()), "click", "1"});
}

inline bool OperatorClick(QWidget* widget)
{
    return OperatorClick(widget, widget->rect().center());
}

// A key with modifiers pressed on the active window, e.g. Ctrl+S as
// (Qt::Key_S, Qt::ControlModifier, "ctrl+s").
inline bool OperatorKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers, const char* xdotoolName)
{
    if (!OnRealDisplay()) {
        QTest::keyClick(window, key, modifiers);
        return true;
    }
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        return false;
    return XDoTool({"key", "--clearmodifiers", xdotoolName});
}

// The document pane as it is on the screen, not as it would be drawn now.
inline QImage DocumentPaneOnScreen(CMainFrame& window)
{
    QWidget* viewport = qobject_cast<QAbstractScrollArea*>(window.DocumentPane())->viewport();
    const QPoint origin = viewport->mapTo(&window, QPoint(0, 0));
    return window.screen()
        ->grabWindow(window.winId(), origin.x(), origin.y(), viewport->width(), viewport->height())
        .toImage()
        .convertToFormat(QImage::Format_Grayscale8);
}

// The screen area of an entry's bars in the pane, with room for the quiet zone.
inline QRect EntryBars(const CodeInfo& entry)
{
    return QRect(entry.symbolX - 25, entry.symbolY + 50 - 8, entry.moduleCount + 50, entry.barHeight + 16);
}

// The symbols of one kind that a scanner would read in an area of a grey image.
inline std::vector<std::string> SymbolsIn(const QImage& grey, QRect area, ZXing::BarcodeFormats format)
{
    const QImage part = grey.copy(area);
    return DecodeGrey(part.constBits(), part.width(), part.height(), static_cast<int>(part.bytesPerLine()), format);
}

// Saves a grab for people to look at when QUILLON_GRABS names a folder.
inline void Keep(const QImage& image, const QString& name)
{
    const QString folder = qEnvironmentVariable("QUILLON_GRABS");
    if (!folder.isEmpty())
        image.save(folder + '/' + name + ".png");
}

// Whether the screen shows text (dark pixels) where the widget is.
inline bool TextOnScreen(QWidget* widget)
{
    const QImage screen = OnScreen(widget).convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            if (qGray(screen.pixel(x, y)) < 100)
                return true;
    return false;
}

// The same, given the server a moment to show what was just drawn.
inline bool ShownSoon(QWidget* widget)
{
    return QTest::qWaitFor([widget] { return ShownAsItIs(widget); }, 5000);
}

// Runs act on the modal dialog of that type once it is the active window,
// from the event loop that the dialog's own exec() runs.
template <typename Dialog> void WhenShown(std::function<void(Dialog*)> act)
{
    auto* poll = new QTimer(qApp);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, act, ticks] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if ((!dialog || !dialog->isActiveWindow()) && ++*ticks < 400)  // 20 s
            return;
        poll->stop();
        poll->deleteLater();
        if (dialog)
            act(dialog);
    });
    poll->start(50);
}

inline bool Type(const QString& text)
{
    return XDoTool({"type", "--delay", "60", text});
}

inline bool Press(const QStringList& keys)
{
    return XDoTool(QStringList{"key", "--delay", "60"} + keys);
}

// Types the port's name into the port dialog, again when a loaded machine
// lost a key of it, as an operator would look and type again.
inline bool TypePort(CRsParaSet* dialog, const QString& name)
{
    auto* port = dialog->findChild<QComboBox*>("port");
    for (int attempt = 0; attempt < 3; ++attempt) {
        Press({"ctrl+a"});
        Type(name);
        if (QTest::qWaitFor([&] { return port->currentText() == name; }, 2000))
            return true;
    }
    return false;
}

}  // namespace quillon::test

#include "app/MainFrame.h"
#include "document/QuillonDoc.h"

#include <QApplication>
#include <QTimer>

namespace {

// QUILLON_GRAB_WINDOW=<file.png>: save a picture of the main window once it
// is shown and quit, so the window can be looked at from a script.
void GrabWindowIfAsked(QMainWindow& window)
{
    const QString target = qEnvironmentVariable("QUILLON_GRAB_WINDOW");
    if (target.isEmpty())
        return;
    QTimer::singleShot(1500, &window, [&window, target] {
        const bool saved = window.grab().save(target, "PNG");
        QApplication::exit(saved ? 0 : 1);
    });
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("quillon");
    QApplication::setApplicationDisplayName("Quillon");

    quillon::CQuillonDoc doc;
    quillon::CMainFrame window(doc);
    window.InitialUpdate();
    window.show();
    GrabWindowIfAsked(window);
    return app.exec();
}

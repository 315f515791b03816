#include "app/ConfigLocation.h"
#include "app/MainFrame.h"
#include "app/QtLanguage.h"
#include "app/StartOptions.h"
#include "app/TraceMenu.h"
#include "base/SavePathStore.h"
#include "document/QuillonDoc.h"
#include "tools/FileDownLoad.h"

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

QStringList Arguments(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication::setApplicationName("quillon");
    QApplication::setApplicationVersion(QUILLON_VERSION);
    quillon::StartOptions options;
    if (const auto status = options.AnswerWithoutDisplay(Arguments(argc, argv)))
        return *status;
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Quillon");
    if (const auto status = options.Parse(QApplication::arguments()))
        return *status;
    quillon::InstallInterfaceLanguage(app, options.InterfaceLanguage());

    quillon::MainFrameParts parts;
    parts.configPath = quillon::LocateConfigFile();
    parts.catalogue = options.Catalogue();
    quillon::SavePathStore savePaths;
    parts.savePaths = &savePaths;
    quillon::CQuillonDoc doc;
    quillon::CMainFrame window(doc, std::move(parts));
    // The window closes its channel around the dialog, which opens the port itself.
    window.SetFirmwareDownload([&] { quillon::RunFirmwareDownloadDialog(&window, window.Prompt(), savePaths); });
    window.InitialUpdate();
    if (const std::string trace = options.Trace(); !trace.empty())
        window.Trace().Start(trace);
    window.show();
    GrabWindowIfAsked(window);
    return app.exec();
}

// (d) Painting the serial monitor pane while it holds 100,000 lines:
// milliseconds a paint, with the pane scrolled to the end and to the top.
#include <QApplication>
#include <QPixmap>
#include <QScrollBar>

#include <chrono>
#include <cstdio>

#include "document/QuillonDoc.h"
#include "views/RightViewDown.h"

using namespace quillon;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CQuillonDoc doc;
    for (int i = 0; i < 100000; ++i) {
        RsComStr line;
        line.lineY = 17 * (i + 1);
        line.hexText = i % 2 ? "33764200" : "2141410103";
        line.direction = i % 2 ? RsComStr::kReturned : RsComStr::kSent;
        doc.monitorLines.push_back(line);
    }
    CRightViewDown pane(
        doc, [] { return ViewMode::Configuration; }, [] { return true; }, [] {});
    pane.resize(900, 300);
    pane.show();
    QPixmap target(pane.viewport()->size());
    pane.viewport()->render(&target);  // the first paint grows the range
    for (const bool atEnd : {true, false}) {
        pane.verticalScrollBar()->setValue(atEnd ? pane.verticalScrollBar()->maximum() : 0);
        constexpr int kPaints = 200;
        const auto start = Clock::now();
        for (int i = 0; i < kPaints; ++i)
            pane.viewport()->render(&target);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count() / kPaints;
        std::printf("(d) monitor pane, 100,000 lines, scrolled to the %s: %.3f ms a paint\n", atEnd ? "end" : "top",
                    ms);
    }
    return 0;
}

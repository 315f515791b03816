#include "app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace quillon {

namespace {

using Painter = std::function<void(QPainter&)>;

const QColor kInk(52, 64, 84);
const QColor kBlue(30, 110, 210);
const QColor kGreen(40, 160, 70);
const QColor kRed(210, 50, 50);
const QColor kPaper(252, 252, 250);

QPixmap Paint(int size, const Painter& draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return pixmap;
}

QIcon Icon(const Painter& draw)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(Paint(size, draw));
    return icon;
}

void Page(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    const qreal fold = 6;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
    p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, qreal width = 3)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QLineF line(to, from);
    QLineF wing1 = line;
    wing1.setLength(6);
    wing1.setAngle(line.angle() + 35);
    QLineF wing2 = line;
    wing2.setLength(6);
    wing2.setAngle(line.angle() - 35);
    p.drawLine(wing1);
    p.drawLine(wing2);
}

void Disk(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(QColor(20, 60, 130), 1));
    p.setBrush(kBlue);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setBrush(kPaper);
    p.drawRect(QRectF(r.left() + r.width() * 0.2, r.top() + 1, r.width() * 0.6, r.height() * 0.38));
    p.setBrush(QColor(200, 210, 225));
    p.drawRect(
        QRectF(r.left() + r.width() * 0.25, r.bottom() - r.height() * 0.35, r.width() * 0.5, r.height() * 0.35 - 1));
}

void Bars(QPainter& p, const QRectF& r)
{
    static const int widths[] = {2, 1, 1, 3, 1, 2, 1, 1, 2, 3, 1, 1, 2, 1};
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    qreal x = r.left();
    bool bar = true;
    for (int w : widths) {
        if (x >= r.right())
            break;
        if (bar)
            p.drawRect(QRectF(x, r.top(), std::min<qreal>(w, r.right() - x), r.height()));
        x += w;
        bar = !bar;
    }
}

void Plug(QPainter& p, qreal x, qreal y, bool facingRight, const QColor& body)
{
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(body);
    const QRectF box = facingRight ? QRectF(x, y - 5, 8, 10) : QRectF(x - 8, y - 5, 8, 10);
    p.drawRoundedRect(box, 2, 2);
    p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
    const qreal pinStart = facingRight ? box.right() : box.left();
    const qreal pinEnd = facingRight ? pinStart + 4 : pinStart - 4;
    p.drawLine(QPointF(pinStart, y - 2.5), QPointF(pinEnd, y - 2.5));
    p.drawLine(QPointF(pinStart, y + 2.5), QPointF(pinEnd, y + 2.5));
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    const qreal cableStart = facingRight ? box.left() : box.right();
    const qreal cableEnd = facingRight ? 1 : 31;
    p.drawLine(QPointF(cableStart, y), QPointF(cableEnd, y));
}

void DrawConnect(QPainter& p)
{
    Plug(p, 5, 16, true, QColor(170, 220, 180));
    Plug(p, 27, 16, false, QColor(170, 220, 180));
    p.setPen(QPen(kGreen, 2));
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(16, 7), 4, 4);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(14, 7), QPointF(15.5, 8.5), QPointF(18, 5.5)}));
}

void DrawDisconnect(QPainter& p)
{
    Plug(p, 3, 20, true, QColor(240, 190, 190));
    Plug(p, 29, 20, false, QColor(240, 190, 190));
    p.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 3), QPointF(20, 11));
    p.drawLine(QPointF(20, 3), QPointF(12, 11));
}

void DrawMonitor(QPainter& p)
{
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(QColor(30, 40, 55));
    p.drawRoundedRect(QRectF(3, 4, 26, 18), 2, 2);
    p.setBrush(kInk);
    p.drawRect(QRectF(13, 22, 6, 3));
    p.drawRoundedRect(QRectF(8, 25, 16, 3), 1, 1);
    p.setPen(QPen(QColor(90, 230, 120), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(6, 14), QPointF(10, 14), QPointF(12, 8), QPointF(15, 19), QPointF(18, 11),
                              QPointF(20, 14), QPointF(26, 14)}));
}

void DrawTerminal(QPainter& p)
{
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(QColor(30, 40, 55));
    p.drawRoundedRect(QRectF(3, 5, 26, 22), 2, 2);
    p.setBrush(QColor(120, 135, 160));
    p.drawRect(QRectF(3, 5, 26, 4));
    p.setPen(QPen(QColor(240, 240, 240), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(7, 13), QPointF(11, 16.5), QPointF(7, 20)}));
    p.drawLine(QPointF(13, 21), QPointF(20, 21));
}

void Chip(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInk, 1.5, Qt::SolidLine, Qt::FlatCap));
    for (int i = 0; i < 4; ++i) {
        const qreal y = r.top() + 3 + i * (r.height() - 6) / 3;
        p.drawLine(QPointF(r.left() - 3, y), QPointF(r.left(), y));
        p.drawLine(QPointF(r.right(), y), QPointF(r.right() + 3, y));
    }
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(70, 80, 95));
    p.drawRoundedRect(r, 1.5, 1.5);
}

void DrawFirmware(QPainter& p)
{
    Chip(p, QRectF(9, 14, 14, 14));
    Arrow(p, QPointF(16, 2), QPointF(16, 12), kGreen);
}

void DrawVersion(QPainter& p)
{
    Chip(p, QRectF(7, 7, 18, 18));
    p.setPen(QPen(Qt::white));
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.drawText(QRectF(7, 7, 18, 18), Qt::AlignCenter, "V");
}

void DrawClear(QPainter& p)
{
    Page(p, QRectF(7, 3, 18, 25));
    p.setPen(QPen(QColor(230, 170, 30), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(22, 20), QPointF(29, 27));
    p.drawLine(QPointF(29, 20), QPointF(22, 27));
    p.drawLine(QPointF(25.5, 18.5), QPointF(25.5, 28.5));
}

void DrawUndo(QPainter& p)
{
    p.setPen(QPen(kBlue, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(9, 13);
    path.lineTo(19, 13);
    path.cubicTo(30, 13, 30, 27, 19, 27);
    path.lineTo(12, 27);
    p.drawPath(path);
    p.setBrush(kBlue);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(3, 13), QPointF(11, 6), QPointF(11, 20)}));
}

void DrawPrint(QPainter& p)
{
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 3, 14, 10));
    p.setBrush(QColor(150, 160, 175));
    p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(9, 19, 14, 10));
    Bars(p, QRectF(11, 21, 10, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(25, 16), 1.5, 1.5);
}

void DrawConvert(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3, 3, 26, 26));
    auto finder = [&p](qreal x, qreal y) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawRect(QRectF(x, y, 8, 8));
        p.setBrush(kPaper);
        p.drawRect(QRectF(x + 1.5, y + 1.5, 5, 5));
        p.setBrush(Qt::black);
        p.drawRect(QRectF(x + 3, y + 3, 2, 2));
    };
    finder(5, 5);
    finder(19, 5);
    finder(5, 19);
    static const char* cells[] = {"1011", "0110", "1101", "1010"};
    p.setBrush(Qt::black);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            if (cells[row][col] == '1')
                p.drawRect(QRectF(17 + col * 2.5, 17 + row * 2.5, 2.5, 2.5));
    p.setBrush(kBlue);
    p.drawRect(QRectF(14, 8, 3, 2));
    p.drawRect(QRectF(8, 14, 2, 3));
}

void DrawCamera(QPainter& p)
{
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(90, 100, 115));
    p.drawRoundedRect(QRectF(3, 9, 26, 18), 3, 3);
    p.drawRect(QRectF(10, 5, 10, 5));
    p.setBrush(QColor(200, 225, 250));
    p.drawEllipse(QPointF(16, 18), 6, 6);
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(16, 18), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 220, 90));
    p.drawEllipse(QPointF(25, 12.5), 1.5, 1.5);
}

void DrawPicture(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(205, 230, 250));
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 150, 80));
    p.drawPolygon(QPolygonF({QPointF(r.left() + 1, r.bottom() - 1),
                             QPointF(r.left() + r.width() * 0.4, r.top() + r.height() * 0.4),
                             QPointF(r.left() + r.width() * 0.7, r.bottom() - 1)}));
    p.setBrush(QColor(240, 190, 40));
    p.drawEllipse(QPointF(r.right() - 5, r.top() + 5), 2.5, 2.5);
}

void DrawImageSave(QPainter& p)
{
    DrawPicture(p, QRectF(2, 3, 22, 18));
    Disk(p, QRectF(16, 16, 14, 14));
}

void DrawDecodedSave(QPainter& p)
{
    Page(p, QRectF(3, 2, 19, 25));
    p.setPen(QPen(kInk, 1.2));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(6, 9 + 3.5 * i), QPointF(i % 2 ? 15 : 18, 9 + 3.5 * i));
    Disk(p, QRectF(16, 16, 14, 14));
}

void DrawWindowIcon(QPainter& p)
{
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(2, 4, 28, 24), 3, 3);
    Bars(p, QRectF(6, 8, 20, 13));
    p.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(6, 24.5), QPointF(26, 24.5));
}

Painter PainterFor(CommandId id)
{
    switch (id) {
    case CommandId::Connect: return DrawConnect;
    case CommandId::Disconnect: return DrawDisconnect;
    case CommandId::MonitorView: return DrawMonitor;
    case CommandId::CommandInteraction: return DrawTerminal;
    case CommandId::FirmwareDownload: return DrawFirmware;
    case CommandId::DeviceVersion: return DrawVersion;
    case CommandId::ClearDocument: return DrawClear;
    case CommandId::Undo: return DrawUndo;
    case CommandId::Print: return DrawPrint;
    case CommandId::ConvertDocument: return DrawConvert;
    case CommandId::ImageExtract: return DrawCamera;
    case CommandId::ImageSave: return DrawImageSave;
    case CommandId::DecodedOutputSave: return DrawDecodedSave;
    default: return {};
    }
}

}  // namespace

QIcon ToolbarIcon(CommandId id)
{
    const Painter draw = PainterFor(id);
    return draw ? Icon(draw) : QIcon();
}

QIcon WindowIcon()
{
    return Icon(DrawWindowIcon);
}

}  // namespace quillon

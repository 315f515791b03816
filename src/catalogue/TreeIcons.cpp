#include "catalogue/TreeIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace quillon {

namespace {

QPixmap Blank()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// A closed or open folder: groups read as folders of settings.
QPixmap Folder(bool open)
{
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor edge(168, 120, 20);
    p.setPen(QPen(edge, 1));
    p.setBrush(QColor(240, 196, 80));
    p.drawRect(QRectF(1.5, 3.5, 5, 2));
    p.drawRect(QRectF(1.5, 4.5, 13, 9));
    if (open) {
        QPainterPath flap;
        flap.moveTo(3.5, 7.5);
        flap.lineTo(15.5, 7.5);
        flap.lineTo(13.5, 13.5);
        flap.lineTo(1.5, 13.5);
        flap.closeSubpath();
        p.setBrush(QColor(252, 224, 130));
        p.drawPath(flap);
    }
    return pixmap;
}

// A round value mark; the device's current value is filled green with a tick.
QPixmap Option(bool current)
{
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (current) {
        p.setPen(QPen(QColor(20, 120, 40), 1));
        p.setBrush(QColor(60, 180, 80));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(4.5, 8), QPointF(7, 10.5), QPointF(11.5, 5)}));
    } else {
        p.setPen(QPen(QColor(40, 90, 170), 1));
        p.setBrush(QColor(225, 236, 252));
        p.drawEllipse(QRectF(3.5, 3.5, 9, 9));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 90, 170));
        p.drawEllipse(QRectF(6, 6, 4, 4));
    }
    return pixmap;
}

// A settings sheet with a slider; selected, it is highlighted orange.
QPixmap Setting(bool selected)
{
    QPixmap pixmap = Blank();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(selected ? QColor(190, 90, 0) : QColor(90, 100, 115), 1));
    p.setBrush(selected ? QColor(255, 214, 150) : QColor(246, 248, 250));
    p.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 1.5, 1.5);
    p.setPen(QPen(selected ? QColor(190, 90, 0) : QColor(90, 100, 115), 1));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(4.5, 5 + 3 * i), QPointF(11.5, 5 + 3 * i));
    p.setPen(Qt::NoPen);
    p.setBrush(selected ? QColor(200, 70, 0) : QColor(40, 90, 170));
    p.drawEllipse(QRectF(8, 3.5, 3, 3));
    p.drawEllipse(QRectF(5, 6.5, 3, 3));
    p.drawEllipse(QRectF(9, 9.5, 3, 3));
    return pixmap;
}

}  // namespace

QPixmap TreeImagePixmap(TreeImage role)
{
    switch (role) {
    case kImageGroupSelected: return Folder(true);
    case kImageGroup: return Folder(false);
    case kImageOption: return Option(false);
    case kImageOptionCurrent: return Option(true);
    case kImageSetting: return Setting(false);
    case kImageSettingSelected: return Setting(true);
    }
    return Blank();
}

QIcon TreeItemIcon(int image, int selectedImage)
{
    auto pixmapFor = [](int index) {
        return index >= kImageGroupSelected && index <= kImageSettingSelected
                   ? TreeImagePixmap(static_cast<TreeImage>(index))
                   : QPixmap();
    };
    QIcon icon;
    icon.addPixmap(pixmapFor(image), QIcon::Normal);
    icon.addPixmap(pixmapFor(selectedImage), QIcon::Selected);
    return icon;
}

}  // namespace quillon

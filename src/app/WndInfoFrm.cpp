#include "app/WndInfoFrm.h"

#include "app/InfoBarLayout.h"
#include "base/QtText.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>

namespace quillon {

namespace {

QColor ToColor(const Rgb& rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

void SetTextColour(QLabel* label, const QColor& colour)
{
    // Inside a toolbar a label would otherwise take the button text colour.
    label->setForegroundRole(QPalette::WindowText);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

constexpr int kTop = 10;
constexpr int kRowHeight = 20;
constexpr int kBarHeight = 40;

}  // namespace

CWndInfoFrm::CWndInfoFrm(QWidget* parent)
    : QWidget(parent),
      statusCaption_(new QLabel(Tr(kStatusCaption), this)),
      statusText_(new QLabel(Tr(kStatusOffline), this)),
      viewCaption_(new QLabel(Tr(kViewCaption), this)),
      viewText_(new QLabel(Tr(kViewConfiguration), this)),
      formatCaption_(new QLabel(Tr(kOutputFormatCaption), this)),
      formatList_(new QComboBox(this))
{
    setObjectName("infoBar");
    QFont font(QStringLiteral("微软雅黑"), 10);
    for (QWidget* control : std::initializer_list<QWidget*>{statusCaption_, statusText_, viewCaption_, viewText_,
                                                            formatCaption_, formatList_})
        control->setFont(font);
    for (std::string_view name : kOutputFormats)
        formatList_->addItem(Q(name));
    SetTextColour(viewText_, ToColor(kOnlineColour));

    const QFontMetrics metrics(font);
    const int captionWidth = metrics.horizontalAdvance(Tr(kStatusCaption)) + 4;
    statusCaption_->setGeometry(10, kTop, captionWidth, kRowHeight);
    // Room for the widest state it shows: the longest port name online, or an
    // offline text that a translation may make longer still.
    const int stateWidth = std::max(metrics.horizontalAdvance(Tr("COM1024，联机")) + 40,
                                    metrics.horizontalAdvance(Tr(kStatusOffline)) + 10);
    statusText_->setGeometry(10 + captionWidth, kTop, stateWidth, kRowHeight);
    viewCaption_->resize(metrics.horizontalAdvance(Tr(kViewCaption)) + 4, kRowHeight);
    formatCaption_->resize(metrics.horizontalAdvance(Tr(kOutputFormatCaption)) + 4, kRowHeight);
    formatList_->resize(std::max(90, formatList_->sizeHint().width()), kRowHeight + 4);
    PlaceViewCaption(statusText_->geometry().right() + 20);
    Reset();
}

QSize CWndInfoFrm::sizeHint() const
{
    return {formatList_->geometry().right() + 10, kBarHeight};
}

void CWndInfoFrm::Reset()
{
    statusText_->setText(Tr(kStatusOffline));
    connected_ = false;
    ApplyStatusColour();
    formatList_->setCurrentIndex(0);
    formatCaption_->hide();
    formatList_->hide();
}

void CWndInfoFrm::SetConnected(int portNumber)
{
    statusText_->setText(Tr(ConnectedStatusText(portNumber)));
    connected_ = true;
    ApplyStatusColour();
}

void CWndInfoFrm::ApplyStatusColour()
{
    SetTextColour(statusText_, ToColor(connected_ ? kOnlineColour : kOfflineColour));
}

void CWndInfoFrm::SetView(const std::string& viewName, bool showOutputFormat)
{
    viewText_->setText(Tr(viewName));
    formatCaption_->setVisible(showOutputFormat);
    formatList_->setVisible(showOutputFormat);
}

void CWndInfoFrm::PlaceViewCaption(int x)
{
    const ViewCaptionPlacement p = quillon::PlaceViewCaption(x, viewCaption_->width());
    viewCaption_->setGeometry(p.label.x, p.label.y, p.label.width, p.label.height);
    viewText_->setGeometry(p.name.x, p.name.y, p.name.width, p.name.height);
    viewText_->update();
    PlaceOutputFormat();
    updateGeometry();
}

void CWndInfoFrm::PlaceOutputFormat()
{
    const int x = viewText_->geometry().x() + viewText_->fontMetrics().horizontalAdvance(Tr(kViewMonitor)) + 30;
    formatCaption_->move(x, kTop);
    formatList_->move(x + formatCaption_->width(), kTop - 2);
}

int CWndInfoFrm::OutputFormat() const
{
    return formatList_->currentIndex();
}

}  // namespace quillon

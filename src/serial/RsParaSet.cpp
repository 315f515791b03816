#include "serial/RsParaSet.h"

#include "base/QtText.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "serial/PortWatch.h"

namespace quillon {

namespace {

QComboBox* NewList(const char* name, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

void Show(QComboBox* list, const ComboContent& content)
{
    list->clear();
    list->setEditable(content.editable);
    for (const auto& item : content.items)
        list->addItem(QString::fromStdString(item));
    for (std::size_t i = 0; i < content.descriptions.size(); ++i)
        list->setItemData(static_cast<int>(i), QString::fromStdString(content.descriptions[i]), Qt::ToolTipRole);
    list->setCurrentIndex(content.selected);
    list->setEnabled(content.enabled);
}

std::string Text(const QComboBox* list)
{
    return list->currentText().toStdString();
}

}  // namespace

CRsParaSet::CRsParaSet(CQuillonDoc& doc, CnComm& comm, IPrompt& prompt, QWidget* parent,
                       CRsParaSetRules::Discover discover)
    : QDialog(parent),
      rules_(doc, comm, prompt, std::move(discover))
{
    setWindowTitle(Tr("通讯参数配置"));
    auto* group = new QGroupBox(Tr("串口参数设置"), this);
    auto* form = new QFormLayout(group);
    port_ = NewList("port", group);
    baud_ = NewList("baud", group);
    dataBits_ = NewList("dataBits", group);
    stopBits_ = NewList("stopBits", group);
    parity_ = NewList("parity", group);
    form->addRow(Tr("端口号："), port_);
    // Which device the chosen port is, so that two adapters can be told apart.
    portDescription_ = new QLabel(group);
    portDescription_->setObjectName("portDescription");
    portDescription_->setWordWrap(true);
    form->addRow(QString(), portDescription_);
    QObject::connect(port_, &QComboBox::currentTextChanged, this, &CRsParaSet::ShowPortDescription);
    form->addRow(Tr("波特率："), baud_);
    form->addRow(Tr("数据位："), dataBits_);
    form->addRow(Tr("停止位："), stopBits_);
    form->addRow(Tr("奇偶校验："), parity_);

    auto* connect = new QPushButton(Tr("连接"), this);
    connect->setObjectName("connect");
    connect->setDefault(true);
    auto* cancel = new QPushButton(Tr("取消"), this);
    cancel->setObjectName("cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(connect);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    QObject::connect(connect, &QPushButton::clicked, this, &CRsParaSet::OnConnect);
    QObject::connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    watch_ = new PortWatch(this);
    QObject::connect(watch_, &PortWatch::portsChanged, this, &CRsParaSet::RefreshPorts);
}

void CRsParaSet::showEvent(QShowEvent* event)
{
    Rebuild();
    QDialog::showEvent(event);
}

void CRsParaSet::Rebuild()
{
    const auto content = rules_.Content();
    Show(port_, content.port);
    Show(baud_, content.baud);
    Show(dataBits_, content.dataBits);
    Show(stopBits_, content.stopBits);
    Show(parity_, content.parity);
    ShowPortDescription();
}

void CRsParaSet::ShowPortDescription()
{
    // Typed or chosen, the text names the port.
    const int index = port_->findText(port_->currentText());
    portDescription_->setText(index < 0 ? QString() : port_->itemData(index, Qt::ToolTipRole).toString());
}

void CRsParaSet::RefreshPorts()
{
    if (!isVisible())
        return;
    const QString current = port_->currentText();
    Show(port_, rules_.PortsKeeping(current.toStdString()));
    if (port_->currentIndex() < 0)
        port_->setEditText(current);
    ShowPortDescription();
}

void CRsParaSet::OnConnect()
{
    // Opening a USB adapter can take seconds while its driver wakes up.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const bool opened = rules_.Connect({Text(port_), Text(baud_), Text(dataBits_), Text(stopBits_), Text(parity_)});
    QApplication::restoreOverrideCursor();
    if (opened)
        accept();
}

}  // namespace quillon

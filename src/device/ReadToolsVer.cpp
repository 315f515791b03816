#include "device/ReadToolsVer.h"

#include "base/QtText.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>

namespace quillon {

namespace {

constexpr int kFieldCount = 8;
// The 0xC1 field is held but not shown.
constexpr std::uint8_t kHiddenCode = 0xC1;

}  // namespace

QString CReadToolsVer::HeadingFamily()
{
    const QStringList installed = QFontDatabase::families();
    for (const char* family : {"华文行楷", "STXingkai", "AR PL UKai CN", "AR PL UKai TW", "AR PL UKai",
                               "Noto Serif CJK SC", "Noto Sans CJK SC", "WenQuanYi Zen Hei", "WenQuanYi Micro Hei"}) {
        if (installed.contains(Q(family)))
            return Q(family);
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

CReadToolsVer::CReadToolsVer(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(Tr(kVersionHeading));
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(Tr(kVersionHeading), this);
    heading->setObjectName("heading");
    QFont font(HeadingFamily());
    font.setPointSize(16);
    heading->setFont(font);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
    for (int i = 0; i < kFieldCount; ++i) {
        auto* field = new QLabel(this);
        field->setObjectName(QStringLiteral("field%1").arg(i));
        field->setTextInteractionFlags(Qt::TextSelectableByMouse);
        fields_.push_back(field);
        layout->addWidget(field);
    }
    auto* box = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(box, &QDialogButtonBox::rejected, this, &CReadToolsVer::reject);
    layout->addWidget(box);
}

void CReadToolsVer::SetFields(const std::vector<VersionField>& fields)
{
    for (QLabel* field : fields_)
        field->clear();
    for (std::size_t i = 0; i < fields.size() && i < fields_.size(); ++i) {
        fields_[i]->setText(Tr(fields[i].label) + Tr(fields[i].text));  // the resolution is a sentence of ours
        fields_[i]->setVisible(fields[i].code != kHiddenCode);
    }
}

}  // namespace quillon

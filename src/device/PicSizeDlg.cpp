#include "device/PicSizeDlg.h"

#include "base/Prompt.h"
#include "base/QtText.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace quillon {

namespace {

constexpr const char* kButtonTexts[] = {"原始比例", "1/2比例",  "1/4比例",   "1/8比例",
                                        "1/16比例", "1/32比例", "像素值提取"};
constexpr int kPixelEntryId = 6;

}  // namespace

CPicSizeDlg::CPicSizeDlg(IPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      prompt_(prompt),
      buttons_(new QButtonGroup(this)),
      width_(new QLineEdit(this)),
      height_(new QLineEdit(this))
{
    setWindowTitle(Tr(kPicSizeCaption));
    auto* layout = new QVBoxLayout(this);
    for (int id = 0; id < static_cast<int>(std::size(kButtonTexts)); ++id) {
        auto* button = new QRadioButton(Tr(kButtonTexts[id]), this);
        button->setObjectName(QStringLiteral("scale%1").arg(id));
        buttons_->addButton(button, id);
        layout->addWidget(button);
    }
    connect(buttons_, &QButtonGroup::idClicked, this, &CPicSizeDlg::OnScale);

    // Digits only, as many as a 32-bit number may have; the rules judge the size.
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), this);
    width_->setObjectName("width");
    height_->setObjectName("height");
    width_->setValidator(digits);
    height_->setValidator(digits);
    auto* fields = new QFormLayout;
    fields->addRow(Tr("宽度："), width_);
    fields->addRow(Tr("高度："), height_);
    layout->addLayout(fields);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &CPicSizeDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CPicSizeDlg::reject);
    layout->addWidget(box);
}

void CPicSizeDlg::Prepare(int width, int height)
{
    rules_ = PicSizeRules(width, height);
    buttons_->button(0)->setChecked(true);
    width_->clear();
    height_->clear();
    SetFieldsWritable(false);
}

std::optional<ImageSize> CPicSizeDlg::Ask(int width, int height)
{
    Prepare(width, height);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return Held();
}

void CPicSizeDlg::OnScale(int id)
{
    if (id == kPixelEntryId) {
        rules_.EnterPixelEntry();
        SetFieldsWritable(true);
        return;
    }
    rules_.ApplyScale(static_cast<PicScale>(id));
    width_->clear();
    height_->clear();
    SetFieldsWritable(false);
}

void CPicSizeDlg::SetFieldsWritable(bool writable)
{
    // Greyed, not only read-only: while a scale is chosen the size is the
    // scale's, and a field that looks open invites typing that goes nowhere.
    width_->setEnabled(writable);
    height_->setEnabled(writable);
}

void CPicSizeDlg::accept()
{
    if (const char* refusal = rules_.Accept(width_->text().toStdString(), height_->text().toStdString())) {
        prompt_.ShowError(refusal);
        return;
    }
    QDialog::accept();
}

}  // namespace quillon

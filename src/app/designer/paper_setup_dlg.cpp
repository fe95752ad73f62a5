#include "app/designer/paper_setup_dlg.h"

#include "app/widgets/message_dialog.h"
#include "core/printing/catalogue_rules.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {

// The picture of a feed: a tray with the envelope standing (feeds 1 to 3) or lying
// (4 to 6) at its left, centre or right.
QIcon FeedPicture(int feed) {
    QPixmap p(48, 40);
    p.fill(Qt::white);
    QPainter painter(&p);
    painter.setPen(Qt::black);
    painter.drawRect(2, 2, 43, 35);
    const bool portrait = feed <= 3;
    const int w = portrait ? 12 : 22, h = portrait ? 22 : 12;
    const int slot = (feed - 1) % 3;
    const int x = slot == 0 ? 4 : slot == 1 ? (48 - w) / 2 : 44 - w;
    painter.setBrush(QColor(255, 255, 200));
    painter.drawRect(x, 4, w, h);
    painter.drawLine(x, 4, x + w / 2, 4 + h / 2);
    painter.drawLine(x + w, 4, x + w / 2, 4 + h / 2);
    return QIcon(p);
}

} // namespace

TPaperSetupDlg::TPaperSetupDlg(QWidget* parent, const TPaperList& papers, const TPaper& paper,
                               bool copy)
    : QDialog(parent), papers_(papers), paper_(paper), editable_(PaperEditable(paper, copy)),
      result_(paper) {
    setWindowTitle("Paper Setup");
    const TPaperForm form = PaperFormOf(paper);
    auto* column = new QVBoxLayout(this);
    auto* top = new QFormLayout;
    column->addLayout(top);
    const auto field = [this](TPaperField which, const std::string& text, const char* name) {
        auto* e = new QLineEdit(ToQString(text));
        e->setObjectName(name);
        e->setEnabled(editable_.Sizes);
        fields_[which] = e;
        return e;
    };

    name_ = new QLineEdit(ToQString(form.Name));
    name_->setObjectName("Name");
    name_->setMaxLength(255);
    name_->setEnabled(editable_.Name);
    top->addRow("Paper &Name:", name_);
    type_ = new QComboBox;
    type_->setObjectName("Type");
    for (int t = kPaperEnvelope; t <= kPaperListing; ++t)
        type_->addItem(ToQString(PaperTypeCaption(t)), t);
    type_->setCurrentIndex(std::max(0, type_->findData(form.Type)));
    type_->setEnabled(editable_.Sizes);
    top->addRow("Paper &Type:", type_);
    unit_ = new QComboBox;
    unit_->setObjectName("Unit");
    unit_->addItem(ToQString(PaperUnitCaption(kUnitInches)), kUnitInches);
    unit_->addItem(ToQString(PaperUnitCaption(kUnitMillimetres)), kUnitMillimetres);
    unit_->setCurrentIndex(form.Unit == kUnitInches ? 0 : 1);
    unit_->setEnabled(editable_.Sizes);
    top->addRow("&Unit:", unit_);
    top->addRow("Paper &Width:", field(TPaperField::Width, form.Width, "Width"));
    top->addRow("Paper &Height:", field(TPaperField::Height, form.Height, "Height"));
    top->addRow("T&op Margin:", field(TPaperField::TopMargin, form.TopMargin, "TopMargin"));
    top->addRow("L&eft Margin:", field(TPaperField::LeftMargin, form.LeftMargin, "LeftMargin"));

    labels_ = new QGroupBox("Label Settings");
    auto* lf = new QFormLayout(labels_);
    lf->addRow("&Label Width:", field(TPaperField::LabelWidth, form.LabelWidth, "LabelWidth"));
    lf->addRow("Label Hei&ght:", field(TPaperField::LabelHeight, form.LabelHeight, "LabelHeight"));
    lf->addRow("Labels &Across:",
               field(TPaperField::LabelsAcross, form.LabelsAcross, "LabelsAcross"));
    lf->addRow("Labels &Down:", field(TPaperField::LabelsDown, form.LabelsDown, "LabelsDown"));
    lf->addRow("Hori&zontal Gap:",
               field(TPaperField::HorizontalGap, form.HorizontalGap, "HorizontalGap"));
    lf->addRow("&Vertical Gap:", field(TPaperField::VerticalGap, form.VerticalGap, "VerticalGap"));
    column->addWidget(labels_);

    envelope_ = new QGroupBox("Envelope Settings");
    auto* ev = new QVBoxLayout(envelope_);
    auto* feedRow = new QHBoxLayout;
    feeds_ = new QButtonGroup(this);
    for (int feed = 1; feed <= 6; ++feed) {
        auto* b = new QToolButton;
        b->setObjectName(QString("Feed%1").arg(feed));
        b->setCheckable(true);
        b->setIcon(FeedPicture(feed));
        b->setIconSize(QSize(48, 40));
        b->setText(QString::number(feed));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        feeds_->addButton(b, feed);
        feedRow->addWidget(b);
    }
    if (QAbstractButton* b = feeds_->button(form.EnvelopeFeed))
        b->setChecked(true);
    ev->addWidget(new QLabel("Envelope &Feed:"));
    ev->addLayout(feedRow);
    auto* orientation = new QHBoxLayout;
    portrait_ = new QRadioButton("&Portrait");
    portrait_->setObjectName("Portrait");
    landscape_ = new QRadioButton("Lan&dscape");
    landscape_->setObjectName("Landscape");
    (form.Portrait ? portrait_ : landscape_)->setChecked(true);
    orientation->addWidget(portrait_);
    orientation->addWidget(landscape_);
    ev->addLayout(orientation);
    faceUp_ = new QCheckBox("Face &Up");
    faceUp_->setObjectName("FaceUp");
    faceUp_->setChecked(form.FaceUp);
    rotate_ = new QCheckBox("&Rotate Envelope");
    rotate_->setObjectName("Rotate");
    rotate_->setChecked(form.RotateEnvelope);
    ev->addWidget(faceUp_);
    ev->addWidget(rotate_);
    column->addWidget(envelope_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TPaperSetupDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    column->addWidget(buttons);

    connect(type_, &QComboBox::currentIndexChanged, this, &TPaperSetupDlg::TypeChosen);
    connect(feeds_, &QButtonGroup::idClicked, this, &TPaperSetupDlg::FeedChosen);
    connect(portrait_, &QRadioButton::toggled, this, &TPaperSetupDlg::OrientationChosen);
    TypeChosen();
}

void TPaperSetupDlg::TypeChosen() {
    const int type = type_->currentData().toInt();
    labels_->setVisible(type == kPaperLabel);
    envelope_->setVisible(type == kPaperEnvelope);
    adjustSize();
}

void TPaperSetupDlg::FeedChosen(int feed) {
    reverting_ = true;
    (FeedIsPortrait(feed) ? portrait_ : landscape_)->setChecked(true);
    reverting_ = false;
}

void TPaperSetupDlg::OrientationChosen(bool portrait) {
    if (reverting_)
        return;
    const int feed = feeds_->checkedId();
    if (feed < 1 || !AsksFeedOrientation(feed, portrait))
        return;
    if (ShowMessage(mtChangingDefault, kFeedOrientationQuestion, mkConfirmation, mbYesNo) == mrYes)
        return;
    reverting_ = true;
    (portrait ? landscape_ : portrait_)->setChecked(true);
    reverting_ = false;
}

TPaperForm TPaperSetupDlg::Form() const {
    TPaperForm f;
    f.Name = FromQString(name_->text());
    f.Type = type_->currentData().toInt();
    f.Unit = unit_->currentData().toInt();
    const auto text = [this](TPaperField which) { return FromQString(fields_.at(which)->text()); };
    f.Width = text(TPaperField::Width);
    f.Height = text(TPaperField::Height);
    f.LabelWidth = text(TPaperField::LabelWidth);
    f.LabelHeight = text(TPaperField::LabelHeight);
    f.LabelsAcross = text(TPaperField::LabelsAcross);
    f.LabelsDown = text(TPaperField::LabelsDown);
    f.TopMargin = text(TPaperField::TopMargin);
    f.LeftMargin = text(TPaperField::LeftMargin);
    f.HorizontalGap = text(TPaperField::HorizontalGap);
    f.VerticalGap = text(TPaperField::VerticalGap);
    f.Portrait = portrait_->isChecked();
    f.EnvelopeFeed = feeds_->checkedId() > 0 ? feeds_->checkedId() : paper_.EnvelopeFeed;
    f.FaceUp = faceUp_->isChecked();
    f.RotateEnvelope = rotate_->isChecked();
    return f;
}

void TPaperSetupDlg::accept() {
    const TPaperForm form = Form();
    if (const auto error = CheckPaperForm(form, papers_, paper_, editable_)) {
        QLineEdit* field = error->Field == TPaperField::Name ? name_ : fields_.at(error->Field);
        if (error->Message)
            ShowMessage(*error->Message);
        else
            QApplication::beep();
        field->setFocus();
        field->selectAll();
        return;
    }
    ApplyPaperForm(form, paper_, editable_, result_);
    QDialog::accept();
}

} // namespace tessaly

#include "app/printing/quick_reports_dlg.h"

#include "app/printing/quick_report_dlg.h"
#include "app/widgets/frame.h"
#include "app/widgets/list_dialog_parts.h"
#include "app/widgets/message_dialog.h"
#include "core/printing/catalogue_rules.h"
#include "core/printing/catalogues.h"
#include "platform/qt_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {
// The tool-bar button of each link, on the book's page or the diary's.
const char* const kLinkButtons[] = {"Print First Linked Quick Report",
                                    "Print Second Linked Quick Report",
                                    "Print Linked Quick Report"};
} // namespace

void KeepReportLinks(IFrame& frame) {
    const TReportLinks& links = frame.Settings().ReportLinks;
    for (std::size_t i = 0; i < links.size(); ++i) {
        frame.Access().WriteString("Report Links", "Link " + std::to_string(i + 1), links[i]);
        const int page = i == kDiaryLink ? static_cast<int>(TChildKind::Diary)
                                         : static_cast<int>(TChildKind::Book);
        if (QToolButton* b = frame.ToolButton(page, kLinkButtons[i]))
            b->setStatusTip(
                ToQString(ReportLinkHint(static_cast<int>(i), links[i])).section('|', 1));
    }
}

TQuickReportsDlg::TQuickReportsDlg(QWidget* parent, IFrame& frame, TPrintCatalogues& catalogues,
                                   bool diary, const TBookData* book)
    : QDialog(parent), frame_(frame), catalogues_(catalogues), diary_(diary), book_(book) {
    setWindowTitle(diary ? "Quick Reports for Diary Prints"
                         : "Quick Reports for Address Book Prints");
    auto* row = new QHBoxLayout(this);
    auto* column = new QVBoxLayout;
    filter_ = new QComboBox;
    filter_->setObjectName("ReportTypes");
    types_.push_back(0);
    for (int source : ReportTypes(diary))
        types_.push_back(source);
    for (int source : types_)
        filter_->addItem(ToQString(ReportTypeCaption(source, diary)));
    column->addWidget(filter_);
    connect(filter_, &QComboBox::currentIndexChanged, this, [this] { Fill(); });
    auto* caption = new QLabel("Available Quick Repor&ts");
    list_ = new QListWidget;
    list_->setObjectName("Reports");
    caption->setBuddy(list_);
    column->addWidget(caption);
    column->addWidget(list_, 1);
    row->addLayout(column, 1);
    auto* buttons = new TButtonColumn(this);
    const auto button = [buttons](const char* text, auto action) {
        return buttons->Add(text, action);
    };
    button("&Print", [this] { Run(false); })->setDefault(true);
    button("Pre&view", [this] { Run(true); });
    button("&Edit", [this] { Edit(false); });
    button("&New...", [this] { Edit(true); });
    button("&Delete", [this] { Delete(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { Edit(false); });
    if (diary) {
        button("&Link to", [this] { Link(kDiaryLink); });
    } else {
        button("&Link to", [this] { Link(kFirstBookLink); });
        button("Lin&k to", [this] { Link(kSecondBookLink); });
    }
    buttons->addStretch();
    button("Close", [this] { reject(); });
    row->addLayout(buttons);
    Fill();
}

void TQuickReportsDlg::Fill() {
    const std::string keep = Selected();
    list_->clear();
    names_.clear();
    const int type = types_[static_cast<std::size_t>(std::max(0, filter_->currentIndex()))];
    for (int i = 0; i < catalogues_.Reports.Count(); ++i) {
        const TQReport* r = catalogues_.Reports.At(i);
        if (IsDiaryReport(*r, catalogues_.Layouts) != diary_)
            continue;
        if (type != 0 && catalogues_.Layouts.SourceByNumber(r->LayoutNumber) != type)
            continue;
        names_.push_back(r->NameText());
        list_->addItem(ToQString(r->NameText()));
        if (r->NameText() == keep)
            list_->setCurrentRow(list_->count() - 1);
    }
    if (list_->count() && list_->currentRow() < 0)
        list_->setCurrentRow(0);
}

void TQuickReportsDlg::Edit(bool fresh) {
    const std::string name = fresh ? std::string() : Selected();
    if (!fresh && name.empty())
        return;
    TQuickReportDlg dialog(this, catalogues_, frame_.Settings().ReportLinks, name, diary_, book_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    KeepReportLinks(frame_);
    Fill();
    // The report stays selected, unless the filter now hides it.
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == dialog.StoredName())
            list_->setCurrentRow(static_cast<int>(i));
}

std::string TQuickReportsDlg::Selected() const {
    const int row = list_->currentRow();
    return row >= 0 && row < static_cast<int>(names_.size()) ? names_[static_cast<std::size_t>(row)]
                                                             : std::string();
}

void TQuickReportsDlg::Run(bool preview) {
    chosen_ = Selected();
    if (chosen_.empty())
        return;
    preview_ = preview;
    accept();
}

void TQuickReportsDlg::Delete() {
    const std::string name = Selected();
    const TQReport* report = catalogues_.Reports.ByName(name);
    if (!report || ShowMessage(DeleteQuickReportQuestion(name)) != mrYes)
        return;
    catalogues_.Reports.Remove(report);
    const TIoResult saved = catalogues_.SaveReports();
    if (!saved.Ok)
        ShowMessage(mtAccessError, ToQString(saved.Error), mkError, mbOk);
    Fill();
}

void TQuickReportsDlg::Link(int link) {
    const std::string name = Selected();
    if (name.empty())
        return;
    LinkReport(frame_.Settings().ReportLinks, link, name);
    KeepReportLinks(frame_);
}

} // namespace tessaly

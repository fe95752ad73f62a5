#include "app/search/filter_form.h"

#include "app/search/save_filter.h"
#include "app/widgets/message_dialog.h"
#include "core/common/text.h"
#include "platform/qt_text.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tessaly {

namespace {

enum { kBasicPage = 0, kAdvancedPage = 1, kSavedPage = 2 };

QPushButton* Button(const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFilterForm::TFilterForm(TFilterList& searches, const TTemplateList& templates,
                         const TCategoryList& categories, const TFormatSettings& fs, bool readOnly,
                         const QString& bookName, QWidget* parent, const IClock& clock)
    : QDialog(parent), searches_(searches), fs_(fs), clock_(clock),
      editor_(searches, templates, categories, fs, clock), readOnly_(readOnly) {
    setWindowTitle(QString("Search Address Book: %1").arg(bookName));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    auto* activeLabel = new QLabel("Active Search", this);
    active_ = new QComboBox(this);
    active_->setObjectName("ActiveSearch");
    activeLabel->setBuddy(active_);
    top->addWidget(activeLabel);
    top->addWidget(active_, 1);
    layout->addLayout(top);

    pages_ = new QTabWidget(this);
    pages_->addTab(BasicPage(), "&Basic");
    pages_->addTab(AdvancedPage(), "&Advanced");
    pages_->addTab(SavedPage(), "&Saved Searches");
    layout->addWidget(pages_, 1);

    auto* bottom = new QHBoxLayout;
    saveAs_ = Button("Sa&ve As", this);
    bottom->addWidget(saveAs_);
    bottom->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    // Opening: column widths, both name lists, the current search, the field choices.
    const auto& widths = searches_.HeaderWidths;
    rules_->header()->resizeSection(0, widths[0]);
    rules_->header()->resizeSection(1, widths[1]);
    for (const TSearchFieldChoice& c : editor_.Choices())
        field_->addItem(ToQString(ChoiceCaption(c)));
    const QString today = ToQString(FormatDateTime(fs_.ShortDateFormat, clock_.Now(), fs_));
    fromDate_->setText(today);
    toDate_->setText(today);
    FillNames();
    LoadControls();
    field_->setCurrentIndex(0);
    FieldChosen(0);

    connect(active_, &QComboBox::activated, this, &TFilterForm::ActiveChosen);
    connect(pages_, &QTabWidget::currentChanged, this, &TFilterForm::PageChanged);
    connect(saveAs_, &QPushButton::clicked, this, &TFilterForm::SaveAs);
    connect(buttons, &QDialogButtonBox::accepted, this, &TFilterForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TFilterForm::reject);
    connect(rules_->header(), &QHeaderView::sectionResized, this, &TFilterForm::StoreHeaderWidths);
    EnableControls();
    resize(560, 460);
}

QWidget* TFilterForm::BasicPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    startsWithOn_ = new QCheckBox("Entr&ies Starting with Sort Character(s) :-", page);
    startsWith_ = new QLineEdit(page);
    startsWith_->setObjectName("StartsWith");
    grid->addWidget(startsWithOn_, 0, 0);
    grid->addWidget(startsWith_, 0, 1);

    categoriesOn_ = new QCheckBox("Entries Associated with &Categories:", page);
    and_ = new QRadioButton("&AND", page);
    or_ = new QRadioButton("&OR", page);
    auto* andOr = new QHBoxLayout;
    andOr->addWidget(and_);
    andOr->addWidget(or_);
    andOr->addStretch(1);
    categories_ = new QListWidget(page);
    categories_->setObjectName("Categories");
    grid->addWidget(categoriesOn_, 1, 0);
    grid->addLayout(andOr, 1, 1);
    grid->addWidget(categories_, 2, 0, 1, 2);

    auto* exclude = new QGroupBox("Exclude Entries", page);
    auto* ex = new QGridLayout(exclude);
    excludeTagged_ = new QCheckBox("That are &Tagged", exclude);
    excludeUntagged_ = new QCheckBox("That are &Not Tagged", exclude);
    excludeNoReminders_ = new QCheckBox("Without &Due Reminders", exclude);
    excludeNoAttachments_ = new QCheckBox("&Without Attached Documents", exclude);
    ex->addWidget(excludeTagged_, 0, 0);
    ex->addWidget(excludeUntagged_, 0, 1);
    ex->addWidget(excludeNoReminders_, 1, 0);
    ex->addWidget(excludeNoAttachments_, 1, 1);
    grid->addWidget(exclude, 3, 0, 1, 2);

    connect(startsWithOn_, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            startsWith_->clear();
        EnableControls();
    });
    connect(categoriesOn_, &QCheckBox::toggled, this, &TFilterForm::EnableControls);
    connect(startsWith_, &QLineEdit::textEdited, this, [this](const QString& s) {
        const int at = startsWith_->cursorPosition();
        startsWith_->setText(s.toUpper());
        startsWith_->setCursorPosition(at);
    });
    return page;
}

QLineEdit* TFilterForm::DateBox(QWidget* parent, const char* name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    QAction* drop =
        box->addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
    drop->setObjectName(QString(name) + "Drop");
    connect(drop, &QAction::triggered, this, [this, box] { PopUpCalendar(box); });
    return box;
}

void TFilterForm::PopUpCalendar(QLineEdit* box) {
    const TDateTime today = DateOf(clock_.Now());
    auto parsed = ParseDate(Trim(FromQString(box->text())), fs_, today);
    if (!parsed) {
        QApplication::beep();
        parsed = today;
    }
    const TDateParts d = DecodeDate(*parsed);
    auto* calendar = new QCalendarWidget(this);
    calendar->setWindowFlags(Qt::Popup);
    calendar->setAttribute(Qt::WA_DeleteOnClose);
    calendar->setObjectName("Calendar");
    calendar->setMinimumDate(QDate(1900, 1, 1));
    calendar->setMaximumDate(QDate(2100, 12, 31));
    calendar->setSelectedDate(QDate(d.Year, d.Month, d.Day));
    connect(calendar, &QCalendarWidget::clicked, this, [this, box, calendar](const QDate& q) {
        const TDateTime t = EncodeDate(q.year(), q.month(), q.day());
        box->setText(ToQString(FormatDateTime(fs_.ShortDateFormat, t, fs_)));
        calendar->close();
    });
    calendar->move(box->mapToGlobal(QPoint(0, box->height())));
    calendar->show();
}

QWidget* TFilterForm::AdvancedPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel("Current Search Parameters", page));
    basicNote_ = new QLabel("Note: Basic Filter is Active", page);
    layout->addWidget(basicNote_);
    rules_ = new QTreeWidget(page);
    rules_->setObjectName("Rules");
    rules_->setRootIsDecorated(false);
    rules_->setHeaderLabels({"Search Field", "Rule", "Value"});
    rules_->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(rules_, 1);

    auto* fieldRow = new QHBoxLayout;
    auto* fieldLabel = new QLabel("Search &Field:", page);
    field_ = new QComboBox(page);
    field_->setObjectName("Field");
    fieldLabel->setBuddy(field_);
    fieldRow->addWidget(fieldLabel);
    fieldRow->addWidget(field_, 1);
    layout->addLayout(fieldRow);

    editorPages_ = new QStackedWidget(page);
    editorPages_->setObjectName("RuleEditor");
    auto* textPage = new QWidget;
    auto* tg = new QGridLayout(textPage);
    auto* textLabel = new QLabel("Containing &Text:", textPage);
    text_ = new QLineEdit(textPage);
    text_->setObjectName("RuleText");
    text_->setMaxLength(static_cast<int>(kShortStringMax));
    textLabel->setBuddy(text_);
    matchCase_ = new QCheckBox("&Match Case", textPage);
    wholeWords_ = new QCheckBox("&Whole Words Only", textPage);
    tg->addWidget(textLabel, 0, 0);
    tg->addWidget(text_, 0, 1, 1, 2);
    tg->addWidget(matchCase_, 1, 1);
    tg->addWidget(wholeWords_, 1, 2);
    editorPages_->addWidget(textPage);

    auto* datePage = new QWidget;
    auto* dg = new QGridLayout(datePage);
    auto* fromLabel = new QLabel("&Between the Date of:", datePage);
    fromDate_ = DateBox(datePage, "FromDate");
    fromLabel->setBuddy(fromDate_);
    auto* toLabel = new QLabel("a&nd the Date of:", datePage);
    toDate_ = DateBox(datePage, "ToDate");
    toLabel->setBuddy(toDate_);
    dg->addWidget(fromLabel, 0, 0);
    dg->addWidget(fromDate_, 0, 1);
    dg->addWidget(toLabel, 1, 0);
    dg->addWidget(toDate_, 1, 1);
    editorPages_->addWidget(datePage);
    layout->addWidget(editorPages_);

    auto* buttons = new QHBoxLayout;
    add_ = Button("A&dd", page);
    update_ = Button("&Update", page);
    deleteRule_ = Button("D&elete", page);
    buttons->addStretch(1);
    buttons->addWidget(add_);
    buttons->addWidget(update_);
    buttons->addWidget(deleteRule_);
    layout->addLayout(buttons);

    connect(field_, &QComboBox::currentIndexChanged, this, &TFilterForm::FieldChosen);
    connect(rules_, &QTreeWidget::itemSelectionChanged, this, &TFilterForm::RuleSelected);
    // A click on the selected rule loads it again after the editor was changed.
    connect(rules_, &QTreeWidget::itemClicked, this, &TFilterForm::RuleSelected);
    connect(add_, &QPushButton::clicked, this, &TFilterForm::AddRule);
    connect(update_, &QPushButton::clicked, this, &TFilterForm::UpdateRule);
    connect(deleteRule_, &QPushButton::clicked, this, &TFilterForm::DeleteRule);
    return page;
}

QWidget* TFilterForm::SavedPage() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    saved_ = new QListWidget(page);
    saved_->setObjectName("SavedSearches");
    layout->addWidget(saved_, 1);
    auto* buttons = new QVBoxLayout;
    deleteSaved_ = Button("&Delete", page);
    renameSaved_ = Button("&Rename", page);
    buttons->addWidget(deleteSaved_);
    buttons->addWidget(renameSaved_);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(saved_, &QListWidget::itemSelectionChanged, this, &TFilterForm::SavedSelected);
    connect(deleteSaved_, &QPushButton::clicked, this, &TFilterForm::DeleteSaved);
    connect(renameSaved_, &QPushButton::clicked, this, &TFilterForm::RenameSaved);
    return page;
}

TSearchOptions TFilterForm::Controls() const {
    TSearchOptions o;
    o.StartsWithOn = startsWithOn_->isChecked();
    o.StartsWith = FromQString(startsWith_->text());
    o.CategoriesOn = categoriesOn_->isChecked();
    o.AnyCategory = !and_->isChecked();
    for (int i = 0; i < categories_->count(); ++i)
        if (categories_->item(i)->checkState() == Qt::Checked)
            o.Categories.push_back(FromQString(categories_->item(i)->text()));
    o.ExcludeTagged = excludeTagged_->isChecked();
    o.ExcludeUntagged = excludeUntagged_->isChecked();
    o.ExcludeNoDueReminders = excludeNoReminders_->isChecked();
    o.ExcludeNoAttachments = excludeNoAttachments_->isChecked();
    return o;
}

void TFilterForm::LoadControls() {
    loading_ = true;
    const TSearchOptions o = editor_.Options();
    startsWithOn_->setChecked(o.StartsWithOn);
    startsWith_->setText(ToQString(o.StartsWith));
    categoriesOn_->setChecked(o.CategoriesOn);
    (o.AnyCategory ? or_ : and_)->setChecked(true);
    categories_->clear();
    for (const std::string& name : editor_.CategoryNames()) {
        auto* item = new QListWidgetItem(ToQString(name), categories_);
        bool ticked = false;
        for (const std::string& c : o.Categories)
            ticked = ticked || c == name;
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
    excludeTagged_->setChecked(o.ExcludeTagged);
    excludeUntagged_->setChecked(o.ExcludeUntagged);
    excludeNoReminders_->setChecked(o.ExcludeNoDueReminders);
    excludeNoAttachments_->setChecked(o.ExcludeNoAttachments);
    FillRules(-1);
    loading_ = false;
    EnableControls();
}

void TFilterForm::FillNames() {
    loading_ = true;
    const std::vector<std::string> names = editor_.Names();
    active_->clear();
    saved_->clear();
    for (const std::string& n : names) {
        active_->addItem(ToQString(n));
        saved_->addItem(ToQString(n));
    }
    active_->setCurrentIndex(editor_.Current());
    if (saved_->count() > 0)
        saved_->setCurrentRow(0);
    loading_ = false;
    SavedSelected();
}

void TFilterForm::FillRules(int select) {
    rules_->clear();
    for (int i = 0; i < editor_.Rules().Count(); ++i) {
        QStringList texts;
        for (const std::string& t : editor_.RuleTexts(i))
            texts << ToQString(t);
        auto* item = new QTreeWidgetItem(rules_, texts);
        for (int c = 0; c < 3; ++c)
            item->setTextAlignment(c, Qt::AlignLeft | Qt::AlignBottom);
    }
    basicNote_->setVisible(editor_.BasicActive());
    if (select >= 0 && select < rules_->topLevelItemCount())
        rules_->setCurrentItem(rules_->topLevelItem(select));
    EnableControls();
}

void TFilterForm::ShowFault(const TSearchFault& fault) {
    ShowMessage(fault.Message);
    QWidget* focus = nullptr;
    switch (fault.Focus) {
    case TSearchFocus::StartsWith:
        focus = startsWith_;
        break;
    case TSearchFocus::NotTagged:
        focus = excludeUntagged_;
        break;
    case TSearchFocus::RuleText:
        focus = text_;
        break;
    case TSearchFocus::FromDate:
        focus = fromDate_;
        break;
    case TSearchFocus::ToDate:
        focus = toDate_;
        break;
    case TSearchFocus::None:
        break;
    }
    if (!focus)
        return;
    if (fault.Focus == TSearchFocus::StartsWith || fault.Focus == TSearchFocus::NotTagged)
        pages_->setCurrentIndex(kBasicPage);
    else
        pages_->setCurrentIndex(kAdvancedPage);
    focus->setFocus();
    // A refused page change is still being undone by the tab widget: focus again after.
    QTimer::singleShot(0, focus, [focus] { focus->setFocus(); });
}

void TFilterForm::EnableControls() {
    startsWith_->setEnabled(startsWithOn_->isChecked());
    categories_->setEnabled(categoriesOn_->isChecked());
    const bool ruleSelected = !rules_->selectedItems().isEmpty();
    update_->setEnabled(ruleSelected);
    deleteRule_->setEnabled(ruleSelected);
    saveAs_->setEnabled(!readOnly_ && editor_.Current() >= 0 &&
                        pages_->currentIndex() != kSavedPage);
}

void TFilterForm::FieldChosen(int choice) {
    const auto& choices = editor_.Choices();
    if (choice < 0 || choice >= static_cast<int>(choices.size()))
        return;
    editorPages_->setCurrentIndex(choices[static_cast<std::size_t>(choice)].IsDate ? 1 : 0);
}

void TFilterForm::RuleSelected() {
    EnableControls();
    const QList<QTreeWidgetItem*> selected = rules_->selectedItems();
    if (selected.isEmpty())
        return;
    const TRuleInput in = editor_.RuleInput(rules_->indexOfTopLevelItem(selected.first()));
    field_->setCurrentIndex(in.Choice);
    FieldChosen(in.Choice);
    text_->setText(ToQString(in.Text));
    matchCase_->setChecked(in.MatchCase);
    wholeWords_->setChecked(in.WholeWords);
    fromDate_->setText(ToQString(in.FromText));
    toDate_->setText(ToQString(in.ToText));
}

TRuleInput TFilterForm::EditorInput() const {
    TRuleInput in;
    in.Choice = field_->currentIndex();
    in.Text = FromQString(text_->text());
    in.MatchCase = matchCase_->isChecked();
    in.WholeWords = wholeWords_->isChecked();
    in.FromText = FromQString(fromDate_->text());
    in.ToText = FromQString(toDate_->text());
    return in;
}

void TFilterForm::AddRule() {
    if (auto fault = editor_.AddRule(EditorInput())) {
        ShowFault(*fault);
        return;
    }
    FillRules(editor_.Rules().Count() - 1);
}

void TFilterForm::UpdateRule() {
    const QList<QTreeWidgetItem*> selected = rules_->selectedItems();
    if (selected.isEmpty())
        return;
    const int i = rules_->indexOfTopLevelItem(selected.first());
    if (auto fault = editor_.UpdateRule(i, EditorInput())) {
        ShowFault(*fault);
        return;
    }
    FillRules(i);
}

void TFilterForm::DeleteRule() {
    const QList<QTreeWidgetItem*> selected = rules_->selectedItems();
    if (selected.isEmpty())
        return;
    editor_.DeleteRule(rules_->indexOfTopLevelItem(selected.first()));
    FillRules(-1);
}

void TFilterForm::ActiveChosen(int i) {
    if (loading_)
        return;
    if (auto fault = editor_.ChooseActive(i, Controls())) {
        active_->setCurrentIndex(editor_.Current());
        ShowFault(*fault);
        return;
    }
    LoadControls();
    SavedSelected();
}

void TFilterForm::PageChanged(int page) {
    if (loading_)
        return;
    if (auto fault = editor_.Store(Controls())) {
        loading_ = true;
        pages_->setCurrentIndex(shownPage_);
        loading_ = false;
        ShowFault(*fault);
        return;
    }
    shownPage_ = page;
    LoadControls();
}

void TFilterForm::SaveAs() {
    if (readOnly_ || editor_.Current() < 0)
        return;
    const int current = editor_.Current();
    TSaveFilter names(TNameMode::Search, ToQString(editor_.Names()[std::size_t(current)]), false,
                      editor_.Names(), this);
    if (names.exec() != QDialog::Accepted)
        return;
    if (auto fault = editor_.SaveAs(FromQString(names.Name()), Controls())) {
        ShowFault(*fault);
        return;
    }
    FillNames();
    LoadControls();
}

void TFilterForm::SavedSelected() {
    if (loading_)
        return;
    const int row = saved_->currentRow();
    const bool selected = row >= 0 && saved_->currentItem() && saved_->currentItem()->isSelected();
    deleteSaved_->setEnabled(selected && editor_.CanDelete(row));
    renameSaved_->setEnabled(selected && editor_.CanRename(row));
}

void TFilterForm::DeleteSaved() {
    const int row = saved_->currentRow();
    if (!editor_.CanDelete(row))
        return;
    if (ShowMessage(editor_.DeleteQuestion(row)) == mrNo)
        return;
    const int next = editor_.Delete(row);
    FillNames();
    if (next >= 0)
        saved_->setCurrentRow(next);
    SavedSelected();
}

void TFilterForm::RenameSaved() {
    const int row = saved_->currentRow();
    if (!editor_.CanRename(row))
        return;
    const std::vector<std::string> names = editor_.Names();
    TSaveFilter dialog(TNameMode::Search, ToQString(names[std::size_t(row)]), true, names, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    editor_.Rename(row, FromQString(dialog.Name()));
    FillNames();
    saved_->setCurrentRow(row);
    SavedSelected();
}

void TFilterForm::StoreHeaderWidths() {
    searches_.HeaderWidths[0] = static_cast<std::int16_t>(rules_->header()->sectionSize(0));
    searches_.HeaderWidths[1] = static_cast<std::int16_t>(rules_->header()->sectionSize(1));
}

void TFilterForm::accept() {
    if (auto fault = editor_.Store(Controls())) {
        ShowFault(*fault);
        return;
    }
    QDialog::accept();
}

void TFilterForm::reject() {
    editor_.Cancel();
    QDialog::reject();
}

} // namespace tessaly

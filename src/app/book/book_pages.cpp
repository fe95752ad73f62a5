// The book window's six entry pages: building them beside the entry list, filling
// them from the working copy of the entry and storing their fields back, and the
// look the display settings give their labels.

#include "app/book/address_page.h"
#include "app/book/attachments_page.h"
#include "app/book/book.h"
#include "app/book/categories_page.h"
#include "app/book/entry_list_delegate.h"
#include "app/book/entry_list_model.h"
#include "app/book/entry_list_view.h"
#include "app/book/notes_page.h"
#include "app/book/others_page.h"
#include "app/book/reminders_page.h"
#include "app/widgets/frame.h"
#include "app/widgets/message_dialog.h"
#include "core/access/book_header.h"
#include "platform/qt_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>

namespace tessaly {

namespace {

// The "Reminders" page of the general options dialog.
constexpr int kRemindersOptionsPage = 2;

} // namespace

void TBook::CreateControls() {
    model_ = new TEntryListModel(*book_, clock_, this);
    list_ = new TTessaListBox(clock_);
    delegate_ = new TEntryListDelegate(Frame().Settings(), list_);
    list_->setItemDelegate(delegate_);
    list_->SetEntryModel(model_);
    // The row chosen is selected before the entry is shown: a click reports its row
    // before the view has selected it.
    connect(list_, &TTessaListBox::EntryChosen, this, [this](int row) {
        list_->SelectRow(row);
        ShowCurrentEntry();
    });
    connect(list_, &QAbstractItemView::doubleClicked, this, [this] { ToggleTag(); });

    tabs_ = new QTabWidget;
    tabs_->setObjectName("Tabs");
    address_ = new TAddressPage;
    notes_ = new TNotesPage;
    reminders_ = new TRemindersPage(clock_);
    others_ = new TOthersPage;
    attachments_ = new TAttachmentsPage;
    categories_ = new TCategoriesPage;
    for (QWidget* page : std::initializer_list<QWidget*>{address_, notes_, reminders_, others_,
                                                         attachments_, categories_})
        tabs_->addTab(page, QString());
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) {
        StorePage(shownPage_);
        FillPage(page);
        if (list_->isEnabled())
            list_->setFocus();
        UpdateCommandState();
    });
    connect(address_, &TAddressPage::TemplateTabChanged, this, [this] { UpdateCommandState(); });
    connect(address_, &TAddressPage::Typed, this, [this](QWidget* f) { Typed(f); });
    connect(notes_, &TNotesPage::Typed, this, [this](QWidget* f) { Typed(f); });
    connect(others_, &TOthersPage::Typed, this, [this](QWidget* f) { Typed(f); });
    connect(categories_, &TCategoriesPage::Typed, this, [this](QWidget* f) { Typed(f); });
    connect(others_->TodayButton(), &QPushButton::clicked, this, &TBook::SetLastCalledNow);
    connect(reminders_, &TRemindersPage::OptionsRequested, this,
            [this] { Frame().ShowOptions(kRemindersOptionsPage); });
    connect(reminders_, &TRemindersPage::AddRequested, this, &TBook::AddReminder);
    connect(reminders_, &TRemindersPage::EditRequested, this, &TBook::EditSelectedReminder);
    connect(reminders_, &TRemindersPage::ViewRequested, this, &TBook::ViewSelectedReminder);
    connect(reminders_, &TRemindersPage::AcknowledgeRequested, this,
            &TBook::AcknowledgeSelectedReminder);
    connect(reminders_, &TRemindersPage::DeleteRequested, this, &TBook::DeleteSelectedReminder);
    setAcceptDrops(true);
    connect(address_, &TAddressPage::DialRequested, this, &TBook::PhoneButtonPressed);

    // Shift+Page Down and Shift+Page Up scroll the fields of the Address or the Others
    // page, whichever is shown, by 10 units.
    for (const auto& [key, step] : {std::pair{QKeyCombination(Qt::SHIFT, Qt::Key_PageDown), 10},
                                    std::pair{QKeyCombination(Qt::SHIFT, Qt::Key_PageUp), -10}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] { ScrollFields(step); });
    }

    splitter_ = new QSplitter(Qt::Horizontal);
    splitter_->setObjectName("Splitter");
    splitter_->setHandleWidth(2);
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(list_);
    splitter_->addWidget(tabs_);
    splitter_->setStretchFactor(1, 1);
    auto* h = new QHBoxLayout(this);
    h->setContentsMargins(2, 2, 2, 13);
    h->addWidget(splitter_);
}

void TBook::ScrollFields(int step) {
    const char* box = tabs_->currentWidget() == address_  ? "ScrollBox"
                      : tabs_->currentWidget() == others_ ? "OthersScrollBox"
                                                          : nullptr;
    if (!box)
        return;
    if (auto* area = tabs_->currentWidget()->findChild<QScrollArea*>(box)) {
        QScrollBar* bar = area->verticalScrollBar();
        bar->setValue(bar->value() + step);
    }
}

void TBook::ApplyDisplaySettings() {
    const TSettings& s = Frame().Settings();
    for (QLabel* l : findChildren<QLabel*>()) {
        if (l->property("dateValue").toBool())
            continue; // values, not labels
        QFont f = l->font();
        f.setBold(s.BoldLabels);
        l->setFont(f);
    }
    list_->viewport()->update();
    if (shownPage_ >= 0)
        LayoutFields();
}

void TBook::ApplyScreenFont(const QFont& font) {
    setFont(font);
    list_->setFont(font);
    ApplyDisplaySettings();
}

void TBook::NamePages() {
    for (int page = 0; page < kPages; ++page) {
        QString caption = ToQString(PageCaption(*book_, page));
        if (caption.isEmpty())
            caption = kDefaultPageCaptions[page];
        tabs_->setTabText(page, caption);
        pageActions_[page]->setText(caption + " Page");
        pageActions_[page]->setStatusTip("View the " + caption + " Page");
    }
}

void TBook::LayoutFields() {
    // Every page shows the working entry; the page in view is filled last so that it
    // is the one whose fields are later copied back.
    const TSettings& s = Frame().Settings();
    TRecord& w = *book_->WorkRecord;
    address_->Fill(w, *book_, s);
    FillPage(CurrentPage());
    UpdateCommandState();
}

int TBook::CurrentPage() const {
    return tabs_ ? tabs_->currentIndex() : 0;
}

void TBook::ShowPage(int page) {
    if (page >= 0 && page < kPages)
        tabs_->setCurrentIndex(page);
}

void TBook::StorePage(int page) {
    if (!book_ || !book_->WorkRecord || page < 0)
        return;
    TRecord& w = *book_->WorkRecord;
    if (QWidget* shown = tabs_->widget(page)) {
        // The fields the page's Store copies back: those typed into.
        for (const QLineEdit* f : shown->findChildren<QLineEdit*>())
            if (f->isModified())
                lostCharacters_ += CharactersLost(f->text());
        for (const QPlainTextEdit* f : shown->findChildren<QPlainTextEdit*>())
            if (f->document()->isModified())
                lostCharacters_ += CharactersLost(f->toPlainText());
        lostCharacters_ = CharactersLost(lostCharacters_);
    }
    switch (page) {
    case 0:
        address_->Store(w);
        break;
    case 1:
        notes_->Store(w);
        break;
    case 3:
        others_->Store(w);
        break;
    case 5:
        categories_->Store(w);
        break;
    default:
        break;
    }
}

void TBook::TellLostCharacters() {
    if (lostCharacters_.isEmpty())
        return;
    QStringList shown;
    for (const char32_t c : lostCharacters_.toUcs4())
        shown += QString::fromUcs4(&c, 1);
    ShowMessage(mtDataLossPossible,
                QString("These characters cannot be kept in this Address Book: %1\n\n"
                        "Each of them is stored as \"?\".")
                    .arg(shown.join(' ')),
                mkWarning, mbOk);
    lostCharacters_.clear();
}

void TBook::FillPage(int page) {
    const TSettings& s = Frame().Settings();
    TRecord& w = *book_->WorkRecord;
    switch (page) {
    case 0:
        address_->Fill(w, *book_, s);
        break;
    case 1:
        notes_->Fill(w, *book_, s);
        break;
    case 2:
        reminders_->Fill(w, *book_, s);
        break;
    case 3:
        others_->Fill(w, *book_, s);
        break;
    case 4:
        attachments_->Fill(w, *book_);
        break;
    case 5:
        categories_->Fill(w, *book_);
        break;
    default:
        break;
    }
    shownPage_ = page;
}

void TBook::SetEditMode(int mode) {
    edit_.SetReadOnly(readOnly_);
    if (mode != edit_.Mode()) {
        edit_.Finished();
        if (mode == kEditAdding)
            edit_.StartAdding();
        else if (mode == kEditUpdating)
            edit_.StartUpdating(true);
    }
    // Fields take typing whenever the book is writable: typing into a displayed entry
    // starts an edit (fast edit).
    const bool locked = readOnly_;
    if (address_) {
        address_->SetReadOnly(locked);
        notes_->SetReadOnly(locked);
        others_->SetReadOnly(locked);
        categories_->SetReadOnly(locked);
        UpdateCommandState();
    }
}

} // namespace tessaly

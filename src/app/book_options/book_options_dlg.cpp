#include "app/book_options/book_options_dlg.h"

#include "app/book_options/category_dlg.h"
#include "app/book_options/key_lists.h"
#include "app/book_options/template_dlg.h"
#include "app/widgets/message_dialog.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFont>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {

// The Fields page's groups: the page whose label heads them, and their fields.
struct TFieldGroup {
    int Page;
    std::vector<int> Fields;
};
const std::array<TFieldGroup, 3> kGroups = {{{0, {0, 1, 2}}, {1, {9}}, {3, {3, 4, 5, 6, 7, 8}}}};

QPushButton* Button(const QString& caption, QWidget* parent, const char* name) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QString ShownText(bool shown) {
    return shown ? "Shown" : "Hidden";
}

void MarkItem(QListWidgetItem* item, bool deleted) {
    QFont f = item->font();
    f.setStrikeOut(deleted);
    item->setFont(f);
    item->setForeground(deleted ? Qt::gray : Qt::black);
}

} // namespace

std::function<QString(QWidget*)> TBookOptionsDlg::InheritChooser = [](QWidget* parent) {
    return QFileDialog::getOpenFileName(parent, "Inherit Categories from Address Book", QString(),
                                        "Address Books (*.ADR *.adr);;All Files (*)");
};

TBookOptionsDlg::TBookOptionsDlg(const TBookData& book, const TStoreSettings& settings,
                                 bool readOnly, QWidget* parent)
    : QDialog(parent), settings_(settings), options_(book) {
    setWindowTitle("Address Book Options");
    auto* layout = new QVBoxLayout(this);
    pages_ = new QTabWidget(this);
    pages_->addTab(FieldsPage(), "Fields");
    pages_->addTab(PagesPage(), "Pages");
    pages_->addTab(IndexKeysPage(), "Index Keys");
    pages_->addTab(CategoriesPage(), "Categories");
    pages_->addTab(AddressesPage(), "Addresses");
    pages_->addTab(WordPage(), "Word Processor");
    layout->addWidget(pages_, 1);
    // The key lists name fields by the labels as they now stand on the Fields page and
    // by the first address template as now edited.
    connect(pages_, &QTabWidget::currentChanged, this, [this](int page) {
        if (page != kIndexKeysPage && page != kWordPage)
            return;
        StoreLabels();
        options_.RefreshKeyCaptions();
        indexKeys_->Fill(indexKeys_->KeyList()->currentRow());
        insertFields_->Fill(insertFields_->KeyList()->currentRow());
    });

    auto* bottom = new QHBoxLayout;
    saveDefault_ = new QCheckBox("&Save as Default", this);
    bottom->addWidget(saveDefault_);
    bottom->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!readOnly);
    connect(buttons, &QDialogButtonBox::accepted, this, &TBookOptionsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TBookOptionsDlg::reject);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);
    resize(640, 460);
}

QWidget* TBookOptionsDlg::FieldsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (std::size_t g = 0; g < kGroups.size(); ++g) {
        groups_[g] = new QGroupBox(page);
        auto* grid = new QGridLayout(groups_[g]);
        int row = 0;
        for (const int f : kGroups[g].Fields) {
            auto* label = new QLineEdit(ToQString(options_.FieldLabels[f]), groups_[g]);
            label->setObjectName(QString("FieldLabel%1").arg(f));
            label->setMaxLength(255);
            auto* shown = new QToolButton(groups_[g]);
            shown->setObjectName(QString("FieldShown%1").arg(f));
            shown->setCheckable(true);
            shown->setChecked(options_.FieldShown[f]);
            shown->setText(ShownText(options_.FieldShown[f]));
            shown->setMinimumWidth(64);
            connect(shown, &QToolButton::toggled, shown,
                    [shown](bool on) { shown->setText(ShownText(on)); });
            labels_[f] = label;
            shown_[f] = shown;
            grid->addWidget(label, row, 0);
            grid->addWidget(shown, row, 1);
            ++row;
        }
        layout->addWidget(groups_[g]);
    }
    layout->addStretch(1);
    RefreshGroupCaptions();
    return page;
}

void TBookOptionsDlg::RefreshGroupCaptions() {
    for (std::size_t g = 0; g < kGroups.size(); ++g) {
        QString label = pageLabels_[kGroups[g].Page]
                            ? pageLabels_[kGroups[g].Page]->text()
                            : ToQString(options_.PageLabels[kGroups[g].Page]);
        groups_[g]->setTitle(
            ToQString(TBookOptions::FieldGroupCaption(FromQString(label.remove('&')))));
    }
}

QWidget* TBookOptionsDlg::PagesPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    for (int p = 0; p < kPageCaptions; ++p) {
        auto* edit = new QLineEdit(ToQString(options_.PageLabels[p]), page);
        edit->setObjectName(QString("PageLabel%1").arg(p));
        edit->setMaxLength(255);
        pageLabels_[p] = edit;
        connect(edit, &QLineEdit::textChanged, this, &TBookOptionsDlg::RefreshGroupCaptions);
        form->addRow(QString("Page %1:").arg(p + 1), edit);
    }
    return page;
}

QWidget* TBookOptionsDlg::IndexKeysPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* about = new QLabel("The Index Keys name each Entry in the Index List and set its place "
                             "there; keys marked \u2195 take part in sorting. Entries that "
                             "override these keys keep their own.",
                             page);
    about->setWordWrap(true);
    layout->addWidget(about);
    indexKeys_ =
        new TKeyLists(options_.IndexKeyLists(), "Available Fi&elds", "Index &Keys",
                      {"DefaultAvailable", "DefaultKeys", "AddDefaultKey", "DeleteDefaultKey",
                       "DefaultKeyUp", "DefaultKeyDown", "DefaultSortBy"},
                      page);
    layout->addWidget(indexKeys_, 1);
    return page;
}

QWidget* TBookOptionsDlg::CategoriesPage() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    categories_ = new QListWidget(page);
    categories_->setObjectName("CategoryList");
    layout->addWidget(categories_, 1);
    auto* buttons = new QVBoxLayout;
    auto* add = Button("&New", page, "NewCategory");
    editCategory_ = Button("&Edit", page, "EditCategory");
    deleteCategory_ = Button("&Delete", page, "DeleteCategory");
    restoreCategory_ = Button("&Restore", page, "RestoreCategory");
    auto* inherit = Button("&Inherit", page, "Inherit");
    defaultCategory_ = Button("&Toggle Default State", page, "ToggleCategoryDefault");
    for (QPushButton* b :
         {add, editCategory_, deleteCategory_, restoreCategory_, inherit, defaultCategory_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(categories_, &QListWidget::currentRowChanged, this, &TBookOptionsDlg::CategoryChosen);
    connect(categories_, &QListWidget::itemDoubleClicked, this, &TBookOptionsDlg::EditCategory);
    connect(add, &QPushButton::clicked, this, &TBookOptionsDlg::NewCategory);
    connect(editCategory_, &QPushButton::clicked, this, &TBookOptionsDlg::EditCategory);
    connect(deleteCategory_, &QPushButton::clicked, this, &TBookOptionsDlg::DeleteCategory);
    connect(restoreCategory_, &QPushButton::clicked, this, &TBookOptionsDlg::RestoreCategory);
    connect(inherit, &QPushButton::clicked, this, &TBookOptionsDlg::Inherit);
    connect(defaultCategory_, &QPushButton::clicked, this, &TBookOptionsDlg::ToggleCategoryDefault);
    FillCategories(0);
    return page;
}

QWidget* TBookOptionsDlg::AddressesPage() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    templates_ = new QListWidget(page);
    templates_->setObjectName("TemplateList");
    layout->addWidget(templates_, 1);
    auto* buttons = new QVBoxLayout;
    auto* add = Button("&New", page, "NewTemplate");
    editTemplate_ = Button("&Edit", page, "EditTemplate");
    deleteTemplate_ = Button("&Delete", page, "DeleteTemplate");
    restoreTemplate_ = Button("&Restore", page, "RestoreTemplate");
    defaultTemplate_ = Button("&Toggle Default State", page, "ToggleTemplateDefault");
    for (QPushButton* b : {add, editTemplate_, deleteTemplate_, restoreTemplate_, defaultTemplate_})
        buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(templates_, &QListWidget::currentRowChanged, this, &TBookOptionsDlg::TemplateChosen);
    connect(add, &QPushButton::clicked, this, [this] { EditTemplate(-1); });
    connect(editTemplate_, &QPushButton::clicked, this,
            [this] { EditTemplate(templates_->currentRow() + 1); });
    connect(templates_, &QListWidget::itemDoubleClicked, this,
            [this] { EditTemplate(templates_->currentRow() + 1); });
    connect(deleteTemplate_, &QPushButton::clicked, this, &TBookOptionsDlg::DeleteTemplate);
    connect(restoreTemplate_, &QPushButton::clicked, this, &TBookOptionsDlg::RestoreTemplate);
    connect(defaultTemplate_, &QPushButton::clicked, this, &TBookOptionsDlg::ToggleTemplateDefault);
    FillTemplates(0);
    return page;
}

QWidget* TBookOptionsDlg::WordPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    blankFields_ = new QCheckBox("Include &Blank Fields during Insertion", page);
    labelPhones_ = new QCheckBox("&Label Telephone Fields that are Inserted", page);
    blankFields_->setChecked(options_.InsertBlankFields);
    labelPhones_->setChecked(options_.LabelPhoneFields);
    insertFields_ =
        new TKeyLists(options_.InsertFieldLists(), "Available Fi&elds", "I&nsert Fields",
                      {"InsertAvailable", "InsertFields", "AddInsertField", "DeleteInsertField",
                       "InsertFieldUp", "InsertFieldDown", ""},
                      page);
    layout->addWidget(insertFields_, 1);
    layout->addWidget(blankFields_);
    layout->addWidget(labelPhones_);
    return page;
}

void TBookOptionsDlg::FillCategories(int select) {
    const TCategoryList& list = options_.Categories();
    categories_->clear();
    for (int i = 0; i < list.Count(); ++i) {
        QString text = ToQString(list.CategoryName(i));
        if (list.CategoryDefault(i))
            text += "  (Default)";
        auto* item = new QListWidgetItem(text, categories_);
        MarkItem(item, list.CategoryDeleted(i) != 0);
    }
    categories_->setCurrentRow(std::min(select, categories_->count() - 1));
    CategoryChosen();
}

void TBookOptionsDlg::FillTemplates(int select) {
    const TTemplateList& list = options_.Templates();
    templates_->clear();
    for (int i = 1; i < list.Count(); ++i) {
        QString text = ToQString(list.TemplateName(i));
        if (list.TemplateIncludeForNew(i))
            text += "  (Default)";
        auto* item = new QListWidgetItem(text, templates_);
        MarkItem(item, list.TemplateDeleted(i) != 0);
    }
    templates_->setCurrentRow(std::min(select, templates_->count() - 1));
    TemplateChosen();
}

void TBookOptionsDlg::CategoryChosen() {
    const int i = categories_->currentRow();
    const bool any = i >= 0;
    const bool deleted = any && options_.Categories().CategoryDeleted(i);
    editCategory_->setEnabled(any && !deleted);
    deleteCategory_->setEnabled(any && !deleted);
    restoreCategory_->setEnabled(deleted);
    defaultCategory_->setEnabled(any && !deleted);
}

void TBookOptionsDlg::TemplateChosen() {
    const int i = templates_->currentRow() + 1;
    const bool any = i >= 1;
    const bool deleted = any && options_.Templates().TemplateDeleted(i);
    editTemplate_->setEnabled(any && !deleted);
    deleteTemplate_->setEnabled(any && !deleted);
    restoreTemplate_->setEnabled(deleted);
    defaultTemplate_->setEnabled(any && !deleted);
}

void TBookOptionsDlg::NewCategory() {
    TCategoryDlg dialog(
        "Add a New Category", QString(), false,
        [this](const QString& name, bool isDefault) {
            return options_.AddCategory(FromQString(name), isDefault);
        },
        this);
    if (dialog.exec() == QDialog::Accepted)
        FillCategories(options_.Categories().Count() - 1);
}

void TBookOptionsDlg::EditCategory() {
    const int i = categories_->currentRow();
    const TCategoryList& list = options_.Categories();
    if (i < 0 || list.CategoryDeleted(i))
        return;
    TCategoryDlg dialog(
        "Edit Category", ToQString(list.CategoryName(i)), list.CategoryDefault(i) != 0,
        [this, i](const QString& name, bool isDefault) {
            return options_.EditCategory(i, FromQString(name), isDefault);
        },
        this);
    if (dialog.exec() == QDialog::Accepted)
        FillCategories(i);
}

void TBookOptionsDlg::DeleteCategory() {
    const int i = categories_->currentRow();
    if (i < 0 || options_.Categories().CategoryDeleted(i))
        return;
    if (auto question = options_.CategoryDeleteQuestion(i))
        if (ShowMessage(*question) != mrOk)
            return;
    options_.MarkCategory(i, true);
    FillCategories(i);
}

void TBookOptionsDlg::RestoreCategory() {
    const int i = categories_->currentRow();
    if (i < 0 || !options_.Categories().CategoryDeleted(i))
        return;
    options_.MarkCategory(i, false);
    FillCategories(i);
}

void TBookOptionsDlg::ToggleCategoryDefault() {
    const int i = categories_->currentRow();
    if (options_.ToggleCategoryDefault(i))
        FillCategories(i);
}

void TBookOptionsDlg::Inherit() {
    const QString path = InheritChooser(this);
    if (path.isEmpty())
        return;
    const bool unsaved = unsavedElsewhere_ && unsavedElsewhere_(path);
    if (auto warning = options_.InheritWarning(PathToCore(path), unsaved))
        if (ShowMessage(*warning) != mrOk)
            return;
    if (auto refusal = options_.InheritCategories(PathToCore(path), settings_)) {
        ShowMessage(*refusal);
        return;
    }
    FillCategories(categories_->currentRow());
}

void TBookOptionsDlg::DeleteTemplate() {
    const int i = templates_->currentRow() + 1;
    if (i < 1 || options_.Templates().TemplateDeleted(i))
        return;
    if (auto refusal = options_.TemplateDeleteRefusalFor(i)) {
        ShowMessage(*refusal);
        return;
    }
    if (auto question = options_.TemplateDeleteQuestion(i))
        if (ShowMessage(*question) != mrOk)
            return;
    options_.MarkTemplate(i, true);
    FillTemplates(i - 1);
}

void TBookOptionsDlg::RestoreTemplate() {
    const int i = templates_->currentRow() + 1;
    if (i < 1 || !options_.Templates().TemplateDeleted(i))
        return;
    options_.MarkTemplate(i, false);
    FillTemplates(i - 1);
}

void TBookOptionsDlg::EditTemplate(int i) {
    const TTemplateList& list = options_.Templates();
    if (i >= 0 && (i < 1 || list.TemplateDeleted(i)))
        return;
    const bool existing = i >= 1;
    TTemplateDlg dialog(
        existing, existing ? list.ValuesOf(i) : list.NewTemplateValues(), list.NewTemplateValues(),
        [this, i](const TTemplateValues& values, bool base) {
            return options_.StoreTemplate(i, values, base);
        },
        this);
    if (dialog.exec() == QDialog::Accepted)
        FillTemplates(existing ? i - 1 : options_.Templates().Count() - 2);
}

void TBookOptionsDlg::ToggleTemplateDefault() {
    const int i = templates_->currentRow() + 1;
    if (options_.ToggleTemplateInclude(i))
        FillTemplates(i - 1);
}

bool TBookOptionsDlg::SaveAsDefault() const {
    return saveDefault_->isChecked();
}

void TBookOptionsDlg::StoreLabels() {
    for (int f = 0; f < TBookOptions::kFields; ++f)
        options_.FieldLabels[f] = FromQString(labels_[f]->text());
}

void TBookOptionsDlg::accept() {
    StoreLabels();
    for (int f = 0; f < TBookOptions::kFields; ++f)
        options_.FieldShown[f] = shown_[f]->isChecked();
    for (int p = 0; p < kPageCaptions; ++p)
        options_.PageLabels[p] = FromQString(pageLabels_[p]->text());
    options_.InsertBlankFields = blankFields_->isChecked();
    options_.LabelPhoneFields = labelPhones_->isChecked();
    QDialog::accept();
}

} // namespace tessaly

#include "app/book/address_page.h"

#include "app/book/field_labels.h"
#include "core/organise/entry_text.h"
#include "core/settings/settings.h"
#include "core/store/book.h"
#include "platform/qt_text.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tessaly {

namespace {

QLineEdit* Field(const QString& name) {
    auto* e = new QLineEdit;
    e->setObjectName(name);
    return e;
}

// A value is shown from its start, however long.
void SetFieldText(QLineEdit* field, const QString& text) {
    field->setText(text);
    field->setCursorPosition(0);
}

bool UsedByKeys(const TRecord& entry, const TBookData& book, int code) {
    return EffectiveKeys(entry, book.IndexKeys).HasCode(code);
}

// Rows of the scroll box: a row holds its fields in a line of their own.
QWidget* Row(std::initializer_list<QWidget*> widgets) {
    auto* w = new QWidget;
    w->setObjectName("AddressRow");
    auto* h = new QHBoxLayout(w);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(8);
    for (QWidget* x : widgets)
        h->addWidget(x, qobject_cast<QLabel*>(x) ? 0 : 1);
    return w;
}

} // namespace

TAddressPage::TAddressPage(QWidget* parent) : QWidget(parent) {
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(8);

    names_ = new QSplitter(Qt::Horizontal);
    names_->setObjectName("NamePanel");
    names_->setHandleWidth(3);
    names_->setChildrenCollapsible(false);
    const char* fieldNames[] = {"F_Title", "F_Initials", "F_Name"};
    for (int i = 0; i < 3; ++i) {
        auto* panel = new QWidget;
        auto* pv = new QVBoxLayout(panel);
        pv->setContentsMargins(0, 4, 0, 0);
        pv->setSpacing(2);
        nameLabels_[i] = new QLabel;
        nameFields_[i] = Field(fieldNames[i]);
        nameLabels_[i]->setBuddy(nameFields_[i]);
        pv->addWidget(nameLabels_[i]);
        pv->addWidget(nameFields_[i]);
        names_->addWidget(panel);
    }
    names_->setStretchFactor(2, 1);
    v->addWidget(names_);

    tabs_ = new QTabBar;
    tabs_->setObjectName("TabSet");
    tabs_->setShape(QTabBar::RoundedSouth);
    tabs_->setExpanding(false);
    // Its scroll arrows are for the mouse: unseen, they would be Tab stops.
    for (QToolButton* arrow : tabs_->findChildren<QToolButton*>())
        arrow->setFocusPolicy(Qt::NoFocus);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int tab) {
        if (filling_)
            return;
        ShowAddress();
        emit TemplateTabChanged(tab);
    });

    scroll_ = new QScrollArea;
    scroll_->setObjectName("ScrollBox");
    scroll_->setWidgetResizable(true);
    // Tab goes from field to field; the box itself is scrolled by Shift+Page keys.
    scroll_->setFocusPolicy(Qt::NoFocus);
    auto* inner = new QWidget;
    grid_ = new QGridLayout(inner);
    grid_->setContentsMargins(3, 4, 3, 4);
    grid_->setHorizontalSpacing(8);
    grid_->setVerticalSpacing(2);
    scroll_->setWidget(inner);
    v->addWidget(scroll_, 1);
    v->addWidget(tabs_);

    positionLabel_ = new QLabel;
    position_ = Field("F_Position");
    companyLabel_ = new QLabel;
    company_ = Field("F_Company");
    addressLabel_ = new QLabel;
    addressLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    address_ = new QPlainTextEdit;
    address_->setObjectName("F_Address");
    address_->setTabChangesFocus(true);
    address_->setFixedHeight(QFontMetrics(font()).lineSpacing() * 5 + 10);
    for (int i = 0; i < 5; ++i) {
        lineLabels_[i] = new QLabel;
        lines_[i] = Field(QString("F_Address_%1").arg(i + 1));
    }
    stateLabel_ = new QLabel("State");
    for (int i = 0; i < 4; ++i) {
        phoneLabels_[i] = new QLabel;
        phones_[i] = Field(QString("F_Phone%1").arg(i + 1));
        dial_[i] = new QPushButton(QString("&%1").arg(i + 1));
        dial_[i]->setObjectName(QString("B_Phone%1").arg(i + 1));
        dial_[i]->setFixedWidth(28);
        // The book window enables the buttons by its command state.
        dial_[i]->setEnabled(false);
        connect(dial_[i], &QPushButton::clicked, this, [this, i] { emit DialRequested(i); });
    }
    // Every field belongs to the scroll box, shown or not.
    for (QWidget* w :
         std::initializer_list<QWidget*>{positionLabel_, position_, companyLabel_, company_,
                                         addressLabel_, address_, stateLabel_}) {
        w->setParent(inner);
        w->hide();
    }
    for (int i = 0; i < 5; ++i) {
        lineLabels_[i]->setParent(inner);
        lineLabels_[i]->hide();
        lines_[i]->setParent(inner);
        lines_[i]->hide();
    }
    for (int i = 0; i < 4; ++i) {
        for (QWidget* w : std::initializer_list<QWidget*>{phoneLabels_[i], phones_[i], dial_[i]}) {
            w->setParent(inner);
            w->hide();
        }
    }
    for (QLineEdit* f : findChildren<QLineEdit*>())
        connect(f, &QLineEdit::textEdited, this, [this, f] { emit Typed(f); });
    connect(address_, &QPlainTextEdit::textChanged, this, [this] {
        if (!settingText_)
            emit Typed(address_);
    });
    SetReadOnly(true);
}

void TAddressPage::Fill(const TRecord& entry, const TBookData& book, const TSettings& settings) {
    entry_ = &entry;
    book_ = &book;
    settings_ = &settings;
    const TTemplate* names = book.Templates.At(0);
    for (int i = 0; i < 3; ++i) {
        TFieldLook look;
        look.Caption = names ? ToQString(names->Caption(i)) : QString();
        look.FieldVisible = names ? names->ShownAt(i) != 0 : true;
        look.Highlight = settings.HighlightIndex && UsedByKeys(entry, book, i);
        look.Bold = settings.BoldLabels;
        ApplyFieldLook(nameLabels_[i], nameFields_[i], look);
        nameFields_[i]->parentWidget()->setVisible(look.FieldVisible);
        SetFieldText(nameFields_[i], ToQString(entry.NameField(i)));
    }
    bool anyName = false;
    for (QLineEdit* f : nameFields_)
        anyName = anyName || !f->isHidden();
    names_->setVisible(anyName);

    filling_ = true;
    const int keep = tabs_->currentIndex();
    while (tabs_->count() > 0)
        tabs_->removeTab(0);
    for (const auto& a : entry.Addresses) {
        const int t = book.Templates.FindTemplateById(a->TemplateId);
        tabs_->addTab(ToQString(book.Templates.TemplateName(t)));
    }
    tabs_->setCurrentIndex(std::clamp(keep, 0, tabs_->count() - 1));
    filling_ = false;
    ShowAddress();
}

void TAddressPage::ShowAddress() {
    // Take every row out; the template decides which come back.
    QWidget* inner = scroll_->widget();
    while (QLayoutItem* item = grid_->takeAt(0)) {
        QWidget* w = item->widget();
        delete item;
        if (!w)
            continue;
        w->hide();
        if (w->objectName() != "AddressRow")
            continue;
        // A row holds fields only for one layout; they go back to the scroll box.
        for (QWidget* child : w->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            child->hide();
            child->setParent(inner);
        }
        delete w;
    }
    if (!entry_ || !book_)
        return;
    const int a = TemplateTab();
    const TTemplate* t =
        a >= 0 ? book_->Templates.TemplateOfId(entry_->Addresses.AddressTemplateId(a)) : nullptr;
    const auto look = [&](int field) {
        TFieldLook l;
        l.Caption = t ? ToQString(t->Caption(field)) : QString();
        l.FieldVisible = t && t->ShownAt(field);
        // Keys name the fields of the first address only.
        l.Highlight = settings_->HighlightIndex && a == 0 &&
                      UsedByKeys(*entry_, *book_, kAddressKeyBase + field);
        l.Bold = settings_->BoldLabels;
        return l;
    };
    const auto text = [&](int field) { return ToQString(entry_->Addresses.FieldOf(a, field)); };
    structured_ = t && t->AddressFormat != kFormatFreeform;

    int row = 0;
    const auto put = [&](QLabel* label, QWidget* field, const TFieldLook& l, bool top = false) {
        ApplyFieldLook(label, field, l);
        if (!l.FieldVisible)
            return;
        if (label) {
            grid_->addWidget(label, row, 0, top ? Qt::AlignTop : Qt::AlignVCenter);
            label->setVisible(!l.Caption.isEmpty());
        }
        grid_->addWidget(field, row, label && !l.Caption.isEmpty() ? 1 : 0, 1,
                         label && !l.Caption.isEmpty() ? 1 : 2);
        field->show();
        ++row;
    };
    put(positionLabel_, position_, look(kFieldPosition));
    SetFieldText(position_, text(kFieldPosition));
    put(companyLabel_, company_, look(kFieldCompany));
    SetFieldText(company_, text(kFieldCompany));

    const TFieldLook addr = look(kFieldAddress);
    const std::string addressText = entry_->Addresses.FieldOf(a, kFieldAddress);
    if (!structured_) {
        put(addressLabel_, address_, addr, true);
        settingText_ = true;
        address_->setPlainText(ToQString(addressText));
        settingText_ = false;
    } else if (addr.FieldVisible) {
        for (int i = 0; i < 5; ++i)
            SetFieldText(lines_[i], ToQString(AddressLine(addressText, i + 1)));
        TFieldLook first = addr;
        put(addressLabel_, lines_[0], first);
        TFieldLook blank = addr;
        blank.Caption.clear();
        blank.Highlight = false;
        put(nullptr, lines_[1], blank);
        if (t->AddressFormat == kFormatUS) {
            lineLabels_[2]->setText("City");
            lineLabels_[4]->setText("Zip");
            // "City" and "State" share a row; "Zip" starts the next at the field column.
            grid_->addWidget(Row({lineLabels_[2], lines_[2], stateLabel_, lines_[3]}), row++, 1);
            grid_->addWidget(Row({lineLabels_[4], lines_[4]}), row++, 1);
            for (QWidget* w : {(QWidget*)lineLabels_[2], (QWidget*)lines_[2], (QWidget*)stateLabel_,
                               (QWidget*)lines_[3], (QWidget*)lineLabels_[4], (QWidget*)lines_[4]})
                w->show();
        } else if (t->AddressFormat == kFormatUK) {
            put(nullptr, lines_[2], blank);
            put(nullptr, lines_[3], blank);
            lineLabels_[4]->setText("Post Code");
            grid_->addWidget(Row({lineLabels_[4], lines_[4]}), row++, 1);
            lineLabels_[4]->show();
            lines_[4]->show();
        } else {
            for (int i = 2; i < 5; ++i)
                put(nullptr, lines_[i], blank);
        }
    }

    for (int i = 0; i < kPhoneFields; ++i) {
        const int field = kFirstPhoneField + i;
        const TFieldLook l = look(field);
        SetFieldText(phones_[i], text(field));
        ApplyFieldLook(phoneLabels_[i], phones_[i], l);
        const bool button = l.FieldVisible && t && t->ButtonKind(i) != kButtonNone;
        dial_[i]->setVisible(button);
        if (button)
            dial_[i]->setToolTip(t->ButtonKind(i) == kButtonMail ? "Send Mail" : "Dial Number");
        if (!l.FieldVisible)
            continue;
        QWidget* holder = button ? Row({phones_[i], dial_[i]}) : phones_[i];
        phones_[i]->show();
        if (!l.Caption.isEmpty()) {
            grid_->addWidget(phoneLabels_[i], row, 0);
            grid_->addWidget(holder, row, 1);
        } else {
            grid_->addWidget(holder, row, 0, 1, 2);
        }
        holder->show();
        ++row;
    }
    // Only the row under the last field takes the room left: a row stretched for
    // another template would open a gap between the fields.
    for (int r = 0; r < grid_->rowCount(); ++r)
        grid_->setRowStretch(r, r == row ? 1 : 0);
    grid_->setRowStretch(row, 1);
    grid_->setColumnStretch(1, 1);
    // Tab follows the fields as they stand (rows move them between parents), then
    // the template tabs under the box.
    QList<QWidget*> order = {position_, company_, address_};
    for (QLineEdit* l : lines_)
        order << l;
    for (int i = 0; i < kPhoneFields; ++i)
        order << phones_[i] << dial_[i];
    order << tabs_;
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    ClearModified();
}

void TAddressPage::ClearModified() {
    for (QLineEdit* f : nameFields_)
        f->setModified(false);
    for (QLineEdit* f : {position_, company_})
        f->setModified(false);
    for (QLineEdit* f : lines_)
        f->setModified(false);
    for (QLineEdit* f : phones_)
        f->setModified(false);
    address_->document()->setModified(false);
}

void TAddressPage::Store(TRecord& entry) const {
    for (int i = 0; i < 3; ++i)
        if (nameFields_[i]->isModified())
            entry.SetNameField(i, FromQString(nameFields_[i]->text()));
    const int a = TemplateTab();
    if (a < 0)
        return;
    if (position_->isModified())
        entry.Addresses.SetFieldOf(a, kFieldPosition, FromQString(position_->text()));
    if (company_->isModified())
        entry.Addresses.SetFieldOf(a, kFieldCompany, FromQString(company_->text()));
    if (!structured_ && address_->document()->isModified())
        entry.Addresses.SetFieldOf(a, kFieldAddress, FromQString(address_->toPlainText()));
    bool linesChanged = false;
    for (QLineEdit* f : lines_)
        linesChanged = linesChanged || f->isModified();
    if (structured_ && linesChanged) {
        // The five lines make the address text; lines past the fifth are kept.
        const std::string old = entry.Addresses.FieldOf(a, kFieldAddress);
        std::string text;
        for (int i = 0; i < 5; ++i)
            text += FromQString(lines_[i]->text()) + "\r\n";
        for (int n = 6; !AddressLine(old, n).empty(); ++n)
            text += AddressLine(old, n) + "\r\n";
        while (text.size() >= 2 && text.ends_with("\r\n"))
            text.resize(text.size() - 2);
        entry.Addresses.SetFieldOf(a, kFieldAddress, text);
    }
    for (int i = 0; i < kPhoneFields; ++i)
        if (phones_[i]->isModified())
            entry.Addresses.SetFieldOf(a, kFirstPhoneField + i, FromQString(phones_[i]->text()));
}

void TAddressPage::SetReadOnly(bool readOnly) {
    for (QLineEdit* f : nameFields_)
        f->setReadOnly(readOnly);
    position_->setReadOnly(readOnly);
    company_->setReadOnly(readOnly);
    address_->setReadOnly(readOnly);
    for (QLineEdit* f : lines_)
        f->setReadOnly(readOnly);
    for (QLineEdit* f : phones_)
        f->setReadOnly(readOnly);
}

int TAddressPage::TemplateTab() const {
    return tabs_->currentIndex();
}

void TAddressPage::SetTemplateTab(int tab) {
    tabs_->setCurrentIndex(tab);
}

bool TAddressPage::PhoneFilled(int i) const {
    if (i < 0 || i >= kPhoneFields || TemplateTab() < 0)
        return false;
    return !phones_[i]->text().trimmed().isEmpty();
}

int TAddressPage::TitleWidth() const {
    return names_->sizes().value(0);
}

int TAddressPage::NamePanelWidth() const {
    return names_->sizes().value(0) + names_->sizes().value(1);
}

void TAddressPage::SetPanelWidths(int title, int namePanel) {
    title = std::max(4, title);
    const int initials = std::max(4, namePanel - title);
    const int total = std::max(names_->width(), title + initials + 100);
    names_->setSizes({title, initials, total - title - initials});
}

void TAddressPage::ReadVisibility(TFieldVisibility& visible) const {
    const auto shown = [this](const QWidget* w) { return w->isVisibleTo(this); };
    for (int i = 0; i < 3; ++i)
        visible.Address[i] = shown(nameFields_[i]);
    visible.Address[3] = shown(position_);
    visible.Address[4] = shown(company_);
    visible.Address[5] = structured_ ? shown(lines_[0]) : shown(address_);
    for (int i = 0; i < kPhoneFields; ++i)
        visible.Address[6 + i] = shown(phones_[i]);
}

QWidget* TAddressPage::FocusWidget(TFocusField field) const {
    switch (field) {
    case TFocusField::Title:
        return nameFields_[0];
    case TFocusField::Initials:
        return nameFields_[1];
    case TFocusField::Name:
        return nameFields_[2];
    case TFocusField::Position:
        return position_;
    case TFocusField::Company:
        return company_;
    case TFocusField::Address:
        return structured_ ? static_cast<QWidget*>(lines_[0]) : address_;
    case TFocusField::Phone1:
    case TFocusField::Phone2:
    case TFocusField::Phone3:
    case TFocusField::Phone4:
        return phones_[static_cast<int>(field) - static_cast<int>(TFocusField::Phone1)];
    default:
        return nullptr;
    }
}

} // namespace tessaly

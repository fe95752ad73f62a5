#pragma once
// Page 0 of the book window: the name fields `F_Title`, `F_Initials` and `F_Name` in
// three panels divided by small splitters, the tab set `TabSet` with one tab per
// address template of the entry, and a scroll box with `F_Position`, `F_Company`,
// the address (`F_Address` freeform, or `F_Address_1` to `F_Address_5` structured),
// and `F_Phone1` to `F_Phone4` with their dial buttons `B_Phone1` to `B_Phone4`.

#include "core/book_window/edit_mode.h"

#include <QWidget>
#include <array>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QSplitter;
class QTabBar;

namespace tessaly {

class TBookData;
class TRecord;
struct TSettings;

class TAddressPage : public QWidget {
    Q_OBJECT
public:
    explicit TAddressPage(QWidget* parent = nullptr);

    // Shows the entry: the name fields, the tab set (keeping the tab index, at most the
    // last tab) and the address of the selected tab.
    void Fill(const TRecord& entry, const TBookData& book, const TSettings& settings);
    // Copies the fields the user changed into the entry.
    void Store(TRecord& entry) const;
    void SetReadOnly(bool readOnly);

    // The address index of the tab shown, -1 when the entry has no address.
    int TemplateTab() const;
    void SetTemplateTab(int tab);
    // Whether phone field i (0-3) of the address shown, trimmed, is not empty.
    bool PhoneFilled(int i) const;
    QPushButton* DialButton(int i) const { return dial_[static_cast<std::size_t>(i)]; }
    // The template shown uses the structured address fields.
    bool Structured() const { return structured_; }

    // Panel widths kept in the book: the title panel, and the name panel that holds
    // the title and the first name together.
    int TitleWidth() const;
    int NamePanelWidth() const;
    void SetPanelWidths(int title, int namePanel);

    // Which fields of the page are shown, for the focus placement.
    void ReadVisibility(TFieldVisibility& visible) const;
    // The control of a field of this page, nullptr for another page's field.
    QWidget* FocusWidget(TFocusField field) const;

signals:
    void TemplateTabChanged(int tab);
    // The user changed the text of a field (not the filling of the page).
    void Typed(QWidget* field);
    // Dial button i (0-3) was pressed.
    void DialRequested(int phone);

private:
    void ShowAddress();
    void ClearModified();

    const TRecord* entry_ = nullptr;
    const TBookData* book_ = nullptr;
    const TSettings* settings_ = nullptr;
    bool structured_ = false;
    bool filling_ = false;
    bool settingText_ = false;

    QSplitter* names_ = nullptr;
    std::array<QLabel*, 3> nameLabels_{};
    std::array<QLineEdit*, 3> nameFields_{};
    QTabBar* tabs_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QLabel* positionLabel_ = nullptr;
    QLineEdit* position_ = nullptr;
    QLabel* companyLabel_ = nullptr;
    QLineEdit* company_ = nullptr;
    QLabel* addressLabel_ = nullptr;
    QPlainTextEdit* address_ = nullptr;
    std::array<QLabel*, 5> lineLabels_{};
    std::array<QLineEdit*, 5> lines_{};
    QLabel* stateLabel_ = nullptr;
    std::array<QLabel*, 4> phoneLabels_{};
    std::array<QLineEdit*, 4> phones_{};
    std::array<QPushButton*, 4> dial_{};
};

} // namespace tessaly

#pragma once
// Page 3 of the book window: the six further name fields `F_Others1` to `F_Others6`
// and the entry's three dates with the button "Set to Today's Date & Time".

#include "core/book_window/edit_mode.h"

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tessaly {

class TBookData;
class TRecord;
struct TSettings;

class TOthersPage : public QWidget {
    Q_OBJECT
public:
    explicit TOthersPage(QWidget* parent = nullptr);
    void Fill(const TRecord& entry, const TBookData& book, const TSettings& settings);
    void Store(TRecord& entry) const;
    void SetReadOnly(bool readOnly);
    QPushButton* TodayButton() const { return today_; }
    // The text of date value 0 (created), 1 (updated) or 2 (last telephoned).
    QString DateText(int i) const;
    void ReadVisibility(TFieldVisibility& visible) const;
    QWidget* FocusWidget(TFocusField field) const;

signals:
    void Typed(QWidget* field);

private:
    std::array<QLabel*, 6> labels_{};
    std::array<QLineEdit*, 6> fields_{};
    std::array<QLabel*, 3> dates_{};
    QPushButton* today_ = nullptr;
};

} // namespace tessaly

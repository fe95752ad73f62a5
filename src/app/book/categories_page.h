#pragma once
// Page 5 of the book window: `CatList`, every category of the book sorted by name in
// columns, with the entry's categories ticked. Ticks change only while an entry is
// being edited; otherwise a click puts the tick back.

#include <QWidget>

class QListWidget;
class QMenu;

namespace tessaly {

class TBookData;
class TRecord;

class TCategoriesPage : public QWidget {
    Q_OBJECT
public:
    explicit TCategoriesPage(QWidget* parent = nullptr);
    void Fill(const TRecord& entry, const TBookData& book);
    // Stores the ticked categories as the entry's memberships (when any tick changed).
    void Store(TRecord& entry) const;
    void SetReadOnly(bool readOnly);
    QListWidget* List() const { return list_; }
    QStringList Ticked() const;

signals:
    // A tick changed by the user.
    void Typed(QWidget* field);
    // "Category Maintenance..." from the pop-up.
    void Maintenance();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitColumns();
    void TickAll(bool ticked);

    const TBookData* book_ = nullptr;
    QListWidget* list_ = nullptr;
    QMenu* menu_ = nullptr;
    bool readOnly_ = true;
    bool changed_ = false;
    bool filling_ = false;
};

} // namespace tessaly

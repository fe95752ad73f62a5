#pragma once
// The entry list of a book window (`ListBox`): a list view over the entry-list model
// with the keyboard search by typed prefix, and a right click that first selects the
// entry under the mouse.

#include "core/organise/type_ahead.h"
#include "core/system/clock.h"

#include <QListView>

namespace tessaly {

class TEntryListModel;

class TTessaListBox : public QListView {
    Q_OBJECT
public:
    TTessaListBox(const IClock& clock, QWidget* parent = nullptr);

    void SetEntryModel(TEntryListModel* model);
    int SelectedRow() const;
    // Selects a row and scrolls to it (-1 clears); does not emit EntryChosen.
    void SelectRow(int row);
    int TopRow() const;
    void SetTopRow(int row);
    const TTypeAhead& TypeAhead() const { return typeAhead_; }

signals:
    // The user chose an entry: by click, keys or typing.
    void EntryChosen(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyboardSearch(const QString&) override {} // the prefix search below replaces it

private:
    void Apply(const TTypeAheadResult& r);

    TEntryListModel* model_ = nullptr;
    TTypeAhead typeAhead_;
    bool quiet_ = false;
};

} // namespace tessaly

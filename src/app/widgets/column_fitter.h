#pragma once
// Lists whose texts are not cut: the columns before the one that takes the remaining
// width show their kept widths, widened to their texts; when the list is too narrow
// for that and the texts of the columns that stretch, they take just their texts.
// The fitting is redone whenever the list changes its width.

#include <QObject>
#include <functional>

class QTreeView;

namespace tessaly {

class TColumnFitter : public QObject {
    Q_OBJECT
public:
    // Columns `first` to `last` of `list`; `kept` gives a column's kept width.
    TColumnFitter(QTreeView* list, int first, int last, std::function<int(int column)> kept);

    // After the rows changed.
    void Fit();
    // True while the fitter itself resizes the columns: no user's resize to store.
    bool Fitting() const { return fitting_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeView* list_;
    int first_;
    int last_;
    std::function<int(int)> kept_;
    bool fitting_ = false;
};

} // namespace tessaly

#pragma once
// The parts the catalogue dialogs share: a "&Show:" filter over a list of columns at
// the left, and a column of push buttons at the right.

#include <QPushButton>
#include <QSize>
#include <QStringList>
#include <QVBoxLayout>
#include <string>
#include <vector>

class QComboBox;
class QTreeWidget;

namespace tessaly {

struct TFilteredList {
    QComboBox* Filter = nullptr;
    QTreeWidget* List = nullptr;
};

// Adds the filter caption, its combo box (named "Filter") and the list (named
// `listName`, first column stretched) to `column`.
TFilteredList AddFilteredList(QVBoxLayout* column, const std::vector<std::string>& filterCaptions,
                              const char* listName, const QStringList& headers, QSize minimum);

// A row of a catalogue's list: its texts, and the number that finds its item again.
struct TNumberedRow {
    QStringList Texts;
    int Number;
};

// Lists `rows` with the one numbered `selectNumber` chosen, else the first; the columns
// after the first fit their texts.
void FillNumberedRows(QTreeWidget* list, const std::vector<TNumberedRow>& rows, int selectNumber);

// The number of the row chosen in `list`; `none` when no row is.
int ChosenRowNumber(const QTreeWidget* list, int none);

// Buttons stacked one under the other, each calling its action when clicked.
class TButtonColumn : public QVBoxLayout {
public:
    explicit TButtonColumn(QObject* receiver) : receiver_(receiver) {}

    template <class Action> QPushButton* Add(const char* text, Action action) {
        auto* b = new QPushButton(text);
        QObject::connect(b, &QPushButton::clicked, receiver_, action);
        addWidget(b);
        return b;
    }

private:
    QObject* receiver_;
};

} // namespace tessaly

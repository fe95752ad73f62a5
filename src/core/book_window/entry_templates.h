#pragma once
// "Select Address Templates for Entry": which address templates an entry uses, and in
// which order. The dialog works on a copy of the entry's addresses; removing an
// address with its data is asked first, and at least one must be left.

#include "core/common/dialog_message.h"
#include "core/store/address.h"
#include "core/store/template.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaly {

class TEntryTemplates {
public:
    struct TRow {
        int TemplateId = 0;
        std::string Name;
        bool Selected = false;
    };

    // The rows: the entry's addresses in their order, then every other address
    // template of the book (not marked deleted) in the book's order.
    TEntryTemplates(const TTemplateList& templates, const TAddressList& addresses);

    const std::vector<TRow>& Rows() const { return rows_; }

    // Ticking a row selects it at once. Unticking a row whose address the entry has
    // gives the question to ask first; nothing changes until Deselect is called.
    std::optional<TDialogMessage> DeselectQuestion(int row) const;
    void Select(int row, bool selected);
    // Moves a row one place up or down; false at either end.
    bool MoveUp(int row);
    bool MoveDown(int row);

    // OK: the check that one template is left, or the addresses in the rows' order
    // (an address kept keeps its data; a new one is empty).
    std::optional<TDialogMessage> Check() const;
    TAddressList Result() const;

private:
    const TAddressList& original_;
    std::vector<TRow> rows_;
};

} // namespace tessaly

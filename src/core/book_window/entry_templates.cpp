#include "core/book_window/entry_templates.h"

#include "core/organise/validation.h"

#include <memory>

namespace tessaly {

TEntryTemplates::TEntryTemplates(const TTemplateList& templates, const TAddressList& addresses)
    : original_(addresses) {
    const auto nameOf = [&templates](int id) {
        return templates.TemplateName(templates.FindTemplateById(id));
    };
    for (const auto& a : addresses)
        rows_.push_back({a->TemplateId, nameOf(a->TemplateId), true});
    // Template 0 holds the name fields and is never an address.
    for (int i = 1; i < templates.Count(); ++i) {
        const int id = templates.TemplateId(i);
        if (templates.TemplateDeleted(i) || addresses.FindAddress(id) >= 0)
            continue;
        rows_.push_back({id, templates.TemplateName(i), false});
    }
}

std::optional<TDialogMessage> TEntryTemplates::DeselectQuestion(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || !rows_[row].Selected ||
        original_.FindAddress(rows_[row].TemplateId) < 0)
        return std::nullopt;
    return RemoveAddressQuestion(rows_[row].Name);
}

void TEntryTemplates::Select(int row, bool selected) {
    if (row >= 0 && row < static_cast<int>(rows_.size()))
        rows_[row].Selected = selected;
}

bool TEntryTemplates::MoveUp(int row) {
    if (row <= 0 || row >= static_cast<int>(rows_.size()))
        return false;
    std::swap(rows_[row - 1], rows_[row]);
    return true;
}

bool TEntryTemplates::MoveDown(int row) {
    return MoveUp(row + 1);
}

std::optional<TDialogMessage> TEntryTemplates::Check() const {
    return CheckEntryAddresses(Result());
}

TAddressList TEntryTemplates::Result() const {
    TAddressList out;
    for (const TRow& row : rows_) {
        if (!row.Selected)
            continue;
        const TAddress* kept = original_.At(original_.FindAddress(row.TemplateId));
        out.Add(kept ? std::make_unique<TAddress>(*kept)
                     : std::make_unique<TAddress>(row.TemplateId));
    }
    return out;
}

} // namespace tessaly

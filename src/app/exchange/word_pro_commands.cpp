#include "app/exchange/word_pro_commands.h"

#include "app/book/address_page.h"
#include "app/book/book.h"
#include "app/widgets/frame.h"
#include "app/widgets/message_dialog.h"
#include "core/access/work_record.h"
#include "core/exchange/insertion_text.h"
#include "core/exchange/word_pro.h"
#include "core/exchange/word_pro_link.h"

namespace tessaly {

namespace {

// The text of the entry shown; empty when there is none.
std::string ShownEntryText(TBook& book) {
    TBookData* data = book.Book();
    if (!data || !book.CurrentEntry() || !data->WorkRecord)
        return std::string();
    const TRecord& entry = WorkRecordOf(*data);
    const TAddress* address = entry.Addresses.At(book.AddressPage()->TemplateTab());
    const TTemplate* tmpl = address ? data->Templates.TemplateOfId(address->TemplateId) : nullptr;
    return InsertionText(*data, entry, address, tmpl);
}

void Report(const std::optional<TDialogMessage>& message) {
    if (message)
        ShowMessage(*message);
}

} // namespace

void InsertIntoWordProcessor(TBook& book) {
    IFrame& frame = book.Frame();
    if (!book.CurrentEntry() || !frame.WordProcessors().WordProcessorDefined())
        return;
    Report(tessaly::InsertIntoWordProcessor(frame.WordProDesktop(), frame.WordProcessors(),
                                            ShownEntryText(book)));
}

void InsertToClipboard(TBook& book) {
    if (!book.CurrentEntry())
        return;
    Report(CopyEntryToClipboard(book.Frame().WordProDesktop(), ShownEntryText(book)));
}

} // namespace tessaly

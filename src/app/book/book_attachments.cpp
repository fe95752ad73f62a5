// The book window's "Attac&hments" commands: the attachment controller wired to the
// window's entry, lock, edit mode and frame.

#include "app/attachments/attachment_commands.h"
#include "app/book/address_page.h"
#include "app/book/attachments_page.h"
#include "app/book/book.h"
#include "app/dial/dial_command.h"
#include "app/widgets/frame.h"
#include "app/widgets/message_dialog.h"
#include "core/access/work_record.h"
#include "core/attachments/launch.h"
#include "core/common/file_paths.h"
#include "core/frame/hand_over.h"
#include "core/store/book.h"
#include "platform/qt_text.h"

namespace tessaly {

void TBook::CreateAttachmentCommands() {
    TAttachmentHost host;
    host.Book = [this] { return book_.get(); };
    host.AttachmentsPageShown = [this] { return CurrentPage() == 4; };
    host.ReadOnly = [this] { return readOnly_; };
    host.Editing = [this] { return !edit_.Viewing(); };
    host.HasEntry = [this] { return SelectedEntry() != nullptr; };
    host.StartNewEntry = [this] { StartAdding(); };
    host.ApplyAtOnce = [this] { ApplyWorkRecordNow(); };
    host.OpenInProgram = [this](const std::string& path) {
        // The same route as a file handed over by a second copy of the program.
        THandOver h;
        h.Path = path;
        h.Kind = FileKindOf(path);
        Frame().HandOver(h);
    };
    host.BrowserPath = [this] { return Frame().BrowserPath(); };
    host.Formats = [this]() -> const TFormatSettings& { return Frame().Settings().FormatSettings; };
    attachmentCommands_ = new TAttachmentCommands(this, attachments_, Frame().Access(),
                                                  Frame().Desktop(), std::move(host));
}

void TBook::PhoneButtonPressed(int phone) {
    const TAddress* address =
        book_ ? WorkRecordOf(*book_).Addresses.At(address_->TemplateTab()) : nullptr;
    const TTemplate* tmpl = address ? book_->Templates.TemplateOfId(address->TemplateId) : nullptr;
    if (!tmpl || tmpl->ButtonKind(phone) != kButtonMail) {
        DialField(*this, phone);
        return;
    }
    const TUrlCheck mail = MailtoUrl(address->Field(kFirstPhoneField + phone));
    const auto failure = mail.Ok ? OpenInBrowser(Frame().BrowserPath(), mail.Url, Frame().Desktop())
                                 : std::optional(UrlRefusalMessage(mail));
    if (failure)
        ShowMessage(*failure);
}

void TBook::ApplyWorkRecordNow() {
    if (!edit_.Viewing())
        return; // the edit in progress carries the change
    edit_.StartUpdating(true);
    shownPage_ = -1; // the work record already holds the change
    ApplyEdit();
}

} // namespace tessaly

#include "app/attachments/attachment_commands.h"

#include "app/attachments/attachment_dialog.h"
#include "app/attachments/attachment_properties_dialog.h"
#include "app/attachments/remove_attachment_dialog.h"
#include "app/book/attachments_page.h"
#include "app/widgets/message_dialog.h"
#include "core/attachments/attachment_commands.h"
#include "core/attachments/attachment_form.h"
#include "core/attachments/launch.h"
#include "core/store/book.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace tessaly {

TAttachmentCommands::TAttachmentCommands(QWidget* window, TAttachmentsPage* page,
                                         TSettingsAccess& settings, IDesktop& desktop,
                                         TAttachmentHost host)
    : QObject(window), window_(window), page_(page), settings_(settings), desktop_(desktop),
      host_(std::move(host)) {
    menu_ = new QMenu("Attac&hments", window);
    menu_->setObjectName("AttachmentsMenu");
    add_ = menu_->addAction("&Add Attachment...", this, &TAttachmentCommands::Add);
    edit_ = menu_->addAction("&Edit Attachment...", this, &TAttachmentCommands::Edit);
    remove_ = menu_->addAction("&Remove Attachment...", this, &TAttachmentCommands::Remove);
    menu_->addSeparator();
    open_ = menu_->addAction("O&pen Attachment...", this, &TAttachmentCommands::Open);
    properties_ = menu_->addAction("Proper&ties...", this, &TAttachmentCommands::Properties);
    menu_->addSeparator();
    auto* sortGroup = new QActionGroup(this);
    byDescription_ =
        menu_->addAction("View by Des&cription", this, [this] { SetByDescription(true); });
    byFileName_ =
        menu_->addAction("View by &File Name / URL", this, [this] { SetByDescription(false); });
    for (QAction* a : {byDescription_, byFileName_}) {
        a->setCheckable(true);
        sortGroup->addAction(a);
    }
    menu_->addSeparator();
    auto* viewGroup = new QActionGroup(this);
    const char* viewCaptions[4] = {"Large &Icons", "&Small Icons", "&List", "&Detail"};
    for (int style = 0; style < 4; ++style) {
        views_[style] =
            menu_->addAction(viewCaptions[style], this, [this, style] { SetViewStyle(style); });
        views_[style]->setCheckable(true);
        viewGroup->addAction(views_[style]);
    }
    connect(menu_, &QMenu::aboutToShow, this, &TAttachmentCommands::Refresh);

    popup_ = new QMenu(window);
    popup_->addActions(menu_->actions());
    connect(popup_, &QMenu::aboutToShow, this, &TAttachmentCommands::Refresh);
    connect(page_, &TAttachmentsPage::MenuRequested, this,
            [this](const QPoint& at) { popup_->popup(at); });
    connect(page_, &TAttachmentsPage::OpenRequested, this, [this] {
        Refresh();
        if (open_->isEnabled())
            Open();
    });
    // The Delete key in the attachment list is "&Remove Attachment...".
    auto* removeKey = new QAction(page_);
    removeKey->setShortcut(QKeySequence(Qt::Key_Delete));
    removeKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    page_->addAction(removeKey);
    connect(removeKey, &QAction::triggered, this, [this] {
        Refresh();
        if (remove_->isEnabled())
            Remove();
    });
    Refresh();
}

void TAttachmentCommands::Refresh() {
    const TBookData* book = host_.Book();
    TAttachmentMenuInput in;
    in.AttachmentsPageShown = host_.AttachmentsPageShown();
    in.ReadOnly = host_.ReadOnly();
    in.HasSelection = page_->SelectedAttachment() >= 0;
    if (book) {
        in.ByDescription = book->AttachmentsByDescription != 0;
        in.ViewStyle = book->AttachmentView;
    }
    const TAttachmentMenuState s = AttachmentMenuState(in);
    add_->setEnabled(s.Add && book);
    edit_->setEnabled(s.Edit && book);
    remove_->setEnabled(s.Remove && book);
    open_->setEnabled(s.Open && book);
    properties_->setEnabled(s.Properties && book);
    byDescription_->setChecked(s.ByDescriptionChecked);
    byFileName_->setChecked(s.ByFileNameChecked);
    for (int style = 0; style < 4; ++style)
        views_[style]->setChecked(s.ViewChecked[static_cast<std::size_t>(style)]);
}

void TAttachmentCommands::Changed(int select) {
    TBookData* book = host_.Book();
    if (!host_.Editing())
        host_.ApplyAtOnce();
    page_->Fill(*book->WorkRecord, *book);
    page_->SelectAttachment(select);
}

void TAttachmentCommands::Add() {
    if (!host_.Editing() && !host_.HasEntry())
        host_.StartNewEntry();
    TBookData* book = host_.Book();
    if (!book || !book->WorkRecord)
        return;
    TAttachmentDlg dlg(settings_, desktop_, nullptr, window_);
    if (dlg.exec() != QDialog::Accepted)
        return;
    TDocumentList& list = book->WorkRecord->Attachments;
    const int before = list.Count();
    if (AppendToWorkRecord(dlg.Result()))
        Changed(before);
}

bool TAttachmentCommands::AppendToWorkRecord(const TDocument& d) {
    TBookData* book = host_.Book();
    if (!book || !book->WorkRecord)
        return false;
    TDocumentList& list = book->WorkRecord->Attachments;
    const std::string_view description = TextValue(d.Description);
    const std::string_view target = TextValue(d.FileName);
    TAddAttachmentResult added = list.AddAttachment(description, target, d.IsDocument != 0);
    if (added.NeedsAnswer) {
        const int answer = ShowMessage(TDialogMessage{kMsgTitleAttachmentManagement, added.Question,
                                                      kMsgKindConfirmation, kMsgButtonsYesNo});
        added = list.AddAttachment(description, target, d.IsDocument != 0,
                                   answer == mrYes ? TDuplicateAnswer::Yes : TDuplicateAnswer::No);
    }
    return added.Index >= 0;
}

void TAttachmentCommands::Edit() {
    TBookData* book = host_.Book();
    const int index = page_->SelectedAttachment();
    if (!book || index < 0)
        return;
    TDocumentList& list = book->WorkRecord->Attachments;
    TAttachmentDlg dlg(settings_, desktop_, list.At(index), window_);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const TDocument d = dlg.Result();
    list.SetDescriptionAt(index, TextValue(d.Description));
    list.SetFileNameAt(index, TextValue(d.FileName));
    list.SetIsDocumentAt(index, d.IsDocument != 0);
    Changed(index);
}

void TAttachmentCommands::Remove() {
    TBookData* book = host_.Book();
    const int index = page_->SelectedAttachment();
    if (!book || index < 0)
        return;
    TDocumentList& list = book->WorkRecord->Attachments;
    TRemoveAttachmentDlg dlg(*list.At(index), window_);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const TRemoveAttachmentOutcome outcome =
        RemoveAttachmentFile(*list.At(index), dlg.DeleteDiskFile(), desktop_);
    if (outcome.Message)
        ShowMessage(*outcome.Message);
    if (!outcome.RemoveAttachment)
        return;
    list.Delete(index);
    Changed(index);
}

void TAttachmentCommands::Open() {
    const TBookData* book = host_.Book();
    const int index = page_->SelectedAttachment();
    if (!book || index < 0)
        return;
    TDocumentOpenHooks hooks;
    hooks.OpenInProgram = host_.OpenInProgram;
    hooks.Ask = [](const TDialogMessage& q) { return ShowMessage(q) == mrYes; };
    const auto failure = OpenAttachment(*book->WorkRecord->Attachments.At(index),
                                        host_.BrowserPath(), desktop_, hooks);
    if (failure)
        ShowMessage(*failure);
}

void TAttachmentCommands::Properties() {
    const TBookData* book = host_.Book();
    const int index = page_->SelectedAttachment();
    if (!book || index < 0)
        return;
    TAttachmentPropertiesDlg dlg(*book->WorkRecord->Attachments.At(index), desktop_,
                                 host_.BrowserPath(), host_.Formats(), window_);
    dlg.exec();
}

void TAttachmentCommands::SetByDescription(bool byDescription) {
    TBookData* book = host_.Book();
    if (!book)
        return;
    const int selected = page_->SelectedAttachment();
    book->AttachmentsByDescription = byDescription ? 1 : 0;
    page_->Fill(*book->WorkRecord, *book);
    page_->SelectAttachment(selected);
}

void TAttachmentCommands::SetViewStyle(int style) {
    TBookData* book = host_.Book();
    if (!book)
        return;
    const int selected = page_->SelectedAttachment();
    book->AttachmentView = static_cast<std::int16_t>(style);
    page_->Fill(*book->WorkRecord, *book);
    page_->SelectAttachment(selected);
}

} // namespace tessaly

#pragma once
// TBook: the window of one open address book. On the left the entry list, ordered by
// the index keys and restricted by the active search; on the right the six entry
// pages of the current entry; the lock state, saving, and the re-reading of a locked
// book whose file another copy of the program changed.

#include "app/widgets/child_window.h"
#include "core/book_window/command_state.h"
#include "core/book_window/edit_mode.h"
#include "core/common/dialog_message.h"
#include "core/store/book.h"
#include "core/system/clock.h"

#include <QDateTime>
#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QMimeData;
class QDropEvent;
class QSplitter;
class QTabWidget;

namespace tessaly {

struct TPrintSource;

class TAddressPage;
class TAttachmentsPage;
class TCategoriesPage;
class TEntryListDelegate;
class TEntryListModel;
class TNotesPage;
class TOthersPage;
class TRemindersPage;
class TAttachmentCommands;
class TTessaListBox;

class TBook : public TChildWindow {
    Q_OBJECT
public:
    static constexpr int kPages = 6;

    // Loads (mustExist) or creates the book; Book() is null when that failed, after the
    // reason was shown.
    TBook(IFrame& frame, const QString& path, bool mustExist, bool readOnly,
          const IClock& clock = SystemClock::Instance());
    ~TBook() override;

    TBookData* Book() const { return book_.get(); }
    bool EventSource(TEventSource& source) const override;
    // The entry the working copy was taken from; null while a new entry is added.
    TRecord* CurrentEntry() const { return current_; }
    bool ReadOnly() const { return readOnly_; }
    int EditMode() const { return edit_.Mode(); }

    // Writes the book (nothing when read-only). A failed write is reported, leaves the
    // book modified and locks the window.
    bool Save(bool closing);
    void BuildEntryList();
    void ShowCurrentEntry();
    // Edit mode changes come from the editing commands; the fields follow the mode.
    void SetEditMode(int mode);
    void UpdateCommandState();
    const TCommandState& CommandState() const { return state_; }
    // "Lock Address &Book" / "Un&lock Address Book".
    void ToggleLock();
    // Records a change of the book; saves it when the automatic-save count is reached.
    void RecordChange();
    // "&Tag Entry" / "Remove &Tag" (also a double click on the list): not a change of
    // the book, but the auto-save check runs.
    void ToggleTag();
    // "I&mport..." and "&Export...": the data-exchange wizards on this book.
    void ImportData();
    void ExportData();
    // "&Print...": the print wizard on the index list and the selected entry.
    void PrintEntries();
    // The tool bar's "Print First Linked Quick Report" (0) and "Print Second..." (1).
    void PrintLinked(int link);
    // What a print run of this window prints from.
    TPrintSource PrintSource() const;
    bool RecordsToPrint(TPrintSource& source) const override;

    // ---- editing (menu "&Edit", the list's pop-up, the tool bar, keys) ----
    void StartAdding();
    void StartUpdating();
    void ApplyEdit();
    void CancelEdit();
    // The Delete key in the list, "Delete Entry".
    void DeleteSelectedEntry();
    // "&Delete Entries..." with its dialog.
    void DeleteEntries();
    void UndoLast();
    void DuplicateEntry();
    void CopyEntry();
    void PasteEntry();
    // "Set to Today's Date & Time".
    void SetLastCalledNow();
    // "&Add Timestamp".
    void AddTimestamp();
    void FindEntryWithText();
    void FindNextEntry();
    // "Apply Tags to &Entries..." (removing false) and "&Remove Tags from Entries...".
    void TagEntries(bool removing);
    void ShowBookInfo();
    // "Select Address &Templates for Entry...".
    void SelectEntryTemplates();
    void SaveAs();
    void RemoveActiveSearch();
    // ---- the book's own dialogs (book_dialogs.cpp) ----
    // "&Search Address Book..." (F10): the search dialog; OK rebuilds the list.
    void SearchAddressBook();
    // "Configure &Address Book...": the book options; OK renames the pages, rebuilds
    // the list (unless editing) and lays the fields out again.
    // Returns whether OK closed it.
    bool ConfigureBook(int page = 0);
    // "Select Index &Keys for Entry...": the entry's keys, applied when they changed;
    // its "&Index Keys" opens the book options on their index-key page.
    void SelectEntryKeys();
    // "&Find Text..." and "Find and &Replace Text..." on the Notes.
    void FindInNotes(bool replace);
    // Files dropped on the current entry.
    void DropFiles(const QStringList& paths);

    // "Export vCards...": the listed entries, in list order, as vCards in a file, of
    // the version chosen first (3.0 or 4.0, kept in the settings).
    void ExportVCards();
    // "Import vCards...": a file's cards added as new entries.
    void ImportVCards();
    // The cards of a file added as new entries, each with an undo record, the list
    // rebuilt on the first of them; the number added. Refused (0) while the book is
    // locked or an entry is being edited.
    int ImportVCardFile(const QString& file);
    // Where the two vCard commands get their file names; tests put their own here.
    static std::function<QString(QWidget* parent, const QString& directory,
                                 const QString& suggested)>
        VCardExportChooser;
    static std::function<QString(QWidget* parent, const QString& directory)> VCardImportChooser;

    // "Synchronise with Server...": the sync dialog on this book.
    void SynchroniseWithServer();
    // A round with the server is about to work on the file: the book's changes are
    // saved and the window refuses changes until EndServerSync. False (nothing held)
    // when that cannot be now: locked, editing, or the save failed. A round of the
    // timer (`quietly`) asks nothing: a book changed here and by another writer waits.
    bool BeginServerSync(bool quietly = false);
    // The round ended: changes are allowed again, and the book is read again when the
    // round changed its file.
    void EndServerSync();
    bool ServerSyncHeld() const { return syncHeld_; }
    QAction* ServerSyncAction() const { return serverSyncAction_; }

    // Where "Save &as..." gets its file name; tests put their own chooser here.
    static std::function<QString(QWidget* parent, const QString& directory, const QString& current)>
        SaveAsChooser;
    // ---- the current entry's reminders (book_reminders.cpp) ----
    // "&Add Event..." (also "Add Reminder..." of the list's pop-up): a new reminder for
    // today on the working entry, a new entry first when none is selected.
    void AddReminder();
    void EditSelectedReminder();
    void ViewSelectedReminder();
    void AcknowledgeSelectedReminder();
    void DeleteSelectedReminder();

    // Message 1024: shows the entry's reminder (the entry is listed on request).
    bool GoToReminder(TRecord* entry, const TReminders* reminder);

    // The entry list and the pages, for the frame and the tests.
    TTessaListBox* ListBox() const { return list_; }
    TEntryListModel* EntryModel() const { return model_; }
    QTabWidget* Tabs() const { return tabs_; }
    int CurrentPage() const;
    void ShowPage(int page);
    TAddressPage* AddressPage() const { return address_; }
    TRemindersPage* RemindersPage() const { return reminders_; }
    TCategoriesPage* CategoriesPage() const { return categories_; }
    TOthersPage* OthersPage() const { return others_; }
    TNotesPage* NotesPage() const { return notes_; }
    TAttachmentsPage* AttachmentsPage() const { return attachments_; }
    QAction* LockAction() const { return lockAction_; }
    QAction* PageAction(int page) const { return pageActions_[static_cast<std::size_t>(page)]; }
    QList<QMenu*> WindowMenus() const override;

    bool QueryClose() override;
    bool RunCommand(const QString& hint) override;
    void Synchronise() override;
    bool ShowReminder(const TEventRef& ref) override;
    bool UpdateInProgress() const override { return !edit_.Viewing(); }
    void Activated() override;
    void ApplyDisplaySettings() override;
    void ApplyScreenFont(const QFont& font) override;

protected:
    void CloseFile() override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Scrolls the field box of the Address or Others page by `step` units.
    void ScrollFields(int step);
    // Saves under the writers' lock of the book file; `force` overwrites a file that
    // another writer changed since it was read.
    bool WriteBook(bool closing, QString* error, bool force = false);
    // The write that tells whether a book opened from its file can be saved; the
    // window is locked when it fails.
    void TestWriteAfterOpening();
    bool ChangedOnDisk() const;
    // Reads the book again from its file, keeping the view state; false (the book shown
    // is kept) when it could not be read.
    bool ReReadBook();
    void ApplyLockState(bool requestedReadOnly);
    void SetCaption();
    void CreateControls();
    void CreateMenus();
    void RestoreView();
    // The six tabs and their "&View" items from the book's page labels.
    void NamePages();
    // The pop-ups of the template tabs and of the Categories page (book_dialogs.cpp).
    void CreateDialogMenus();
    // After a maintenance dialog opened from a page: when viewing, the entry is applied
    // as an update and shown again.
    void ApplyShownEntry();
    // The book options dialog on `page`; OK applies it to the book (and its defaults
    // file when asked). Returns whether it was applied.
    bool RunBookOptions(int page);
    // The window follows the applied options: pages renamed, the list rebuilt (unless
    // an edit is in progress), the fields laid out again.
    void AfterBookOptions();
    void StoreView();
    void SelectAfterBuild(int row, int top);
    void StorePage(int page);
    // Says once which characters typed into the working entry the book's code page
    // cannot keep (they are stored as '?'), then forgets them.
    void TellLostCharacters();
    void FillPage(int page);
    void LayoutFields();
    void UpdateStatus();
    void ShowIndicator(const char* name, bool on);
    void RefreshFileMenu();
    TRecord* SelectedEntry() const;
    // A drop of .vcf files on the entry list imports them; false for any other drop.
    bool DropVCards(QDropEvent* event);
    static bool HoldsVCards(const QMimeData* data);

    void CreateAttachmentCommands();
    // A button beside a telephone field: mail for an e-mail field, else dialling.
    void PhoneButtonPressed(int phone);
    // Stores a change made to the shown entry's lists (attachments, dropped files) in the
    // book at once, as an update applied without editing.
    void ApplyWorkRecordNow();
    // Editing helpers.
    void CreateEditMenu();
    void CreateListMenu();
    void Typed(QWidget* field, bool forceFastEdit = false);
    void ShowWorkRecord();
    void PlaceFocus();
    void AfterEntriesChanged(int selectRow);
    // After a reminder dialog changed the working entry: applied as an update when no
    // edit is in progress, the list refilled with `row` selected (clamped).
    void AfterReminderChange(int row);
    void AutoSaveCheck();
    void RemoveListedEntry(TRecord* entry);
    void FinishFind(int found);
    void UpdateEditActions(const TCommandInputs& in);
    bool ToolCommandEnabled(const QString& hint) const;
    bool RunEditCommand(const QString& hint);
    int Show(const TDialogMessage& message);
    // Whether one more entry may be added; when the book is full it says so.
    bool RoomForAnotherEntry();
    const IClock& clock_;
    std::unique_ptr<TBookData> book_;
    TRecord* current_ = nullptr; // the entry the working copy was taken from
    bool readOnly_ = false;
    bool testWritePending_ = false; // the write after opening has not run yet
    TEditMode edit_;
    bool closing_ = false;
    bool shownOnce_ = false;
    bool savedAtClose_ = false;
    bool syncHeld_ = false; // a round with the server works on the file
    int shownPage_ = -1;
    QString lostCharacters_; // typed into the working entry, stored as '?'
    TCommandState state_;

    TEntryListModel* model_ = nullptr;
    TEntryListDelegate* delegate_ = nullptr;
    TTessaListBox* list_ = nullptr;
    QSplitter* splitter_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    TAddressPage* address_ = nullptr;
    TNotesPage* notes_ = nullptr;
    TRemindersPage* reminders_ = nullptr;
    TOthersPage* others_ = nullptr;
    TAttachmentsPage* attachments_ = nullptr;
    TAttachmentCommands* attachmentCommands_ = nullptr;
    TCategoriesPage* categories_ = nullptr;

    QMenu* fileMenu_ = nullptr;
    QMenu* viewMenu_ = nullptr;
    QMenu* toolsMenu_ = nullptr;
    QMenu* notesMenu_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* listMenu_ = nullptr;
    QAction* addAction_ = nullptr;
    QAction* updateAction_ = nullptr;
    QAction* applyAction_ = nullptr;
    QAction* cancelAction_ = nullptr;
    QAction* deleteEntriesAction_ = nullptr;
    QAction* deleteEntryAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* copyAction_ = nullptr;
    QAction* pasteAction_ = nullptr;
    QAction* duplicateAction_ = nullptr;
    QAction* findAction_ = nullptr;
    QAction* findNextAction_ = nullptr;
    QAction* applyTagsAction_ = nullptr;
    QAction* removeTagsAction_ = nullptr;
    QAction* importVCardsAction_ = nullptr;
    QAction* serverSyncAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* removeSearchAction_ = nullptr;
    QAction* timestampAction_ = nullptr;
    QAction* templatesAction_ = nullptr;
    QAction* keysAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* lockAction_ = nullptr;
    QAction* importAction_ = nullptr;
    QAction* exportAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* reportsAction_ = nullptr;
    QAction* tagAction_ = nullptr;
    QAction* addReminderAction_ = nullptr;
    QAction* dialAction_ = nullptr;
    QAction* callLogAction_ = nullptr;
    QAction* insertAction_ = nullptr;
    QAction* clipboardAction_ = nullptr;
    std::array<QAction*, kPages> pageActions_{};
};

// Opens the book (mustExist) or creates it in a new window for the frame; nullptr when
// it could not be loaded or created (the window has reported why).
TChildWindow* CreateBookWindow(IFrame& frame, const QString& path, bool mustExist, bool readOnly);

} // namespace tessaly

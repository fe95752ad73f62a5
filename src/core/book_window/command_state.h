#pragma once
// Which commands of a book window are open to the user, decided from the window's
// state alone: the lock, the edit mode, the entry list and the current entry. The
// window applies the answer to its tool-bar buttons, menus and controls.

#include <array>
#include <string>

namespace tessaly {

// Edit modes of a book window.
constexpr int kEditViewing = 0;
constexpr int kEditAdding = 1;
constexpr int kEditUpdating = 2;

struct TCommandInputs {
    bool ReadOnly = false;
    int EditMode = kEditViewing;
    int ListCount = 0;          // items in the entry list
    bool EntrySelected = false; // an item of the list is selected
    bool EntryTagged = false;   // the selected entry is tagged
    bool UndoAvailable = false; // the book has an undo record
    bool Modified = false;      // the book has unsaved changes
    bool HasEntries = false;    // the book holds entries (whether listed or not)
    bool WordProcessorDefined = false;
    bool TemplateTabSelected = false;
    // The four phone fields of the address shown, trimmed, are not empty.
    std::array<bool, 4> PhoneFilled{};
    int Page = 0; // the entry page shown
};

struct TCommandState {
    bool AcceptDrops = false;
    bool InsertToWordProcessor = false;
    bool UpdateEntry = false;
    bool DeleteEntry = false;
    bool DuplicateEntry = false;
    bool AddEntry = false;
    bool ApplyUpdate = false;
    bool CancelUpdate = false;
    bool SaveAs = false;
    bool PrintLinks = false;
    bool Search = false;
    bool RemoveSearch = false;
    bool Undo = false;
    bool DefineIndexKeys = false;
    bool SelectTemplates = false;
    std::array<bool, 4> Phone{};
    bool DialNumber = false;
    bool ListEnabled = true;
    // "&File"
    bool LockBook = false;
    bool Save = false;
    bool PrintAndExport = false; // "&Export...", "&Print...", "&Quick Reports..."
    bool Import = false;
    // "&Tools"
    bool ConfigureBook = false;
    bool TagCommands = false; // "&Tag Entry", "Apply Tags...", "Remove Tags..."
    bool InsertToClipboard = false;
    bool InsertMenu = false; // "&Insert into Word Processor"
    bool DialMenu = false;   // "&Dial Number..."
    bool CallLog = false;    // "Telephone Call &Log...": an entry is shown
    bool RemindersMenu = false;
    bool CategoryCommands = false;
    // "Remove &Tag" for a tagged entry, else "&Tag Entry".
    std::string TagCaption;
};

// Every enabling rule of the book window in one place.
TCommandState UpdateCommandState(const TCommandInputs& in);

} // namespace tessaly

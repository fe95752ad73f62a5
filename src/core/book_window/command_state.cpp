#include "core/book_window/command_state.h"

namespace tessaly {

TCommandState UpdateCommandState(const TCommandInputs& in) {
    TCommandState s;
    const bool viewing = in.EditMode == kEditViewing;
    const bool writable = !in.ReadOnly;
    const bool listed = in.ListCount > 0;

    s.AcceptDrops = writable && in.EntrySelected;
    s.InsertToWordProcessor = listed && viewing && in.WordProcessorDefined;
    s.UpdateEntry = listed && viewing && writable;
    s.DeleteEntry = s.UpdateEntry;
    s.DuplicateEntry = s.UpdateEntry;
    s.AddEntry = viewing && writable;
    s.ApplyUpdate = !viewing;
    s.CancelUpdate = !viewing;
    s.SaveAs = viewing;
    s.PrintLinks = viewing;
    s.Search = viewing;
    s.RemoveSearch = viewing;
    s.Undo = in.UndoAvailable && viewing && writable;
    s.DefineIndexKeys = s.UpdateEntry || s.CancelUpdate;
    s.SelectTemplates = s.DefineIndexKeys;

    bool anyPhone = false;
    for (std::size_t i = 0; i < s.Phone.size(); ++i) {
        s.Phone[i] = viewing && in.TemplateTabSelected && in.PhoneFilled[i];
        anyPhone = anyPhone || (in.TemplateTabSelected && in.PhoneFilled[i]);
    }
    s.DialNumber = anyPhone;
    s.ListEnabled = viewing;

    s.LockBook = viewing;
    s.Save = in.Modified;
    s.PrintAndExport = in.HasEntries && viewing;
    s.Import = writable && viewing;
    s.ConfigureBook = writable;
    s.TagCommands = in.EntrySelected && viewing;
    s.TagCaption = in.EntrySelected && in.EntryTagged ? "Remove &Tag" : "&Tag Entry";
    s.InsertToClipboard = listed && viewing;
    s.InsertMenu = s.InsertToWordProcessor && viewing;
    s.DialMenu = s.DialNumber && viewing;
    s.CallLog = listed;
    s.RemindersMenu = in.Page == 2;
    s.CategoryCommands = writable;
    return s;
}

} // namespace tessaly

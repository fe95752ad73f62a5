#include "core/access/work_record.h"

#include "core/store/book_file.h"
#include "core/store/stamp.h"

namespace tessaly {

TRecord& WorkRecordOf(TBookData& book) {
    if (!book.WorkRecord)
        NewWorkRecord(book);
    return *book.WorkRecord;
}

bool LoadWorkRecord(TBookData& book, int i) {
    const TRecord* entry = book.Entries.At(i);
    if (!entry)
        return false;
    AssignEntry(WorkRecordOf(book), *entry, false);
    return true;
}

void SetWorkRecordStampNow(TBookData& book) {
    WorkRecordOf(book).Stamp = NewStamp();
}

void SetWorkRecordLastCalledNow(TBookData& book, const IClock& clock) {
    WorkRecordOf(book).LastCalled = clock.Now();
}

bool WorkRecordInCategory(const TBookData& book, std::string_view categoryName) {
    const int c = book.Categories.FindCategoryByName(categoryName);
    if (!book.WorkRecord || c < 0)
        return false;
    return book.WorkRecord->CategoriesInUse.FindMembership(book.Categories.CategoryId(c)) >= 0;
}

namespace {

const TLog* WorkLog(const TBookData& book, int i) {
    return book.WorkRecord ? book.WorkRecord->CallLogs.At(i) : nullptr;
}

} // namespace

std::string WorkLogNumber(const TBookData& book, int i) {
    const TLog* log = WorkLog(book, i);
    return log ? log->Number.str() : std::string(kNoCallLogText);
}

std::string WorkLogComment(const TBookData& book, int i) {
    const TLog* log = WorkLog(book, i);
    return log ? log->Comment.str() : std::string(kNoCallLogText);
}

int PhoneButtonKind(const TBookData& book, const TRecord& entry, int address, int field) {
    if (field < kFirstPhoneField || field > kLastPhoneField)
        return kButtonNone;
    const TTemplate* t = book.Templates.TemplateOfId(entry.Addresses.AddressTemplateId(address));
    return t ? t->ButtonKind(field - kFirstPhoneField) : kButtonNone;
}

std::string_view PhoneButtonBitmap(int kind) {
    switch (kind) {
    case kButtonDial:
        return kDialButtonsBitmap;
    case kButtonMail:
        return kMailButtonsBitmap;
    default:
        return kNoButtonsBitmap;
    }
}

} // namespace tessaly

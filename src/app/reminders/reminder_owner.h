#pragma once
// Whose reminder a dialog shows: a book entry's (captioned with the book's name) or a
// diary's event (captioned with the diary's file name in upper case).

#include <QString>

namespace tessaly {

struct TReminderOwner {
    QString Name;
    bool Diary = false;
};

} // namespace tessaly

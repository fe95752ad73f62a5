#pragma once
// "Telephone Call &Log..." (F2) of a book window: the call log dialog for the current
// entry. Changes made there go into the entry's working copy; when no edit is in
// progress they are applied to the entry at once.

namespace tessaly {

class TBook;

void ShowCallLog(TBook& book);

} // namespace tessaly

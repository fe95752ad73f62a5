#pragma once
// The book window's "&Insert into Word Processor" and "Insert to &Windows Clipboard":
// the current entry, with the address of the template tab shown, sent as the book's
// insertion text to the selected word processor or to the clipboard.

namespace tessaly {

class TBook;

void InsertIntoWordProcessor(TBook& book);
void InsertToClipboard(TBook& book);

} // namespace tessaly

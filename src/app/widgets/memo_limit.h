#pragma once
// A memo that takes no more than a number of characters: what is typed or pasted
// beyond them is cut off as it arrives.

class QPlainTextEdit;

namespace tessaly {

void LimitMemo(QPlainTextEdit* memo, int characters);

} // namespace tessaly

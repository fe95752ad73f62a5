#pragma once
// The printing system's paper codes (1 Letter, 9 A4, 20 envelope #10, 27 envelope DL,
// 256 a size of the user's own, ...) to and from Qt's page sizes: the one place where
// a paper of the catalogue becomes a page of a printer or a PDF, and back.

#include <QPageSize>

namespace tessaly {

constexpr int kCustomPaperCode = 256;

// The page of a paper code; a code Qt does not know, and 256, take the paper's own
// size in millimetres (width across, height down, as the paper is described).
QPageSize PageSizeForPaperCode(int code, double widthMm, double heightMm);
// The paper code of a page size; 256 for one without a code of its own.
int PaperCodeOfPageSize(const QPageSize& size);

} // namespace tessaly

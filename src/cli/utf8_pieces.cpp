#include "cli/utf8_pieces.h"

#include "core/common/codepage.h"

namespace tessaly {

TUtf8Pieces::TUtf8Pieces(std::ostream& out) : out_(out) {
    text_.reserve(kPiece + (kPiece >> 4));
    utf8_.reserve(2 * text_.capacity());
}

void TUtf8Pieces::Write() {
    utf8_.clear();
    AppendCp1252AsUtf8(utf8_, text_);
    out_.write(utf8_.data(), static_cast<std::streamsize>(utf8_.size()));
    text_.clear();
}

} // namespace tessaly

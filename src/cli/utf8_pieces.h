#pragma once
// Output written a piece at a time: the lines are built in Windows-1252 into one
// buffer, turned into UTF-8 in another, and written, the two used over and over. A
// stream write per line costs more than building it, and one text of the whole
// output, twice over with its UTF-8, would be fresh memory to touch.

#include <cstddef>
#include <ostream>
#include <string>

namespace tessaly {

class TUtf8Pieces {
public:
    explicit TUtf8Pieces(std::ostream& out);
    TUtf8Pieces(const TUtf8Pieces&) = delete;
    TUtf8Pieces& operator=(const TUtf8Pieces&) = delete;

    // Where the next lines are added.
    std::string& Text() { return text_; }
    // Writes what was added once it makes a piece.
    void Written() {
        if (text_.size() >= kPiece)
            Write();
    }
    // Writes the rest.
    void Write();

    static constexpr std::size_t kPiece = std::size_t{64} << 10;

private:
    std::ostream& out_;
    std::string text_;
    std::string utf8_;
};

} // namespace tessaly

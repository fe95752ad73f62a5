// Reads arbitrary text as the JSON that `load` and `add` take: it is refused with a
// BookJsonError or read. A book that reads writes a book file that reads back and
// writes the same bytes; an object also goes through the merge `add` makes with a new
// entry.

#include "cli/book_json.h"
#include "core/store/book_file.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tessaly;
    const std::string text(reinterpret_cast<const char*>(data), size);
    TJson json;
    try {
        json = ParseJsonText(text);
    } catch (const BookJsonError&) {
        return 0;
    }
    // `load`: the whole book.
    try {
        auto book = BookFromJson(json);
        const auto image = WriteBookImage(*book);
        TLoadResult back = ParseBookImage(image, TStoreSettings(), "FUZZ.ADR");
        // A date may lose its last bits once on the file's date offset, so the book
        // read back is compared by the bytes it writes: those never change again.
        if (!back.Book || WriteBookImage(*back.Book) != image)
            std::abort();
    } catch (const BookJsonError&) {
    } catch (const StreamError&) {
        // A list or a text too long for the file: SaveBook reports it.
    }
    // `add`: the fields given over those of a new entry.
    if (json.is_object()) {
        try {
            auto book = NewBook("/nonexistent/FUZZ.ADR", TStoreSettings());
            NewWorkRecord(*book);
            TJson merged = EntryToJson(*book->WorkRecord);
            for (const auto& field : json.items())
                merged[field.key()] = field.value();
            auto entry = EntryFromJson(merged);
            if (!entry)
                std::abort();
        } catch (const BookJsonError&) {
        }
    }
    return 0;
}

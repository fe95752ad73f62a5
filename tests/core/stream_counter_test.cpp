// The counting writer sizes a book's image before it is written: its count must be the
// real writer's size for every kind of field, and it must refuse what the real one
// refuses, or a save would reserve the wrong room or fail differently.

#include "core/store/book_file.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/test_bytes.h"

#include <functional>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(StreamCounter, CountsWhatTheWriterWrites) {
    const std::function<void(TStreamWriter&)> writes[] = {
        [](TStreamWriter& w) { w.WriteByte(7); },
        [](TStreamWriter& w) { w.WriteBool(true); },
        [](TStreamWriter& w) { w.WriteInt16(-2); },
        [](TStreamWriter& w) { w.WriteUInt16(65535); },
        [](TStreamWriter& w) { w.WriteInt32(-70000); },
        [](TStreamWriter& w) { w.WriteDouble(1.5); },
        [](TStreamWriter& w) { w.WriteDateTime(45000.25); },
        [](TStreamWriter& w) { w.WriteText(std::nullopt); },
        [](TStreamWriter& w) { w.WriteText(std::string()); },
        [](TStreamWriter& w) { w.WriteText(std::string(300, 'x')); },
        [](TStreamWriter& w) { w.WriteShortString(""); },
        [](TStreamWriter& w) { w.WriteShortString(std::string(400, 'y')); },
        [](TStreamWriter& w) {
            const std::uint8_t raw[5] = {1, 2, 3, 4, 5};
            w.WriteBytes(raw, sizeof raw);
        },
        [](TStreamWriter& w) { w.WriteCount(32767); },
    };
    for (std::size_t i = 0; i < std::size(writes); ++i) {
        TStreamWriter real;
        TStreamWriter counter = TStreamWriter::Counter();
        writes[i](real);
        writes[i](counter);
        EXPECT_EQ(counter.Size(), real.Size()) << "write " << i;
        EXPECT_TRUE(counter.Bytes().empty()) << "write " << i;
    }
}

TEST(StreamCounter, RefusesWhatTheWriterRefuses) {
    TStreamWriter counter = TStreamWriter::Counter();
    EXPECT_THROW(counter.WriteText(std::string(kMaxTextLength + 1, 'x')), StreamError);
    EXPECT_THROW(counter.WriteCount(kMaxListCount + 1), StreamError);
    EXPECT_NO_THROW(counter.WriteText(std::string(kMaxTextLength, 'x')));
}

TEST(StreamCounter, BookImageIsWrittenIntoItsExactRoom) {
    auto book = testing::MakeEveryKindBook();
    TStreamWriter counter = TStreamWriter::Counter();
    book->WriteBody(counter);
    const auto image = WriteBookImage(*book);
    EXPECT_EQ(image.size(), counter.Size() + 2 * kSignatureSize);
    EXPECT_EQ(image.capacity(), image.size()); // no regrowth on the way
    // The image itself is the one the writer alone gives.
    TStreamWriter plain;
    plain.WriteBytes(kSignature.data(), kSignature.size());
    book->WriteBody(plain);
    plain.WriteBytes(kSignature.data(), kSignature.size());
    EXPECT_TRUE(plain.Bytes() == image);
}

TEST(StreamCounter, ABookTooLongForTheFileStillFailsToSave) {
    auto book = testing::MakeEveryKindBook();
    book->Entries.At(0)->NameFields[kFieldNotes] = std::string(kMaxTextLength + 1, 'n');
    EXPECT_THROW(WriteBookImage(*book), StreamError);
}

} // namespace
} // namespace tessaly

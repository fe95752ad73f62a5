#include "core/store/book_file.h"

#include "core/common/same_text.h"
#include "core/store/file_window.h"
#include "core/system/file_io.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <new>
#include <utility>

namespace tessaly {

namespace {

constexpr const char* kMsgCorrupt = "Address Book File is Corrupt - Recover File from Backup Copy";
constexpr const char* kMsgNotValid = "is not a Valid Tessaly Version 3 File";
constexpr const char* kMsgVersion20 = "is a Version 2.0 Tessaly File";
constexpr const char* kMsgVersion25 = "is a Version 2.5 Tessaly File";
constexpr const char* kMsgVersion12 = "is a Version 1.2 Tessaly File.";
// Where the version word stands in a book file.
constexpr std::size_t kVersionOffset = kSignatureSize;
// Layout version the defaults file's lists are read and written with.
constexpr int kDefaultsVersion = kBookVersion;

TFileCheck Valid() {
    return TFileCheck{true, kCodeValid, std::string()};
}

TFileCheck Invalid(const char* message) {
    return TFileCheck{false, kCodeInvalid, message};
}

void WriteSignature(TStreamWriter& w) {
    w.WriteBytes(kSignature.data(), kSignature.size());
}

TLoadResult Failure(int code, const std::string& path, const std::string& message) {
    TLoadResult result;
    result.Code = code;
    result.Message = BookErrorMessage(path, message);
    return result;
}

bool HasBackupExtension(const std::string& path) {
    return SameText(std::filesystem::path(path).extension().string(), ".BAK");
}

std::string BackupPath(const std::string& path) {
    return std::filesystem::path(path).replace_extension(".BAK").string();
}

// The lists of the defaults file, read into a scratch book first so that a damaged
// file changes nothing.
struct TDefaults {
    TTemplateList Templates;
    TIndexList IndexKeys;
    TCategoryList Categories;
    TIndexList InsertFields;
    std::uint8_t InsertBlankFields = 0;
    std::uint8_t LabelPhoneFields = 0;
    std::array<Text, kPageCaptions> PageCaptions;
};

bool ReadDefaults(TStreamReader& r, TDefaults& d) {
    if (!CheckSignature(r, true).Valid)
        return false;
    d.Templates.Read(r, kDefaultsVersion);
    d.IndexKeys.Read(r, kDefaultsVersion);
    d.Categories.Read(r, kDefaultsVersion);
    d.InsertFields.Read(r, kDefaultsVersion);
    d.InsertBlankFields = r.ReadByte();
    d.LabelPhoneFields = r.ReadByte();
    for (auto& caption : d.PageCaptions)
        r.ReadTextInto(caption);
    if (r.AtEnd() || !CheckSignature(r, false).Valid)
        return false;
    return r.AtEnd(); // the trailer ends the file
}

} // namespace

std::string BookErrorMessage(const std::string& path, const std::string& message) {
    std::string name = std::filesystem::path(path).filename().string();
    if (name.empty())
        return message;
    // Only ASCII letters change: the name may hold any bytes the system allows.
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) {
        return static_cast<char>(c < 128 ? std::toupper(c) : c);
    });
    return name + " " + message;
}

TFileCheck CheckSignature(TStreamReader& r, bool oldVersionTest) {
    if (r.Remaining() >= kSignatureSize) {
        std::array<std::uint8_t, kSignatureSize> head{};
        r.ReadBytes(head.data(), head.size());
        if (head == kSignature)
            return Valid();
    }
    if (!oldVersionTest)
        return Invalid(kMsgCorrupt);
    // Files of the earlier layouts start with their version word.
    if (r.Size() < 2)
        return Invalid(kMsgNotValid);
    r.Seek(0);
    const int word = r.ReadInt16();
    if (word >= 4 && word <= 7)
        return TFileCheck{false, kCodeVersion20, kMsgVersion20};
    if (word == 8)
        return TFileCheck{false, kCodeVersion25, kMsgVersion25};
    if (word == 501)
        return TFileCheck{false, kCodeVersion12, kMsgVersion12};
    return Invalid(kMsgNotValid);
}

TFileCheck CheckTrailer(TStreamReader& r) {
    if (r.Size() < kSignatureSize)
        return Invalid(kMsgCorrupt);
    const std::size_t position = r.Position();
    r.Seek(r.Size() - kSignatureSize);
    TFileCheck check = CheckSignature(r, false);
    r.Seek(position);
    return check;
}

namespace {

TLoadResult ParseBook(TStreamReader& r, const TStoreSettings& settings, const std::string& path,
                      bool eventsOnly, IEntryReadWatch* watch = nullptr) {
    try {
        TFileCheck check = CheckSignature(r, true);
        if (check.Valid)
            check = CheckTrailer(r);
        if (!check.Valid)
            return Failure(check.Code, path, check.Message);

        // The head and the trailer must not overlap the version word.
        if (r.Size() < kVersionOffset + 2 + kSignatureSize)
            return Failure(kCodeInvalid, path, kMsgCorrupt);
        // A newer layout than this program writes is not guessed at (and so never
        // overwritten by an older program).
        r.Seek(kVersionOffset);
        const int version = r.ReadInt16();
        if (version < kOldestBookVersion || version > kBookVersion)
            return Failure(kCodeInvalid, path, kMsgNotValid);
        r.Seek(kVersionOffset);

        auto book = std::make_unique<TBookData>();
        r.SetSkipTexts(eventsOnly);
        book->EventsOnly = eventsOnly;
        book->ReadBody(r, settings, watch);
        // The trailer must follow the body exactly and end the file.
        if (r.Remaining() != kSignatureSize || !CheckSignature(r, false).Valid)
            return Failure(kCodeInvalid, path, kMsgCorrupt);

        book->FileName = path;
        TLoadResult result;
        result.Book = std::move(book);
        result.Code = kCodeValid;
        return result;
    } catch (const StreamError&) {
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    return Failure(kCodeInvalid, path, kMsgCorrupt);
}

// Keeps no entry and no text of one: all that is asked of the entries is that they read.
class TVerdictOnly final : public IEntryReadWatch {
public:
    std::optional<TListedTexts> TextsNeeded(const TBookData&) override { return TListedTexts(); }
    bool KeepsEntries() const override { return false; }
    void EntriesBegin(TBookData&, std::size_t) override {}
    void EntryRead(TRecord&) override {}
    void EntriesEnd(bool) noexcept override {}
};

} // namespace

TLoadResult ParseBookImage(std::span<const std::uint8_t> bytes, const TStoreSettings& settings,
                           const std::string& path) {
    TStreamReader r(bytes);
    return ParseBook(r, settings, path, false);
}

TLoadResult CheckBookImage(std::span<const std::uint8_t> bytes, const TStoreSettings& settings,
                           const std::string& path) {
    TStreamReader r(bytes);
    TVerdictOnly verdict;
    return ParseBook(r, settings, path, false, &verdict);
}

namespace {

TLoadResult ReadBookFile(const std::string& path, const TStoreSettings& settings, IFileSystem& fs,
                         bool eventsOnly, IEntryReadWatch* watch = nullptr) {
    TFileWindow file(fs);
    const TIoResult io = file.Open(path);
    TStreamReader r(file);
    TLoadResult result = io.Ok ? ParseBook(r, settings, path, eventsOnly, watch) : TLoadResult();
    // A read that failed is told as such, not as a damaged file.
    const TIoResult& failed = io.Ok ? file.ReadError() : io;
    if (!failed.Ok) {
        result = TLoadResult();
        result.Code = kCodeUnreadable;
        result.Message = failed.Error;
        return result;
    }
    if (result.Book)
        result.Book->DiskIdentity = io.Identity;
    return result;
}

} // namespace

TLoadResult LoadBook(const std::string& path, const TStoreSettings& settings, IFileSystem& fs,
                     IEntryReadWatch* watch) {
    return ReadBookFile(path, settings, fs, false, watch);
}

TLoadResult LoadBookEvents(const std::string& path, const TStoreSettings& settings,
                           IFileSystem& fs) {
    return ReadBookFile(path, settings, fs, true);
}

TLoadResult CheckBookFile(const std::string& path, const TStoreSettings& settings,
                          IFileSystem& fs) {
    TVerdictOnly verdict;
    return ReadBookFile(path, settings, fs, false, &verdict);
}

namespace {

// Writes the book as it is read: the header once the entries are reached, each entry as
// soon as it is read and changed, and drops it. An entry that only takes a tag has the
// bytes it was read from copied, with its tag byte set.
class TRewritingWatch final : public IEntryReadWatch {
public:
    TRewritingWatch(TStreamWriter& w, const TBookRewrite& change, TStreamReader& r)
        : w_(w), change_(change), r_(r) {}

    std::optional<TListedTexts> TextsNeeded(const TBookData& book) override {
        copies_ = change_.Tag && !change_.Entry && book.Version == kBookVersion;
        if (!copies_)
            return std::nullopt;
        // The texts are copied with the rest of the entry's bytes, not read; but a text
        // a save would write otherwise must still be seen.
        r_.SetCheckSkippedTexts(true);
        return TListedTexts();
    }
    bool KeepsEntries() const override { return false; }
    void EntriesBegin(TBookData& book, std::size_t count) override {
        if (change_.Head)
            change_.Head(book);
        Write([&] {
            WriteSignature(w_);
            book.WriteBeforeEntries(w_);
            w_.WriteCount(count);
        });
        entryAt_ = r_.Position();
        altered_ = r_.AlteredReads();
    }
    void EntryRead(TRecord& entry) override {
        const std::size_t end = r_.Position();
        const std::size_t start = std::exchange(entryAt_, end);
        if (copies_ && r_.AlteredReads() == altered_)
            return CopyEntry(entry, start, end);
        if (copies_) {
            // Read anew, whole, to be written as a save writes it; the reader comes
            // back to where it was.
            r_.Seek(start);
            const std::unique_ptr<TRecord> whole = TRecord::Read(r_, kBookVersion);
            altered_ = r_.AlteredReads();
            return WriteEntry(*whole);
        }
        WriteEntry(entry);
    }
    void EntriesEnd(bool) noexcept override {}

    // Why the book cannot be written in its format, kept apart from a damaged file.
    const std::string& Refusal() const { return refusal_; }
    void Write(const std::function<void()>& write) {
        if (!refusal_.empty())
            return;
        try {
            write();
        } catch (const StreamError& e) {
            refusal_ = e.what();
        }
    }

private:
    void WriteEntry(TRecord& entry) {
        if (change_.Entry)
            change_.Entry(entry);
        if (change_.Tag)
            entry.Tagged = *change_.Tag;
        Write([&] { entry.Write(w_, kBookVersion); });
    }
    // The entry's bytes as the file holds them, but for its tag byte, which follows its
    // keys (a count and three bytes each) and its keys flag.
    void CopyEntry(const TRecord& entry, std::size_t start, std::size_t end) {
        const std::size_t tagAt = 2 + 3 * static_cast<std::size_t>(entry.Keys.Count()) + 1;
        r_.Seek(start);
        const std::span<const std::uint8_t> bytes = r_.ReadSpan(end - start);
        const std::uint8_t tag = *change_.Tag;
        Write([&] {
            if (bytes[tagAt] == tag) {
                w_.WriteBytes(bytes.data(), bytes.size());
                return;
            }
            w_.WriteBytes(bytes.data(), tagAt);
            w_.WriteByte(tag);
            w_.WriteBytes(bytes.data() + tagAt + 1, bytes.size() - tagAt - 1);
        });
    }

    TStreamWriter& w_;
    const TBookRewrite& change_;
    TStreamReader& r_;
    bool copies_ = false;
    std::size_t entryAt_ = 0;
    std::size_t altered_ = 0;
    std::string refusal_;
};

} // namespace

TRewriteResult RewriteBook(const std::string& path, const TStoreSettings& settings,
                           const TBookRewrite& change, const TSaveOptions& options) {
    IFileSystem& fs = options.FileSystem ? *options.FileSystem : RealFileSystem();
    TRewriteResult result;
    auto file = std::make_unique<TFileWindow>(fs);
    TIoResult opened = file->Open(path);
    const auto unreadable = [&](const TIoResult& io) {
        result.Load.Code = kCodeUnreadable;
        result.Load.Message = io.Error;
        return false;
    };
    if (!opened.Ok) {
        unreadable(opened);
        return result;
    }
    // Another writer may replace the file although this one holds the lock. As a save
    // is refused then, so is the rewrite, unless it is forced; a file whose state
    // cannot be read is not written over.
    std::string refusal;
    enum class TOnDisk { Same, Changed, Unknown };
    const auto onDisk = [&] {
        const std::string target = ResolveTarget(path);
        TFileStat st;
        if (fs.Stat(target, st) == 0)
            return TFileIdentity::Of(st) == opened.Identity ? TOnDisk::Same : TOnDisk::Changed;
        if (errno == ENOENT)
            return TOnDisk::Same;
        refusal = "cannot read the state of " + target + ": " + std::strerror(errno);
        return TOnDisk::Unknown;
    };
    const auto refuseChanged = [&] {
        result.ChangedOnDisk = true;
        return false;
    };
    bool read = false;
    const TByteSource image = [&](const TByteSink& put) {
        switch (onDisk()) {
        case TOnDisk::Unknown:
            return false;
        case TOnDisk::Changed:
            if (!options.Force)
                return refuseChanged();
            // Forced: the other writer's file is the one changed.
            file = std::make_unique<TFileWindow>(fs);
            opened = file->Open(path);
            if (!opened.Ok)
                return unreadable(opened);
            break;
        case TOnDisk::Same:
            break;
        }
        TStreamWriter w(put);
        TStreamReader r(*file);
        TRewritingWatch watch(w, change, r);
        TLoadResult load = ParseBook(r, settings, path, false, &watch);
        if (!file->ReadError().Ok)
            return unreadable(file->ReadError());
        if (!load.Book) {
            // Bytes changed under the reading are not a damaged file.
            if (onDisk() == TOnDisk::Changed)
                return refuseChanged();
            result.Load = std::move(load);
            return false;
        }
        watch.Write([&] {
            load.Book->WriteAfterEntries(w);
            WriteSignature(w);
        });
        if (!watch.Refusal().empty()) {
            refusal = watch.Refusal();
            return false;
        }
        const TOnDisk after = onDisk();
        if (after == TOnDisk::Unknown)
            return false;
        if (after == TOnDisk::Changed && !options.Force)
            return refuseChanged();
        read = true;
        return w.Finish();
    };
    const TIoResult written = WriteFileAtomically(path, image, fs);
    if (written.Ok) {
        result.Ok = true;
    } else if (!refusal.empty()) {
        result.SaveError = refusal;
    } else if (read || (result.Load.Code == kCodeValid && !result.ChangedOnDisk)) {
        // Read whole (or never reached), but the new file could not be put in place.
        result.SaveError = written.Error;
    }
    return result;
}

std::unique_ptr<TBookData> NewBook(const std::string& path, const TStoreSettings& settings,
                                   const IClock& clock) {
    auto book = std::make_unique<TBookData>();
    book->Created = clock.Now();
    LoadDefaults(*book, settings);
    book->ColumnWidths = {22, 39, 120, 40};
    book->Modified = 0;
    book->ChangeCount = 0;
    book->FileName = path;
    return book;
}

void WriteBookImage(TBookData& book, TStreamWriter& w) {
    WriteSignature(w);
    book.WriteBody(w);
    WriteSignature(w);
}

std::vector<std::uint8_t> WriteBookImage(TBookData& book) {
    // Measured first and written into its exact room: a large book's image is not
    // copied over and over as it grows.
    TStreamWriter size = TStreamWriter::Counter();
    book.WriteBody(size);
    TStreamWriter w;
    w.Reserve(size.Size() + 2 * kSignatureSize);
    WriteBookImage(book, w);
    return w.TakeBytes();
}

bool BookChangedOnDisk(const TBookData& book, IFileSystem& fs) {
    if (!book.DiskIdentity.Known || book.FileName.empty())
        return false;
    TFileStat st;
    if (fs.Stat(ResolveTarget(book.FileName), st) != 0)
        return false;
    return TFileIdentity::Of(st) != book.DiskIdentity;
}

TSaveResult SaveBook(TBookData& book, bool closing, const TStoreSettings& settings,
                     const TSaveOptions& options) {
    IFileSystem& fs = options.FileSystem ? *options.FileSystem : RealFileSystem();
    TSaveResult result;
    if (book.FileName.empty()) {
        result.Error = "the book has no file name";
        return result;
    }
    // Its other texts were never read: writing it would empty them in the file.
    if (book.EventsOnly) {
        result.Error = "the book was read for its events only";
        return result;
    }
    if (book.ListingOnly) {
        result.Error = "the book was read for its listing only";
        return result;
    }
    if (!options.Force && book.DiskIdentity.Known) {
        const std::string target = ResolveTarget(book.FileName);
        TFileStat st;
        if (fs.Stat(target, st) == 0) {
            if (TFileIdentity::Of(st) != book.DiskIdentity) {
                result.ChangedOnDisk = true;
                result.Error = "the file was changed by another user or program since it was read";
                return result;
            }
        } else if (errno != ENOENT) {
            result.Error = "cannot read the state of " + target + ": " + std::strerror(errno);
            return result;
        }
    }
    // The bytes go to the file as they are made: a large book is never held twice.
    std::string refusal;
    const TByteSource image = [&](const TByteSink& put) {
        try {
            TStreamWriter w(put);
            WriteBookImage(book, w);
            return w.Finish();
        } catch (const StreamError& e) {
            refusal = e.what();
            return false;
        }
    };
    const TIoResult io = WriteFileAtomically(book.FileName, image, fs);
    if (!io.Ok) {
        result.Error = refusal.empty() ? io.Error : refusal;
        return result;
    }
    book.Modified = 0;
    book.ChangeCount = 0;
    book.DiskIdentity = io.Identity;
    result.Ok = true;

    if (closing && settings.Backup && !HasBackupExtension(book.FileName)) {
        // The back-up holds the bytes just written.
        const TIoResult copy = WriteFileAtomically(BackupPath(book.FileName), image, fs);
        result.BackupFailed = !copy.Ok;
        result.BackupError = copy.Error;
    }
    return result;
}

bool ParseDefaultsImage(TBookData& book, std::span<const std::uint8_t> bytes) {
    TDefaults d;
    bool ok = false;
    try {
        TStreamReader r(bytes);
        ok = ReadDefaults(r, d);
    } catch (const StreamError&) {
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {
    }
    if (!ok) {
        book.SetBuiltInDefaults();
        return false;
    }
    book.Templates = std::move(d.Templates);
    book.IndexKeys = std::move(d.IndexKeys);
    book.Categories = std::move(d.Categories);
    book.InsertFields = std::move(d.InsertFields);
    book.InsertBlankFields = d.InsertBlankFields;
    book.LabelPhoneFields = d.LabelPhoneFields;
    book.PageCaptions = std::move(d.PageCaptions);
    return true;
}

bool LoadDefaults(TBookData& book, const TStoreSettings& settings) {
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(settings.ConfigFile(".DEF"), bytes).Ok) {
        book.SetBuiltInDefaults();
        return false;
    }
    return ParseDefaultsImage(book, bytes);
}

std::vector<std::uint8_t> WriteDefaultsImage(const TBookData& book) {
    TStreamWriter w;
    WriteSignature(w);
    book.Templates.Write(w, kDefaultsVersion);
    book.IndexKeys.Write(w, kDefaultsVersion);
    book.Categories.Write(w, kDefaultsVersion);
    book.InsertFields.Write(w, kDefaultsVersion);
    w.WriteByte(book.InsertBlankFields);
    w.WriteByte(book.LabelPhoneFields);
    for (const auto& caption : book.PageCaptions)
        w.WriteText(caption);
    WriteSignature(w);
    return w.TakeBytes();
}

TSaveResult SaveDefaults(const TBookData& book, const TStoreSettings& settings, IFileSystem& fs) {
    TSaveResult result;
    std::vector<std::uint8_t> image;
    try {
        image = WriteDefaultsImage(book);
    } catch (const StreamError& e) {
        result.Error = e.what();
        return result;
    }
    const TIoResult io = WriteFileAtomically(settings.ConfigFile(".DEF"), image, fs);
    result.Ok = io.Ok;
    result.Error = io.Error;
    return result;
}

TMergeResult MergeCategoriesFromBook(TBookData& book, const std::string& path,
                                     const TStoreSettings& settings) {
    TMergeResult result;
    if (SameText(path, book.FileName)) {
        result.Ok = true;
        return result;
    }
    // The whole source is loaded first: nothing is taken from a damaged file.
    TLoadResult source = LoadBook(path, settings);
    if (!source.Book) {
        result.Message = source.Code == kCodeUnreadable ? BookErrorMessage(path, source.Message)
                                                        : source.Message;
        return result;
    }
    for (const auto& category : source.Book->Categories) {
        const std::string_view name = TextValue(category->Name);
        if (book.Categories.FindCategoryByName(name) >= 0)
            continue;
        if (book.Categories.AddCategory(name, category->Default != 0) < 0)
            break; // the book has used up its category numbers
        ++result.Added;
    }
    result.Ok = true;
    return result;
}

int MarkChanged(TBookData& book, const IClock& clock) {
    book.LastUpdated = clock.Now();
    // The count saturates rather than wrap to a negative number.
    if (book.ChangeCount < INT16_MAX)
        ++book.ChangeCount;
    book.Modified = 1;
    return book.ChangeCount;
}

void NewWorkRecord(TBookData& book) {
    auto entry = std::make_unique<TRecord>();
    for (const auto& category : book.Categories)
        if (category->Default)
            entry->CategoriesInUse.AddMembership(category->Id);
    AssignKeys(entry->Keys, book.IndexKeys);
    for (int i = 1; i < book.Templates.Count(); ++i) {
        const TTemplate* t = book.Templates.At(i);
        if (t->IncludeForNew)
            entry->Addresses.AddAddress(t->Id);
    }
    book.WorkRecord = std::move(entry);
}

} // namespace tessaly

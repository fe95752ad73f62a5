#include "core/settings/server_sync_books.h"

namespace tessaly {

namespace {
const char kSection[] = "Server Sync";
}

std::vector<TServerSyncBook> LoadServerSyncBooks(const TSettingsAccess& a) {
    std::vector<TServerSyncBook> books;
    const int count = a.ReadInteger(kSection, "Books", 0, 0, 10000);
    for (int i = 1; i <= count; ++i) {
        const std::string n = std::to_string(i);
        TServerSyncBook book;
        book.Path = a.ReadString(kSection, "Book " + n, "");
        if (book.Path.empty())
            continue;
        book.User = a.ReadString(kSection, "User " + n, "");
        book.Automatic = a.ReadBool(kSection, "Automatic " + n, false);
        SetServerSyncBook(books, book);
    }
    return books;
}

void SaveServerSyncBooks(TSettingsAccess& a, const std::vector<TServerSyncBook>& books) {
    a.EraseSection(kSection);
    int n = 0;
    for (const TServerSyncBook& book : books) {
        if (book.Path.empty())
            continue;
        const std::string k = std::to_string(++n);
        a.WriteString(kSection, "Book " + k, book.Path);
        a.WriteString(kSection, "User " + k, book.User);
        a.WriteBool(kSection, "Automatic " + k, book.Automatic);
    }
    a.WriteInteger(kSection, "Books", n);
}

const TServerSyncBook* FindServerSyncBook(const std::vector<TServerSyncBook>& books,
                                          const std::string& path) {
    for (const TServerSyncBook& book : books)
        if (book.Path == path)
            return &book;
    return nullptr;
}

void SetServerSyncBook(std::vector<TServerSyncBook>& books, const TServerSyncBook& book) {
    for (TServerSyncBook& known : books)
        if (known.Path == book.Path) {
            known = book;
            return;
        }
    books.push_back(book);
}

} // namespace tessaly

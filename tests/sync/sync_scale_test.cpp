// A book of many entries through Radicale: all of them go up in one first sync, and
// a later sync of a few changed entries sends those and nothing more, and its own work
// (all but the waiting for the server) stays under half a second. TESSALY_SYNC_SCALE_CARDS sets the
// number of entries (300 unless given); Radicale's cost of a new card grows with the address book,
// so the full 32,767 belongs to a run of its own (bench/sync_scale.sh).

#include "core/store/book_file.h"
#include "core/store/record.h"
#include "core/sync/book_sync.h"
#include "platform/qt_http_client.h"
#include "tests/support/every_kind_book.h"
#include "tests/support/radicale_server.h"
#include "tests/support/scratch_dir.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

namespace tessaly {
namespace {

using testing::TRadicaleServer;
using testing::TScratchDir;

// Counts the requests by method on their way to the network, and the time spent
// waiting for their answers.
class TCountingClient final : public IHttpClient {
public:
    explicit TCountingClient(IHttpClient& next) : next_(next) {}
    THttpResponse Send(const THttpRequest& request) override {
        ++sent[request.Method];
        const auto began = std::chrono::steady_clock::now();
        THttpResponse response = next_.Send(request);
        waiting += std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
        return response;
    }
    std::map<std::string, int> sent;
    double waiting = 0; // seconds

private:
    IHttpClient& next_;
};

int ScaleCards() {
    const char* given = std::getenv("TESSALY_SYNC_SCALE_CARDS");
    const int n = given ? std::atoi(given) : 0;
    return n > 0 ? n : 300;
}

TEST(SyncScaleTest, AFirstSyncSendsEveryEntryAndALaterOneOnlyTheChanged) {
    if (!TRadicaleServer::Installed())
        GTEST_SKIP() << "radicale is not installed: no server to sync with";
    TScratchDir dir;
    TRadicaleServer server(dir.File("server"));
    ASSERT_TRUE(server.Running()) << server.Problem();
    const int cards = ScaleCards();
    const std::string path = dir.File("Office.ADR");
    {
        auto book = NewBook(path, testing::NoDefaultsFile());
        for (int i = 0; i < cards; ++i) {
            auto e = std::make_unique<TRecord>();
            e->SetNameField(kFieldFirstName, "Person");
            e->SetNameField(kFieldSurname, "Number " + std::to_string(i));
            e->SetNotes("met in " + std::to_string(1990 + i % 30));
            book->Entries.Add(std::move(e));
        }
        ASSERT_TRUE(SaveBook(*book, false, testing::NoDefaultsFile()).Ok);
    }
    THttpClientOptions login;
    login.User = "ann";
    TQtHttpClient qt(login);
    TSyncOptions options;
    options.Server = server.Url("/ann/");
    options.Settings = testing::NoDefaultsFile();

    const auto began = std::chrono::steady_clock::now();
    const TSyncResult first = SyncBook(path, options, qt);
    const double firstSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    ASSERT_TRUE(first.Ok) << first.Failure;
    EXPECT_EQ(first.Uploaded, cards);
    ::testing::Test::RecordProperty("first_sync_ms", static_cast<int>(firstSeconds * 1000));

    {
        auto loaded = LoadBook(path, testing::NoDefaultsFile());
        ASSERT_TRUE(loaded.Book);
        for (int k = 0; k < 10; ++k)
            loaded.Book->Entries.At(k * cards / 10)->SetNotes("moved house " + std::to_string(k));
        ASSERT_TRUE(SaveBook(*loaded.Book, false, testing::NoDefaultsFile()).Ok);
    }
    TCountingClient counting(qt);
    options.Server.clear(); // the remembered one
    const auto again = std::chrono::steady_clock::now();
    const TSyncResult later = SyncBook(path, options, counting);
    const double laterSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - again).count();
    ASSERT_TRUE(later.Ok) << later.Failure;
    EXPECT_EQ(later.Uploaded, 10);
    EXPECT_EQ(later.Downloaded, 0);
    // The changes since the token and the ten cards: no listing, no fetching of cards.
    const std::map<std::string, int> expected = {{"REPORT", 1}, {"PUT", 10}};
    EXPECT_EQ(counting.sent, expected);
    EXPECT_LT(laterSeconds - counting.waiting, 0.5);
    ::testing::Test::RecordProperty("later_sync_ms", static_cast<int>(laterSeconds * 1000));
    std::printf("%d cards: first sync %.1f s; ten changes %.3f s, of which %.3f s waiting for "
                "the server\n",
                cards, firstSeconds, laterSeconds, counting.waiting);
}

} // namespace
} // namespace tessaly

// The whole sync in process against Radicale, through a line that sends every new
// card twice, as a client does that sends a request again when its answer was lost
// after the server had carried it out: the second PUT meets the card already there.

#include "cli/sample_book.h"
#include "core/store/book_file.h"
#include "core/sync/book_sync.h"
#include "platform/qt_http_client.h"
#include "tests/support/fake_clock.h"
#include "tests/support/radicale_server.h"
#include "tests/support/scratch_dir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tessaly {
namespace {

using testing::TRadicaleServer;
using testing::TScratchDir;

class TTwiceSentNewCards final : public IHttpClient {
public:
    explicit TTwiceSentNewCards(IHttpClient& line) : line_(line) {}
    THttpResponse Send(const THttpRequest& request) override {
        const THttpResponse first = line_.Send(request);
        const bool isNew = request.Method == "PUT" &&
                           std::any_of(request.Headers.begin(), request.Headers.end(),
                                       [](const auto& h) { return h.first == "If-None-Match"; });
        if (!isNew || first.Status < 200 || first.Status > 299)
            return first;
        ++resent_;
        return line_.Send(request);
    }
    int Resent() const { return resent_; }

private:
    IHttpClient& line_;
    int resent_ = 0;
};

int Count(const std::string& path, const TStoreSettings& settings) {
    TLoadResult loaded = LoadBook(path, settings);
    return loaded.Book ? loaded.Book->Entries.Count() : -1;
}

TEST(BookSyncResend, ANewCardFoundAlreadyThereCountsAsSent) {
    if (!TRadicaleServer::Installed())
        GTEST_SKIP() << "radicale is not installed: no server to test against";
    TScratchDir dir;
    TRadicaleServer server(dir.File("server"));
    ASSERT_TRUE(server.Running()) << server.Problem();
    FakeClock clock(46000.5);
    const std::string path = dir.File("Sample.ADR");
    {
        auto book = MakeSampleBook(path, clock);
        ASSERT_TRUE(book);
        TSaveOptions save;
        ASSERT_TRUE(SaveBook(*book, false, TStoreSettings(), save).Ok);
    }
    TSyncOptions options;
    options.Server = server.Url();
    options.Clock = &clock;
    const int entries = Count(path, options.Settings);
    ASSERT_GT(entries, 0);

    THttpClientOptions login;
    login.User = "ann";
    TQtHttpClient line(login);
    TTwiceSentNewCards twice(line);
    const TSyncResult first = SyncBook(path, options, twice);
    ASSERT_TRUE(first.Ok) << first.Failure;
    EXPECT_EQ(twice.Resent(), entries);
    EXPECT_EQ(first.Uploaded, entries);
    EXPECT_EQ(first.Conflicts, 0);
    EXPECT_EQ(first.Downloaded, 0);
    EXPECT_EQ(Count(path, options.Settings), entries);

    // Nothing is left to do: the state knows every card as the server holds it.
    options.Server.clear();
    const TSyncResult second = SyncBook(path, options, line);
    ASSERT_TRUE(second.Ok) << second.Failure;
    EXPECT_EQ(second.Uploaded + second.Downloaded + second.Conflicts, 0);
    EXPECT_EQ(Count(path, options.Settings), entries);
}

} // namespace
} // namespace tessaly

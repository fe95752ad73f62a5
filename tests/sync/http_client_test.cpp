// The HTTP client over Qt Network against a real contacts server on the loopback
// address: the WebDAV verbs, conditional writes, authentication, redirects, and the
// ways an exchange fails without an answer.

#include "platform/qt_http_client.h"
#include "tests/support/dropping_proxy.h"
#include "tests/support/radicale_server.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/silent_server.h"

#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

namespace tessaly {
namespace {

using testing::TDroppingProxy;
using testing::TRadicaleOptions;
using testing::TRadicaleServer;
using testing::TScratchDir;

const char kPrincipalQuery[] = R"(<?xml version="1.0" encoding="utf-8"?>
<propfind xmlns="DAV:"><prop><current-user-principal/></prop></propfind>)";

const char kMakeAddressBook[] = R"(<?xml version="1.0" encoding="utf-8"?>
<mkcol xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:carddav"><set><prop>
<resourcetype><collection/><C:addressbook/></resourcetype><displayname>Office</displayname>
</prop></set></mkcol>)";

std::string Card(const std::string& uid, const std::string& name) {
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid + "\r\nFN:" + name + "\r\nN:" + name +
           ";;;;\r\nEND:VCARD\r\n";
}

THttpClientOptions Login(std::string user, std::string password = "", int idleMs = 30000) {
    THttpClientOptions o;
    o.User = std::move(user);
    o.Password = std::move(password);
    o.IdleTimeoutMs = idleMs;
    return o;
}

THttpRequest Request(std::string method, std::string url, THttpHeaders headers = {},
                     std::string body = "") {
    return {std::move(method), std::move(url), std::move(headers), std::move(body)};
}

class HttpClientTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch_ = new TScratchDir;
        server_ = new TRadicaleServer(scratch_->File("server"));
    }
    static void TearDownTestSuite() {
        delete server_;
        delete scratch_;
    }
    void SetUp() override {
        if (!TRadicaleServer::Installed())
            GTEST_SKIP() << "radicale is not installed: no server to test against";
        ASSERT_TRUE(server_->Running()) << server_->Problem();
    }

    // A fresh address book of `user`'s, made by MKCOL.
    std::string NewAddressBook(TQtHttpClient& client, const std::string& user,
                               const std::string& name) {
        const std::string url = server_->Url("/" + user + "/" + name + "/");
        const THttpResponse made = client.Send(Request(
            "MKCOL", url, {{"Content-Type", "application/xml; charset=utf-8"}}, kMakeAddressBook));
        EXPECT_EQ(made.Status, 201) << made.Body << made.Error;
        return url;
    }

    static TScratchDir* scratch_;
    static TRadicaleServer* server_;
};

TScratchDir* HttpClientTest::scratch_ = nullptr;
TRadicaleServer* HttpClientTest::server_ = nullptr;

TEST_F(HttpClientTest, FindsThePrincipalThroughTheWellKnownAddress) {
    TQtHttpClient client(Login("alice", "any"));
    const THttpResponse direct = client.Send(Request(
        "PROPFIND", server_->Url("/"),
        {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}}, kPrincipalQuery));
    EXPECT_EQ(direct.Status, 207) << direct.Error;
    EXPECT_NE(direct.Body.find("<href>/alice/</href>"), std::string::npos) << direct.Body;

    // The server sends the well-known address on with a redirect, which the client follows
    // with the same method and body.
    const THttpResponse found = client.Send(Request(
        "PROPFIND", server_->Url("/.well-known/carddav"),
        {{"Depth", "0"}, {"Content-Type", "application/xml; charset=utf-8"}}, kPrincipalQuery));
    EXPECT_EQ(found.Status, 207) << found.Error;
    EXPECT_NE(found.Body.find("/alice/"), std::string::npos) << found.Body;

    // Without a user the server knows nobody's principal.
    TQtHttpClient anonymous;
    const THttpResponse none =
        anonymous.Send(Request("PROPFIND", server_->Url("/"), {{"Depth", "0"}}, kPrincipalQuery));
    EXPECT_EQ(none.Body.find("/alice/"), std::string::npos);
}

TEST_F(HttpClientTest, MakesAnAddressBookAndListsIt) {
    TQtHttpClient client(Login("bob"));
    const std::string book = NewAddressBook(client, "bob", "office");
    const THttpResponse listed = client.Send(Request(
        "PROPFIND", book, {{"Depth", "0"}},
        R"(<?xml version="1.0"?><propfind xmlns="DAV:"><prop><resourcetype/><displayname/></prop></propfind>)"));
    EXPECT_EQ(listed.Status, 207);
    EXPECT_NE(listed.Body.find("addressbook"), std::string::npos) << listed.Body;
    EXPECT_NE(listed.Body.find("Office"), std::string::npos) << listed.Body;
    // A second MKCOL of the same address is refused, not silently merged.
    const THttpResponse again = client.Send(
        Request("MKCOL", book, {{"Content-Type", "application/xml"}}, kMakeAddressBook));
    EXPECT_GE(again.Status, 400);
}

TEST_F(HttpClientTest, ConditionalWritesGuardEveryCard) {
    TQtHttpClient client(Login("carol"));
    const std::string card = NewAddressBook(client, "carol", "cards") + "one.vcf";
    const THttpHeaders vcard = {{"Content-Type", "text/vcard; charset=utf-8"}};
    auto with = [&](THttpHeaders more) {
        more.insert(more.begin(), vcard.begin(), vcard.end());
        return more;
    };

    const THttpResponse created = client.Send(
        Request("PUT", card, with({{"If-None-Match", "*"}}), Card("one", "Ann Example")));
    ASSERT_EQ(created.Status, 201) << created.Body;
    ASSERT_NE(created.Header("ETag"), nullptr);
    const std::string etag = *created.Header("etag");

    // Creating it again must not overwrite what is there.
    EXPECT_EQ(
        client.Send(Request("PUT", card, with({{"If-None-Match", "*"}}), Card("one", "Other")))
            .Status,
        412);

    const THttpResponse read = client.Send(Request("GET", card));
    EXPECT_EQ(read.Status, 200);
    EXPECT_NE(read.Body.find("FN:Ann Example"), std::string::npos) << read.Body;
    ASSERT_NE(read.Header("ETag"), nullptr);
    EXPECT_EQ(*read.Header("ETag"), etag);

    // A write made on an old version is refused; one made on the current version lands.
    EXPECT_EQ(client.Send(Request("PUT", card, with({{"If-Match", "\"stale\""}}), Card("one", "B")))
                  .Status,
              412);
    const THttpResponse changed =
        client.Send(Request("PUT", card, with({{"If-Match", etag}}), Card("one", "Ann Changed")));
    EXPECT_TRUE(changed.Status == 201 || changed.Status == 204) << changed.Status;
    ASSERT_NE(changed.Header("ETag"), nullptr);
    EXPECT_NE(*changed.Header("ETag"), etag);

    EXPECT_EQ(client.Send(Request("DELETE", card, {{"If-Match", etag}})).Status, 412);
    EXPECT_NE(client.Send(Request("GET", card)).Body.find("Ann Changed"), std::string::npos);
    const THttpResponse gone =
        client.Send(Request("DELETE", card, {{"If-Match", *changed.Header("ETag")}}));
    EXPECT_TRUE(gone.Status == 200 || gone.Status == 204) << gone.Status;
    EXPECT_EQ(client.Send(Request("GET", card)).Status, 404);
}

TEST_F(HttpClientTest, TextsPassAsBytes) {
    TQtHttpClient client(Login("dora"));
    const std::string card = NewAddressBook(client, "dora", "utf8") + "k.vcf";
    const std::string body = Card("k", "J\xC3\xBCrgen \xE2\x82\xAC \xF0\x9F\x98\x80");
    ASSERT_EQ(
        client.Send(Request("PUT", card, {{"Content-Type", "text/vcard; charset=utf-8"}}, body))
            .Status,
        201);
    const THttpResponse read = client.Send(Request("GET", card));
    EXPECT_NE(read.Body.find("J\xC3\xBCrgen \xE2\x82\xAC \xF0\x9F\x98\x80"), std::string::npos)
        << read.Body;
}

TEST_F(HttpClientTest, ADroppedConnectionIsNoAnswer) {
    // Every connection is cut, before or after the server saw the request.
    TDroppingProxy proxy(server_->Port(), 1.0, 7);
    TQtHttpClient client(Login("erin", "", 5000));
    for (int i = 0; i < 8; ++i) {
        const THttpResponse r = client.Send(
            Request("PUT", proxy.Url("/erin/x" + std::to_string(i) + ".vcf"),
                    {{"Content-Type", "text/vcard"}}, Card("x" + std::to_string(i), "Cut Off")));
        EXPECT_EQ(r.Status, 0) << "exchange " << i << " came back " << r.Status;
        EXPECT_FALSE(r.Error.empty());
    }
    EXPECT_GT(proxy.CutBeforeServer(), 0);
    EXPECT_GT(proxy.CutAfterServer(), 0);

    // Through the same proxy with nothing cut, the same client is answered.
    proxy.SetDropShare(0.0);
    EXPECT_EQ(
        client.Send(Request("PROPFIND", proxy.Url("/"), {{"Depth", "0"}}, kPrincipalQuery)).Status,
        207);
}

TEST(HttpClientFailures, RefusedAndSilentServersAreNoAnswer) {
    TQtHttpClient client(Login("", "", 400));
    const int closed = testing::FreeLoopbackPort();
    const THttpResponse refused =
        client.Send(Request("GET", "http://127.0.0.1:" + std::to_string(closed) + "/"));
    EXPECT_EQ(refused.Status, 0);
    EXPECT_FALSE(refused.Error.empty());

    // A server that takes the connection and never answers.
    testing::TSilentServer silent;
    ASSERT_NE(silent.Port(), 0);
    const auto start = std::chrono::steady_clock::now();
    const THttpResponse waited = client.Send(Request("GET", silent.Url()));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(waited.Status, 0);
    EXPECT_NE(waited.Error.find("no answer"), std::string::npos) << waited.Error;
    EXPECT_LT(took, std::chrono::seconds(5));

    EXPECT_EQ(client.Send(Request("GET", "ftp://127.0.0.1/x")).Status, 0);
    EXPECT_EQ(client.Send(Request("GET", "not an address")).Status, 0);
}

TEST(HttpClientFailures, ARequestThatNeverLeavesIsSentOnceMoreThenGivenUp) {
    testing::TSilentServer server;
    THttpClientOptions options = Login("", "", 20000);
    options.LostRequestMs = 300;
    TQtHttpClient client(options);
    // A GET shows no sign of leaving until an answer's headers come: after the short
    // wait it goes again on a fresh connection, then is given up, long before the idle
    // timeout.
    auto start = std::chrono::steady_clock::now();
    const THttpResponse get = client.Send(Request("GET", server.Url("/x.vcf")));
    auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(get.Status, 0);
    EXPECT_NE(get.Error.find("no sign of an answer"), std::string::npos) << get.Error;
    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_EQ(server.Connections(), 2);

    // A PUT whose body went out is under way: it is never sent twice, and waits for
    // the idle timeout.
    options.IdleTimeoutMs = 1000;
    TQtHttpClient writer(options);
    start = std::chrono::steady_clock::now();
    const THttpResponse put = writer.Send(
        Request("PUT", server.Url("/x.vcf"), {{"Content-Type", "text/vcard"}}, Card("m1", "Mute")));
    took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(put.Status, 0);
    EXPECT_NE(put.Error.find("no answer within"), std::string::npos) << put.Error;
    EXPECT_GE(took, std::chrono::milliseconds(900));
    EXPECT_EQ(server.Connections(), 3);
}

TEST(HttpClientServers, PasswordsAndCertificatesAreChecked) {
    if (!TRadicaleServer::Installed())
        GTEST_SKIP() << "radicale is not installed: no server to test against";
    TScratchDir dir;
    {
        TRadicaleServer locked(dir.File("locked"), TRadicaleOptions{"frank:s3cret\n", "", ""});
        ASSERT_TRUE(locked.Running()) << locked.Problem();
        const THttpRequest ask =
            Request("PROPFIND", locked.Url("/frank/"), {{"Depth", "0"}}, kPrincipalQuery);
        EXPECT_EQ(TQtHttpClient(Login("frank", "wrong")).Send(ask).Status, 401);
        EXPECT_EQ(TQtHttpClient().Send(ask).Status, 401);
        EXPECT_EQ(TQtHttpClient(Login("frank", "s3cret")).Send(ask).Status, 207);
    }

    // A certificate nobody vouches for ends the exchange, however the server answers.
    const std::string cert = dir.File("cert.pem"), key = dir.File("key.pem");
    const std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=127.0.0.1"
                             " -keyout " +
                             key + " -out " + cert + " >/dev/null 2>&1";
    if (std::system(make.c_str()) != 0)
        GTEST_SKIP() << "openssl could not make a test certificate";
    TRadicaleServer tls(dir.File("tls"), TRadicaleOptions{"", cert, key});
    ASSERT_TRUE(tls.Running()) << tls.Problem();
    const THttpResponse refused =
        TQtHttpClient(Login("gail"))
            .Send(Request("PROPFIND", tls.Url("/"), {{"Depth", "0"}}, kPrincipalQuery));
    EXPECT_EQ(refused.Status, 0);
    EXPECT_NE(refused.Error.find("certificate"), std::string::npos) << refused.Error;
}

} // namespace
} // namespace tessaly

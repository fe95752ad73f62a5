// The pieces under the sync: WebDAV answers read, addresses spelled one way, and the
// state file written and read back.

#include "core/sync/dav_url.h"
#include "core/sync/dav_xml.h"
#include "core/sync/sync_state.h"
#include "tests/support/fault_file_system.h"
#include "tests/support/scratch_dir.h"

#include <gtest/gtest.h>

namespace tessaly {
namespace {

TEST(DavXml, MultiStatusTakesFoundPropertiesWhateverThePrefixes) {
    const std::string body = R"(<?xml version="1.0"?>
<x:multistatus xmlns:x="DAV:" xmlns:card="urn:ietf:params:xml:ns:carddav">
 <x:response><x:href>/books/a%20b.vcf</x:href>
  <x:propstat><x:prop><x:getetag> "e&amp;1" </x:getetag></x:prop>
   <x:status>HTTP/1.1 200 OK</x:status></x:propstat>
  <x:propstat><x:prop><card:address-data/></x:prop>
   <x:status>HTTP/1.1 404 Not Found</x:status></x:propstat></x:response>
 <x:response><x:href>/books/gone.vcf</x:href><x:status>HTTP/1.1 404 Not Found</x:status></x:response>
 <x:sync-token>http://x/token/7</x:sync-token>
</x:multistatus>)";
    TMultiStatus ms;
    std::string error;
    ASSERT_TRUE(ReadMultiStatus(body, ms, error)) << error;
    ASSERT_EQ(ms.Responses.size(), 2u);
    EXPECT_EQ(ms.Responses[0].Props.ChildText(kDavNs, "getetag"), "\"e&1\"");
    EXPECT_FALSE(ms.Responses[0].Props.Child(kCardDavNs, "address-data"));
    EXPECT_EQ(ms.Responses[1].Status, 404);
    EXPECT_EQ(ms.SyncToken, "http://x/token/7");
}

TEST(DavXml, HostileOrForeignAnswersAreRefused) {
    TMultiStatus ms;
    std::string error;
    EXPECT_FALSE(ReadMultiStatus("<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY a \"aaaa\">]>"
                                 "<multistatus xmlns=\"DAV:\">&a;</multistatus>",
                                 ms, error));
    EXPECT_FALSE(ReadMultiStatus("<html><body>Login</body></html>", ms, error));
    EXPECT_NE(error.find("html"), std::string::npos) << error;
    EXPECT_FALSE(ReadMultiStatus("<multistatus xmlns=\"DAV:\"><response>", ms, error));
    std::string deep;
    for (int i = 0; i < 100; ++i)
        deep += "<a>";
    EXPECT_FALSE(ReadMultiStatus(deep, ms, error));
    EXPECT_EQ(StatusOfLine("HTTP/1.1 507 Insufficient Storage"), 507);
    EXPECT_EQ(StatusOfLine("garbage"), 0);
}

TEST(DavUrl, OneSpellingPerResource) {
    EXPECT_EQ(NormalHref("/a%20b/%7euser/x%2Fy.vcf"), "/a%20b/~user/x%2Fy.vcf");
    EXPECT_EQ(NormalHref("/a b/caf\xc3\xa9"), "/a%20b/caf%C3%A9");
    EXPECT_EQ(ResolveHref("https://h:8443/dav/book/", "/dav/book/c%3a1.vcf"),
              "https://h:8443/dav/book/c%3A1.vcf");
    EXPECT_EQ(ResolveHref("https://h/dav/book/", "c.vcf"), "https://h/dav/book/c.vcf");
    EXPECT_EQ(ResolveHref("https://h/dav/", "http://other/x?y"), "http://other/x");
    EXPECT_EQ(UrlOrigin("http://h:1/p"), "http://h:1");
    EXPECT_EQ(UrlOrigin("not a url"), "");
    EXPECT_EQ(PathSegment("Office Book/1"), "Office%20Book%2F1");
}

TEST(SyncStateFile, RoundTripsAndReportsAFailedWrite) {
    testing::TScratchDir dir;
    const std::string path = SyncStatePath(dir.File("B.ADR"));
    EXPECT_EQ(path, dir.File("B.ADR.sync"));
    TSyncState state;
    std::string why;
    EXPECT_EQ(ReadSyncState(path, state, why), TSyncStateRead::Missing);
    state.Server = "https://h/";
    state.User = "ann";
    state.Collection = "https://h/dav/B/";
    state.Token = "t-1";
    state.Entries[46000.123456789012] = {"https://h/dav/B/1.vcf", "\"e1\"", "00ff", "12:34"};
    state.Entries[1.0 / 3.0] = {"https://h/dav/B/2.vcf", "", "abcd", ""};
    ASSERT_TRUE(WriteSyncState(path, state, why)) << why;
    TSyncState read;
    ASSERT_EQ(ReadSyncState(path, read, why), TSyncStateRead::Read) << why;
    EXPECT_EQ(read, state); // stamps come back to the last bit

    testing::TFaultFileSystem faulty;
    faulty.DiskFullAfter(10);
    state.Token = "t-2";
    EXPECT_FALSE(WriteSyncState(path, state, why, faulty));
    EXPECT_FALSE(why.empty());
    ASSERT_EQ(ReadSyncState(path, read, why), TSyncStateRead::Read);
    EXPECT_EQ(read.Token, "t-1"); // the old state is whole

    // Texts a server sent that are not UTF-8 do not make the state unwritable.
    TSyncState odd;
    odd.Token = "line\nbreak \"quoted\" \\ \xff";
    odd.Entries[2.5] = {"https://h/dav/B/caf\xc3\xa9.vcf", "W/\"x\"", "1", ""};
    ASSERT_TRUE(WriteSyncState(path, odd, why)) << why;
    ASSERT_EQ(ReadSyncState(path, read, why), TSyncStateRead::Read) << why;
    EXPECT_EQ(read.Token, "line\nbreak \"quoted\" \\ \xef\xbf\xbd");
    EXPECT_EQ(read.Entries, odd.Entries);

    // A state written before the user name was kept reads with none.
    ASSERT_TRUE(ParseSyncState(
        R"({"format":"tessaly-sync","version":1,"server":"s","collection":"c","token":"",
            "entries":[]})",
        read, why))
        << why;
    EXPECT_EQ(read.Server, "s");
    EXPECT_EQ(read.User, "");

    for (const std::string bad :
         {"[]", R"({"format":"tessaly-sync","version":1})",
          R"({"format":"tessaly-sync","version":1,"server":"","user":7,"collection":"",
              "token":"","entries":[]})",
          R"({"format":"tessaly-sync","version":1,"server":"","collection":"","token":"",
              "entries":[{"stamp":1,"href":"u","etag":"","hash":""},
                         {"stamp":1,"href":"v","etag":"","hash":""}]})"}) {
        EXPECT_FALSE(ParseSyncState(bad, read, why)) << bad;
        EXPECT_FALSE(why.empty());
    }
}

} // namespace
} // namespace tessaly

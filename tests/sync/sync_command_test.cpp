// "tessaly-cli sync" run as a user runs it, against a Radicale server the test starts:
// two books meeting through the server, a sync killed mid-round, a line that drops.

#include "tests/support/dropping_proxy.h"
#include "tests/support/radicale_server.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/shell_run.h"
#include "tests/sync/radicale_test.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sys/stat.h>

namespace tessaly {
namespace {

using testing::RunShell;
using testing::RunShellUntilDone;
using testing::TDroppingProxy;
using testing::TRadicaleServer;
using testing::TScratchDir;
using testing::TShellRun;

std::string Cli() {
    return testing::WithoutSecretService(TESSALY_CLI);
}

int Entries(const std::string& book) {
    const TShellRun listed = RunShell(std::string(TESSALY_CLI) + " list " + book);
    EXPECT_EQ(listed.Status, 0) << listed.Output;
    int lines = 0;
    for (char c : listed.Output)
        lines += c == '\n';
    return lines;
}

// `count` cards of people the server and the books have never seen.
std::string WriteCards(const TScratchDir& dir, const std::string& name, int count) {
    const std::string path = dir.File(name);
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < count; ++i)
        out << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Person" << i << ";" << name << ";;;\r\nFN:" << name
            << " Person" << i << "\r\nTEL;TYPE=WORK:+44 20 7946 " << 1000 + i
            << "\r\nEND:VCARD\r\n";
    return path;
}

std::string MadeCollection(const std::string& output) {
    std::smatch m;
    return std::regex_search(output, m, std::regex("Made the address book (\\S+)")) ? m[1].str()
                                                                                    : "";
}

class SyncCommandTest : public testing::TRadicaleTest {
protected:
    std::string Book(const std::string& name, int cards) {
        const std::string book = dir_.File(name + ".ADR");
        EXPECT_EQ(RunShell(std::string(TESSALY_CLI) + " sample " + book).Status, 0);
        if (cards > 0) {
            const TShellRun imported = RunShell(std::string(TESSALY_CLI) + " vcard import " + book +
                                                " " + WriteCards(dir_, name + ".vcf", cards));
            EXPECT_EQ(imported.Status, 0) << imported.Output;
        }
        return book;
    }
};

TEST_F(SyncCommandTest, TwoBooksMeetThroughTheServer) {
    const std::string a = Book("Alpha", 5);
    const std::string b = dir_.File("Beta.ADR");
    ASSERT_EQ(RunShell(std::string(TESSALY_CLI) + " new " + b).Status, 0);
    const int before = Entries(a);

    const TShellRun first =
        RunShell(Cli() + " sync " + a + " --server " + server_->Url() + " --user ann");
    ASSERT_EQ(first.Status, 0) << first.Output;
    const std::string collection = MadeCollection(first.Output);
    ASSERT_FALSE(collection.empty()) << first.Output;
    EXPECT_NE(first.Output.find("Uploaded " + std::to_string(before)), std::string::npos)
        << first.Output;

    const TShellRun joined =
        RunShell(Cli() + " sync " + b + " --server " + collection + " --user ann");
    ASSERT_EQ(joined.Status, 0) << joined.Output;
    EXPECT_EQ(Entries(b), before);

    // The server is remembered: later runs need only the book, and a change made on one
    // side reaches the other.
    const TShellRun added = RunShell(std::string(TESSALY_CLI) + " vcard import " + b + " " +
                                     WriteCards(dir_, "Zed.vcf", 1));
    ASSERT_EQ(added.Status, 0) << added.Output;
    const TShellRun up = RunShell(Cli() + " sync " + b + " --user ann");
    ASSERT_EQ(up.Status, 0) << up.Output;
    EXPECT_NE(up.Output.find("Uploaded 1,"), std::string::npos) << up.Output;
    const TShellRun down = RunShell(Cli() + " sync " + a + " --user ann");
    ASSERT_EQ(down.Status, 0) << down.Output;
    EXPECT_EQ(Entries(a), before + 1);
    const TShellRun quiet = RunShell(Cli() + " sync " + a + " --user ann");
    EXPECT_NE(quiet.Output.find("Uploaded 0, downloaded 0"), std::string::npos) << quiet.Output;

    // A book that never synced has no server to go to.
    const std::string c = dir_.File("Gamma.ADR");
    ASSERT_EQ(RunShell(std::string(TESSALY_CLI) + " new " + c).Status, 0);
    const TShellRun lost = RunShell(Cli() + " sync " + c);
    EXPECT_EQ(lost.Status, 1);
    EXPECT_NE(lost.Output.find("--server"), std::string::npos) << lost.Output;
}

TEST_F(SyncCommandTest, APasswordFileOthersCanReadIsRefused) {
    const std::string a = Book("Alpha", 0);
    const std::string secret = dir_.File("secret");
    std::ofstream(secret) << "pw\n";
    ::chmod(secret.c_str(), 0644);
    const TShellRun refused = RunShell(Cli() + " sync " + a + " --server " + server_->Url() +
                                       " --user ann --password-file " + secret);
    EXPECT_EQ(refused.Status, 1);
    EXPECT_NE(refused.Output.find("chmod 600"), std::string::npos) << refused.Output;
    EXPECT_EQ(refused.Output.find("Uploaded"), std::string::npos) << refused.Output;
    ::chmod(secret.c_str(), 0600);
    const TShellRun taken = RunShell(Cli() + " sync " + a + " --server " + server_->Url() +
                                     " --user ann --password-file " + secret);
    EXPECT_EQ(taken.Status, 0) << taken.Output;
}

// Later runs need only the book and the password: the user name is remembered with
// the server, though one given on the command line goes first, and a name the server
// refused is not remembered.
TEST_F(SyncCommandTest, TheUserNameIsRememberedWithTheServer) {
    testing::TRadicaleOptions login;
    login.Htpasswd = "ann:pw\n";
    TRadicaleServer guarded(dir_.File("guarded"), login);
    ASSERT_TRUE(guarded.Running()) << guarded.Problem();
    const std::string a = Book("Alpha", 2);
    const std::string secret = dir_.File("secret");
    std::ofstream(secret) << "pw\n";
    ::chmod(secret.c_str(), 0600);
    const std::string password = " --password-file " + secret;
    const TShellRun first =
        RunShell(Cli() + " sync " + a + " --server " + guarded.Url() + " --user ann" + password);
    ASSERT_EQ(first.Status, 0) << first.Output;

    const TShellRun added = RunShell(std::string(TESSALY_CLI) + " vcard import " + a + " " +
                                     WriteCards(dir_, "Zed.vcf", 1));
    ASSERT_EQ(added.Status, 0) << added.Output;
    const TShellRun later = RunShell(Cli() + " sync " + a + password);
    ASSERT_EQ(later.Status, 0) << later.Output;
    EXPECT_NE(later.Output.find("Uploaded 1,"), std::string::npos) << later.Output;

    const TShellRun stranger = RunShell(Cli() + " sync " + a + " --user bob" + password);
    EXPECT_EQ(stranger.Status, 1) << stranger.Output;
    const TShellRun again = RunShell(Cli() + " sync " + a + password);
    EXPECT_EQ(again.Status, 0) << again.Output;
}

// A round cut short leaves cards on the server that the state does not know; the next
// round pairs them with their entries, making no copies of entries neither side changed.
TEST_F(SyncCommandTest, ASyncKilledMidRoundIsFinishedByTheNext) {
    const std::string a = Book("Alpha", 150);
    const int entries = Entries(a);
    const std::string command =
        Cli() + " sync " + a + " --server " + server_->Url() + " --user ann";
    // Killed mid-upload: once the server holds some of the cards, well short of all.
    EXPECT_TRUE(testing::KillOnceFilesAppear(
        command, dir_.File("server") + "/collections/collection-root/ann/Alpha", ".vcf", 10))
        << "the first round ended before it could be killed";

    const TShellRun again = RunShell(command);
    ASSERT_EQ(again.Status, 0) << again.Output;
    EXPECT_EQ(Entries(a), entries) << again.Output;

    // Every entry is on the server once: a fresh book gets them all, and no more.
    const std::string collection = server_->Url("/ann/Alpha/");
    const std::string b = dir_.File("Beta.ADR");
    ASSERT_EQ(RunShell(std::string(TESSALY_CLI) + " new " + b).Status, 0);
    const TShellRun copy =
        RunShell(Cli() + " sync " + b + " --server " + collection + " --user ann");
    ASSERT_EQ(copy.Status, 0) << copy.Output;
    EXPECT_EQ(Entries(b), entries) << copy.Output;
}

TEST_F(SyncCommandTest, ALineThatDropsLosesNothing) {
    const std::string a = Book("Alpha", 60);
    const int entries = Entries(a);
    TDroppingProxy proxy(server_->Port(), 0.2, 11);
    const std::string command = Cli() + " sync " + a + " --server " + proxy.Url() + " --user ann";
    const TShellRun last = RunShellUntilDone(command, 40);
    ASSERT_EQ(last.Status, 0) << "no round got through in 40:\n" << last.Output;
    EXPECT_GT(proxy.CutBeforeServer() + proxy.CutAfterServer(), 0);
    EXPECT_EQ(Entries(a), entries);

    const std::string b = dir_.File("Beta.ADR");
    ASSERT_EQ(RunShell(std::string(TESSALY_CLI) + " new " + b).Status, 0);
    const TShellRun copy =
        RunShell(Cli() + " sync " + b + " --server " + server_->Url("/ann/Alpha/") + " --user ann");
    ASSERT_EQ(copy.Status, 0) << copy.Output;
    EXPECT_EQ(Entries(b), entries) << copy.Output;
}

} // namespace
} // namespace tessaly

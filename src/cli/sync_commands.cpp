#include "cli/sync_commands.h"

#include "core/common/file_paths.h"
#include "core/sync/book_sync.h"
#include "core/sync/calendar_state.h"
#include "core/sync/diary_sync.h"
#include "core/sync/password_file.h"
#include "core/sync/sync_state.h"

#include <ostream>

// Defined by tessaly-sync (sync_tool/sync_network.cpp); null in this program.
extern "C" bool tessaly_sync_network(tessaly::TSyncNetwork* network) __attribute__((weak));
// The iCalendar writer and reader, linked into tessaly-sync; null in this program.
extern "C" void tessaly_write_icalendar(const tessaly::TICalCalendar* calendar, std::string* text)
    __attribute__((weak));
extern "C" bool tessaly_read_icalendar(const std::string* text, tessaly::TICalCalendar* calendar,
                                       std::string* error) __attribute__((weak));

namespace tessaly {

TSyncNetwork LinkedSyncNetwork() {
    TSyncNetwork network;
    if (&tessaly_sync_network)
        tessaly_sync_network(&network);
    return network;
}

int CommandSync(const TSyncCommandOptions& options, const TSyncNetwork& network, TCliStreams io) {
    if (!network.MakeClient) {
        io.Err << "tessaly-cli: this program cannot reach a network\n";
        return 1;
    }
    // The server and user name of the last sync, for those not given on this run; a
    // new server comes with its own user name, or none. A diary's state holds the
    // server only.
    const bool diary = FileKindOf(options.Book) == TFileKind::Diary;
    TSyncState remembered;
    std::string why;
    if (diary) {
        TCalendarState state;
        if (ReadCalendarState(CalendarStatePath(options.Book), state, why) ==
            TCalendarStateRead::Read)
            remembered.Server = state.Server;
    } else if (ReadSyncState(SyncStatePath(options.Book), remembered, why) !=
               TSyncStateRead::Read) {
        remembered = TSyncState();
    }
    const bool sameServer = !options.Server || *options.Server == remembered.Server;
    const std::string server = options.Server.value_or(remembered.Server);
    if (server.empty()) {
        io.Err << (diary ? "The diary " : "The book ") << options.Book
               << " has not been synchronised yet: give the server with --server URL\n";
        return 1;
    }
    const std::string user = options.User.value_or(sameServer ? remembered.User : "");
    // Passwords come from a private file or the secret service, never from the
    // command line; a file named on this run goes first.
    std::string password;
    if (options.PasswordFile) {
        const TPasswordRead read = ReadPasswordFile(*options.PasswordFile);
        if (!read.Ok) {
            io.Err << read.Error << '\n';
            return 1;
        }
        password = read.Password;
    } else if (!user.empty() && network.StoredPassword) {
        std::string note;
        if (!network.StoredPassword(server, user, password, note) && !note.empty())
            io.Err << "No secret service to ask for the password (" << note
                   << "); give --password-file FILE if the server wants one\n";
    }

    std::unique_ptr<IHttpClient> client = network.MakeClient(user, password);
    TSyncOptions sync;
    sync.Server = server;
    sync.User = user;
    sync.FileSystem = io.Files;
    sync.ICalWriter = &tessaly_write_icalendar;
    const TSyncResult result =
        diary ? SyncDiary(options.Book, sync, {&tessaly_write_icalendar, &tessaly_read_icalendar},
                          *client)
              : SyncBook(options.Book, sync, *client);
    for (const std::string& note : result.Notes)
        io.Err << note << '\n';
    if (result.CreatedCollection)
        io.Out << (diary ? "Made the calendar " : "Made the address book ") << result.Collection
               << '\n';
    io.Out << SyncResultText(result) << '\n';
    if (!result.Ok) {
        io.Err << "The sync of " << options.Book << " stopped: " << result.Failure
               << "\nWhat was done is kept; the next sync goes on from there.\n";
        return 1;
    }
    return FinishOutput(io);
}

} // namespace tessaly

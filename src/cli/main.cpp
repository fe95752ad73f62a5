// tessaly-cli: the command-line companion. This file only wires the subcommands;
// commands.cpp does the work.

#include "cli/agenda_commands.h"
#include "cli/commands.h"
#include "cli/edit_commands.h"
#include "cli/exchange_commands.h"
#include "cli/ical_export.h"
#include "cli/list_commands.h"
#include "cli/print_commands.h"
#include "cli/sync_commands.h"
#include "cli/vcard_commands.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// Success only once everything printed has reached standard output: a full disk or a
// closed pipe turns it into a failure with a message.
int Finished(int status) {
    std::cout.flush();
    const bool written = std::cout.good() && std::fflush(stdout) == 0 && !std::ferror(stdout);
    const int error = errno;
    if (std::fclose(stdout) != 0 || !written) {
        if (status == 0)
            std::cerr << "tessaly-cli: standard output could not be written: "
                      << std::strerror(written ? errno : error) << '\n';
        return status == 0 ? 1 : status;
    }
    return status;
}

// A standard stream the caller closed is held by /dev/null opened for reading: no file
// the command opens then takes its number (output meant for the terminal would land
// in a book), and writing to it still fails as writing to a closed stream does.
void HoldClosedStandardStreams() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        const int held = ::open("/dev/null", O_RDONLY);
        if (held >= 0 && held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    using namespace tessaly;
    HoldClosedStandardStreams();
    return Finished([&]() -> int {
        CLI::App app{"tessaly-cli: create, check, dump and load Tessaly address books and diaries"};
        app.require_subcommand(1);

        std::string book;
        std::string configDir = DefaultConfigDirectory();
        bool force = false;
        TWriteOptions writing;
        std::string waitText = std::to_string(writing.WaitSeconds);

        auto* cmdNew =
            app.add_subcommand("new", "Create a new book from the defaults file and save it");
        cmdNew->add_option("BOOK", book, "The book file to create")->required();
        cmdNew->add_option("--config-dir", configDir, "Where TESSALY.DEF is looked for")
            ->capture_default_str();
        cmdNew->add_flag("--force", force, "Replace an existing file");

        auto* cmdCheck =
            app.add_subcommand("check", "Print OK for a valid book or diary, else what is wrong");
        cmdCheck->add_option("BOOK", book, "The book or diary (.TDY) file to check")->required();

        auto* cmdDump = app.add_subcommand("dump", "Print the whole book or diary as JSON");
        cmdDump->add_option("BOOK", book, "The book or diary (.TDY) file to print")->required();

        auto* cmdLoad =
            app.add_subcommand("load", "Write a book or diary from JSON on standard input");
        cmdLoad->add_option("BOOK", book, "The book or diary (.TDY) file to write")->required();
        cmdLoad->add_flag("--force", writing.Force,
                          "Replace a book another program changed while it was written");

        auto* cmdSample = app.add_subcommand("sample", "Write a sample book of a dozen entries");
        cmdSample->add_option("BOOK", book, "The book file to write")->required();
        cmdSample->add_flag("--force", force, "Replace an existing file");

        auto* cmdDefaults =
            app.add_subcommand("defaults", "Write the defaults file for new books from a book");
        cmdDefaults->add_option("BOOK", book, "The book whose lists become the defaults")
            ->required();
        cmdDefaults->add_option("--config-dir", configDir, "Where TESSALY.DEF is written")
            ->capture_default_str();

        std::optional<std::string> searchName;
        auto* cmdList =
            app.add_subcommand("list", "Print the entry list in order, one display text a line");
        cmdList->add_option("BOOK", book, "The book file to list")->required();
        cmdList->add_option("--search", searchName,
                            "A saved search to list by instead of the active one");

        auto* cmdSearches =
            app.add_subcommand("searches", "Print the saved searches and their rules");
        cmdSearches->add_option("BOOK", book, "The book file to read")->required();

        TEntrySelector which;
        std::optional<std::string> indexText;
        std::optional<std::string> stampText;
        bool untag = false;
        auto* cmdAdd = app.add_subcommand("add", "Add the entry given as JSON on standard input");
        cmdAdd->add_option("BOOK", book, "The book file to change")->required();
        auto* cmdDelete = app.add_subcommand("delete", "Delete one entry");
        auto* cmdTag = app.add_subcommand("tag", "Tag one entry or all entries");
        for (auto* cmd : {cmdDelete, cmdTag}) {
            cmd->add_option("BOOK", book, "The book file to change")->required();
            auto* pick = cmd->add_option_group("entry", "Which entry");
            pick->add_option("--index", indexText, "Its position in Entries, from 0");
            pick->add_option("--stamp", stampText, "Its Stamp as dump prints it");
            if (cmd == cmdTag)
                pick->add_flag("--all", which.All, "Every entry of the book");
            pick->require_option(1);
        }
        for (auto* cmd : {cmdAdd, cmdDelete, cmdTag})
            cmd->add_flag("--force", writing.Force,
                          "Write even when another program changed the book since it was read");
        for (auto* cmd : {cmdNew, cmdLoad, cmdSample, cmdAdd, cmdDelete, cmdTag})
            cmd->add_option("--wait", waitText,
                            "Seconds to wait while another program is changing the book")
                ->capture_default_str();
        cmdTag->add_flag("--off", untag, "Remove the tag instead");

        std::vector<std::string> files;
        std::string from;
        std::string to;
        std::string now;
        auto* cmdAgenda = app.add_subcommand(
            "agenda", "Print every event and reminder of a date range, one occurrence a line");
        cmdAgenda->add_option("FILE", files, "Books and diaries (.TDY)")->required();
        cmdAgenda->add_option("--from", from, "First day, YYYY-MM-DD")->required();
        cmdAgenda->add_option("--to", to, "Last day, YYYY-MM-DD")->required();

        auto* cmdDue =
            app.add_subcommand("due", "Print the reminders whose alarm is due at a moment");
        cmdDue->add_option("FILE", files, "Books and diaries (.TDY)")->required();
        cmdDue->add_option("--now", now, "The moment, \"YYYY-MM-DD HH:MM\"")->required();

        std::optional<std::string> icalFrom;
        std::optional<std::string> icalTo;
        auto* cmdICal =
            app.add_subcommand("ical", "Write the events and reminders as an iCalendar calendar");
        cmdICal->add_option("FILE", files, "Books and diaries (.TDY)")->required();
        cmdICal->add_option("--from", icalFrom, "Only events standing on or after this day");
        cmdICal->add_option("--to", icalTo, "Only events standing on or before this day");

        auto* cmdVCard = app.add_subcommand("vcard", "Export entries as vCards, or import vCards");
        cmdVCard->require_subcommand(1);
        TVCardExportOptions vcardExport;
        auto* cmdVCardExport = cmdVCard->add_subcommand(
            "export", "Print the entries of a book as vCards on standard output");
        cmdVCardExport->add_option("BOOK", book, "The book file to read")->required();
        cmdVCardExport
            ->add_option("--selection", vcardExport.Selection,
                         "all, tagged or entry (with --entry)")
            ->capture_default_str();
        cmdVCardExport->add_option("--entry", vcardExport.Entry, "Its position in Entries, from 0");
        cmdVCardExport->add_option("--version", vcardExport.Version, "vCard version, 3 or 4")
            ->capture_default_str();
        std::string vcardFile;
        auto* cmdVCardImport =
            cmdVCard->add_subcommand("import", "Add the vCards of a file to a book as new entries");
        cmdVCardImport->add_option("BOOK", book, "The book file to change")->required();
        cmdVCardImport->add_option("FILE", vcardFile, "The .vcf file to read")->required();
        cmdVCardImport->add_flag(
            "--force", writing.Force,
            "Write even when another program changed the book since it was read");
        cmdVCardImport
            ->add_option("--wait", waitText,
                         "Seconds to wait while another program is changing the book")
            ->capture_default_str();

        std::string input;
        std::optional<std::string> importTemplate;
        auto* cmdImport = app.add_subcommand(
            "import", "Add an entry or event for every line of a delimited text file");
        cmdImport->add_option("FILE", book, "The book or diary (.TDY) to import into")->required();
        cmdImport->add_option("INPUT", input, "The delimited text file")->required();
        cmdImport->add_option("--template", importTemplate,
                              "The import template (default: the book's or diary's default)");
        cmdImport->add_option("--config-dir", configDir, "Where TESSALY.TPI is looked for")
            ->capture_default_str();
        cmdImport->add_flag("--force", writing.Force,
                            "Write even when another program changed the book since it was read");
        cmdImport
            ->add_option("--wait", waitText,
                         "Seconds to wait while another program is changing the book")
            ->capture_default_str();

        TExportRequest exporting;
        auto* cmdExport = app.add_subcommand(
            "export", "Write entries, reminders, call logs or diary events as delimited text");
        cmdExport->add_option("FILE", exporting.Path, "The book or diary (.TDY) to export")
            ->required();
        cmdExport
            ->add_option("OUTPUT", exporting.Output, "The file to write; - for standard output")
            ->required();
        cmdExport->add_option("--template", exporting.Template,
                              "The export template (default: the book's or diary's default)");
        cmdExport->add_option("--selection", exporting.Selection, "all, tagged, list or entry")
            ->capture_default_str();
        cmdExport->add_option("--entry", exporting.Entry,
                              "The entry of --selection entry, its position from 0");
        cmdExport->add_option("--search", exporting.Search,
                              "The saved search of --selection list (default: the active one)");
        cmdExport->add_option("--from", exporting.From, "Diaries: the first day, YYYY-MM-DD");
        cmdExport->add_option("--to", exporting.To, "Diaries: the last day, YYYY-MM-DD");
        cmdExport->add_flag("--no-completed", exporting.NoCompleted,
                            "Diaries: leave completed events out");
        cmdExport
            ->add_option("--addresses", exporting.Addresses,
                         "Entries: all, first, or the name of an address template")
            ->capture_default_str();
        cmdExport->add_option("--config-dir", configDir, "Where TESSALY.TPE is looked for")
            ->capture_default_str();
        auto* cmdPapers = app.add_subcommand("papers", "Print the paper sizes, one a line");
        auto* cmdLayouts = app.add_subcommand("layouts", "Print the page layouts, one a line");
        auto* cmdReports = app.add_subcommand("reports", "Print the quick reports, one a line");
        for (auto* cmd : {cmdPapers, cmdLayouts, cmdReports})
            cmd->add_option("--config-dir", configDir, "The configuration folder")
                ->capture_default_str();
        TPrintOptions printing;
        auto* cmdPrint = app.add_subcommand(
            "print", "Print a book or diary through a page layout or a quick report");
        cmdPrint->add_option("FILE", printing.File, "The book or diary (.TDY)")->required();
        auto* through = cmdPrint->add_option_group("through", "What prints it");
        through->add_option("--layout", printing.Layout, "A page layout's name");
        through->add_option("--report", printing.Report, "A quick report's name");
        through->require_option(1);
        cmdPrint->add_option("--config-dir", configDir, "The configuration folder")
            ->capture_default_str();
        cmdPrint->add_option("--selection", printing.Selection, "entry, list, tagged or all");
        cmdPrint->add_option("--entry", printing.Entry,
                             "The entry at this place of the list, from 0");
        cmdPrint->add_option("--search", printing.Search, "The saved search the list is made by");
        cmdPrint->add_option("--from", printing.From, "The first day printed, YYYY-MM-DD");
        cmdPrint->add_option("--to", printing.To, "The last day printed, YYYY-MM-DD");
        cmdPrint->add_flag("--no-completed", printing.NoCompleted, "Leave completed reminders out");
        cmdPrint->add_option("--copies", printing.Copies, "Copies, or labels per entry");
        cmdPrint->add_option("--label-fill", printing.LabelFill, "sheet, row, one or copies");
        cmdPrint->add_option("--start-label", printing.StartLabel, "The first label, from 1");
        cmdPrint->add_flag("--all-addresses", printing.AllAddresses, "Every address of an entry");
        cmdPrint->add_option("--sort-field", printing.SortField, "The sort field, -1 to 21");
        cmdPrint->add_option("--device", printing.Device, "The device described in JSON");
        cmdPrint->add_option("--now", printing.Now, "The moment of printing, \"YYYY-MM-DD HH:MM\"");
        auto* output = cmdPrint->add_option_group("output", "Where the pages go");
        output->add_option("--pdf", printing.Pdf, "Write the pages as a PDF");
        output->add_flag("--plan", printing.Plan, "Write the planned pages as JSON");
        output->add_option("--printer", printing.Printer,
                           "Print on this printer of the system's print service");
        output->require_option(1);

        TSyncCommandOptions syncing;
        auto* cmdSync = app.add_subcommand(
            "sync",
            "Synchronise a book with its address book, or a diary with its calendar, on a server");
        cmdSync->add_option("BOOK", syncing.Book, "The book (.ADR) or diary (.TDY)")->required();
        cmdSync->add_option("--server", syncing.Server,
                            "The server's or the address book's URL (remembered for later runs)");
        cmdSync->add_option("--user", syncing.User,
                            "The user name on the server (remembered with the server)");
        cmdSync->add_option("--password-file", syncing.PasswordFile,
                            "A file readable by its owner alone, the password on its first line");

        try {
            app.parse(argc, argv);
        } catch (const CLI::ParseError& e) {
            return app.exit(e); // help and version print on standard output and end well
        }

        // The process ends with the command: the system takes the book back at once.
        LeaveBooksAtExit(true);
        const TCliStreams io{std::cin, std::cout, std::cerr};
        long long wait = 0;
        if (!ParseDecimal(waitText, 0, 3600, wait)) {
            std::cerr << "--wait must be a decimal number of seconds from 0 to 3600, not \""
                      << waitText << "\"\n";
            return 1;
        }
        writing.WaitSeconds = static_cast<int>(wait);
        if ((*cmdDelete || *cmdTag) && !ParseEntrySelector(indexText, stampText, which, io))
            return 1;

        if (*cmdNew)
            return CommandNew(book, configDir, force, io, writing);
        if (*cmdCheck)
            return CommandCheck(book, io);
        if (*cmdDump)
            return CommandDump(book, io);
        if (*cmdLoad)
            return CommandLoad(book, io, writing);
        if (*cmdSample)
            return CommandSample(book, force, io, writing);
        if (*cmdDefaults)
            return CommandDefaults(book, configDir, io);
        if (*cmdList)
            return CommandList(book, searchName, io);
        if (*cmdSearches)
            return CommandSearches(book, io);
        if (*cmdAdd)
            return CommandAdd(book, io, writing);
        if (*cmdDelete)
            return CommandDelete(book, which, io, writing);
        if (*cmdTag)
            return CommandTag(book, which, !untag, io, writing);
        if (*cmdVCardExport)
            return CommandVCardExport(book, vcardExport, io);
        if (*cmdVCardImport)
            return CommandVCardImport(book, vcardFile, io, writing);
        if (*cmdImport)
            return CommandImport(book, input, importTemplate, configDir, io, writing);
        if (*cmdExport) {
            exporting.ConfigDir = configDir;
            return CommandExport(exporting, io);
        }
        if (*cmdAgenda)
            return CommandAgenda(files, from, to, io);
        if (*cmdDue)
            return CommandDue(files, now, io);
        if (*cmdPapers)
            return CommandPapers(configDir, io);
        if (*cmdLayouts)
            return CommandLayouts(configDir, io);
        if (*cmdReports)
            return CommandReports(configDir, io);
        if (*cmdPrint) {
            printing.ConfigDir = configDir;
            // The PDF and the printer are left to the program that links the page
            // renderer.
            if ((printing.Pdf && !LinkedPdfWriter()) ||
                (printing.Printer && !LinkedPrinterWriter())) {
                const std::string reason =
                    RunProgramBeside(kPrintProgramName, "TESSALY_PRINT_HANDED_OVER", argv);
                io.Err << "tessaly-cli: the page renderer cannot be loaded: " << reason << '\n';
                return 1;
            }
            return CommandPrint(printing, io);
        }
        if (*cmdSync) {
            // The network is left to the program that links it.
            const TSyncNetwork network = LinkedSyncNetwork();
            if (!network.MakeClient) {
                const std::string reason =
                    RunProgramBeside(kSyncProgramName, kSyncHandedOver, argv);
                io.Err << "tessaly-cli: the network cannot be loaded: " << reason << '\n';
                return 1;
            }
            return CommandSync(syncing, network, io);
        }
        if (*cmdICal) {
            // tessaly-cli starts without libical and leaves the calendar to the
            // program that has it.
            if (!LinkedICalWriter()) {
                // Nothing is said before the hand-over: from then on the other program
                // speaks for itself.
                const std::string reason = RunICalProgram(argv);
                io.Err << "tessaly-cli: the iCalendar export cannot be loaded: " << reason << '\n';
                return 1;
            }
            return CommandICal(files, icalFrom, icalTo, io);
        }
        return 1;
    }());
}

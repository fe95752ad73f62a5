// tessaly-cli: the command-line companion. This file only wires the subcommands;
// commands.cpp does the work.

#include "cli/commands.h"
#include "cli/edit_commands.h"
#include "cli/list_commands.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>
#include <string>

int main(int argc, char** argv) {
    using namespace tessaly;

    CLI::App app{"tessaly-cli: create, check, dump and load Tessaly address books"};
    app.require_subcommand(1);

    std::string book;
    std::string configDir = DefaultConfigDirectory();
    bool force = false;

    auto* cmdNew =
        app.add_subcommand("new", "Create a new book from the defaults file and save it");
    cmdNew->add_option("BOOK", book, "The book file to create")->required();
    cmdNew->add_option("--config-dir", configDir, "Where TESSALY.DEF is looked for")
        ->capture_default_str();
    cmdNew->add_flag("--force", force, "Replace an existing file");

    auto* cmdCheck = app.add_subcommand("check", "Print OK for a valid book, else what is wrong");
    cmdCheck->add_option("BOOK", book, "The book file to check")->required();

    auto* cmdDump = app.add_subcommand("dump", "Print the whole book as JSON");
    cmdDump->add_option("BOOK", book, "The book file to print")->required();

    auto* cmdLoad = app.add_subcommand("load", "Write a book from JSON on standard input");
    cmdLoad->add_option("BOOK", book, "The book file to write")->required();

    auto* cmdSample = app.add_subcommand("sample", "Write a sample book of a dozen entries");
    cmdSample->add_option("BOOK", book, "The book file to write")->required();
    cmdSample->add_flag("--force", force, "Replace an existing file");

    auto* cmdDefaults =
        app.add_subcommand("defaults", "Write the defaults file for new books from a book");
    cmdDefaults->add_option("BOOK", book, "The book whose lists become the defaults")->required();
    cmdDefaults->add_option("--config-dir", configDir, "Where TESSALY.DEF is written")
        ->capture_default_str();

    std::optional<std::string> searchName;
    auto* cmdList =
        app.add_subcommand("list", "Print the entry list in order, one display text a line");
    cmdList->add_option("BOOK", book, "The book file to list")->required();
    cmdList->add_option("--search", searchName,
                        "A saved search to list by instead of the active one");

    auto* cmdSearches = app.add_subcommand("searches", "Print the saved searches and their rules");
    cmdSearches->add_option("BOOK", book, "The book file to read")->required();

    TEntrySelector which;
    bool untag = false;
    auto* cmdAdd = app.add_subcommand("add", "Add the entry given as JSON on standard input");
    cmdAdd->add_option("BOOK", book, "The book file to change")->required();
    auto* cmdDelete = app.add_subcommand("delete", "Delete one entry");
    auto* cmdTag = app.add_subcommand("tag", "Tag one entry or all entries");
    for (auto* cmd : {cmdDelete, cmdTag}) {
        cmd->add_option("BOOK", book, "The book file to change")->required();
        auto* pick = cmd->add_option_group("entry", "Which entry");
        pick->add_option("--index", which.Index, "Its position in Entries, from 0");
        pick->add_option("--stamp", which.Stamp, "Its Stamp as dump prints it");
        if (cmd == cmdTag)
            pick->add_flag("--all", which.All, "Every entry of the book");
        pick->require_option(1);
    }
    cmdTag->add_flag("--off", untag, "Remove the tag instead");

    CLI11_PARSE(app, argc, argv);

    // The process ends with the command: the system takes the book back at once.
    LeaveBooksAtExit(true);
    const TCliStreams io{std::cin, std::cout, std::cerr};
    if (*cmdNew)
        return CommandNew(book, configDir, force, io);
    if (*cmdCheck)
        return CommandCheck(book, io);
    if (*cmdDump)
        return CommandDump(book, io);
    if (*cmdLoad)
        return CommandLoad(book, io);
    if (*cmdSample)
        return CommandSample(book, force, io);
    if (*cmdDefaults)
        return CommandDefaults(book, configDir, io);
    if (*cmdList)
        return CommandList(book, searchName, io);
    if (*cmdSearches)
        return CommandSearches(book, io);
    if (*cmdAdd)
        return CommandAdd(book, io);
    if (*cmdDelete)
        return CommandDelete(book, which, io);
    if (*cmdTag)
        return CommandTag(book, which, !untag, io);
    return 1;
}

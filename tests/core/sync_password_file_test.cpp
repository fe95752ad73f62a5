#include "core/sync/password_file.h"
#include "tests/support/scratch_dir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tessaly {
namespace {

using testing::TScratchDir;

std::string Make(const TScratchDir& dir, const std::string& name, const std::string& text,
                 mode_t mode) {
    const std::string path = dir.File(name);
    std::ofstream(path, std::ios::binary) << text;
    ::chmod(path.c_str(), mode);
    return path;
}

TEST(PasswordFile, APrivateFileGivesItsFirstLine) {
    TScratchDir dir;
    const TPasswordRead plain = ReadPasswordFile(Make(dir, "a", "s3cr\xC3\xA9t\n", 0600));
    ASSERT_TRUE(plain.Ok) << plain.Error;
    EXPECT_EQ(plain.Password, "s3cr\xC3\xA9t");
    // Spaces belong to the password; the line end and what follows do not.
    const TPasswordRead crlf = ReadPasswordFile(Make(dir, "b", " pass word \r\nsecond\r\n", 0400));
    ASSERT_TRUE(crlf.Ok) << crlf.Error;
    EXPECT_EQ(crlf.Password, " pass word ");
    EXPECT_EQ(ReadPasswordFile(Make(dir, "c", "noend", 0600)).Password, "noend");

    // A link to a private file is followed; the link's own mode means nothing.
    std::filesystem::create_symlink(dir.File("a"), dir.File("link"));
    EXPECT_TRUE(ReadPasswordFile(dir.File("link")).Ok);
}

TEST(PasswordFile, AFileOthersCanReachIsRefused) {
    TScratchDir dir;
    for (const mode_t mode : {0640, 0604, 0644, 0620, 0602, 0610}) {
        const std::string path = Make(dir, "p" + std::to_string(mode), "secret\n", mode);
        const TPasswordRead r = ReadPasswordFile(path);
        EXPECT_FALSE(r.Ok) << std::oct << mode;
        EXPECT_TRUE(r.Password.empty());
        EXPECT_NE(r.Error.find("chmod 600 " + path), std::string::npos) << r.Error;
    }
}

TEST(PasswordFile, WhatHoldsNoPasswordIsRefused) {
    TScratchDir dir;
    EXPECT_NE(ReadPasswordFile(dir.File("missing")).Error.find("cannot be read"),
              std::string::npos);
    EXPECT_FALSE(ReadPasswordFile(Make(dir, "empty", "", 0600)).Ok);
    EXPECT_FALSE(ReadPasswordFile(Make(dir, "blank", "\nsecond\n", 0600)).Ok);
    EXPECT_FALSE(ReadPasswordFile(Make(dir, "big", std::string(10000, 'x'), 0600)).Ok);
    std::filesystem::create_directory(dir.File("folder"));
    ::chmod(dir.File("folder").c_str(), 0700);
    EXPECT_FALSE(ReadPasswordFile(dir.File("folder")).Ok);
}

} // namespace
} // namespace tessaly

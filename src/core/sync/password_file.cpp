#include "core/sync/password_file.h"

#include "core/system/file_io.h"

#include <sys/stat.h>
#include <vector>

namespace tessaly {

namespace {

// A password file of any sense is a line or two; more is some other file named by mistake.
constexpr std::int64_t kLongest = 4096;

TPasswordRead Refused(std::string why) {
    TPasswordRead r;
    r.Error = std::move(why);
    return r;
}

} // namespace

TPasswordRead ReadPasswordFile(const std::string& path, IFileSystem& fs) {
    TFileStat st;
    TIoResult failure;
    // The mode is taken from the file opened, so that it cannot be swapped between
    // the check and the read.
    const int fd = OpenForReading(path, st, failure, fs);
    if (fd < 0)
        return Refused("The password file " + path + " cannot be read: " + failure.Error);
    std::vector<char> bytes;
    std::string why;
    if (st.Mode & (S_IRWXG | S_IRWXO)) {
        why = "The password file " + path +
              " may be read or changed by other users; make it private with: chmod 600 " + path;
    } else if (st.Size > kLongest) {
        why = "The password file " + path + " is too long to hold a password";
    } else {
        bytes.resize(static_cast<std::size_t>(st.Size));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const long n = fs.Read(fd, bytes.data() + got, bytes.size() - got);
            if (n <= 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        if (got < bytes.size())
            why = "The password file " + path + " could not be read whole";
    }
    fs.Close(fd);
    if (!why.empty())
        return Refused(why);
    std::string text(bytes.begin(), bytes.end());
    const std::size_t end = text.find_first_of("\r\n");
    if (end != std::string::npos)
        text.resize(end);
    if (text.empty())
        return Refused("The password file " + path + " holds no password on its first line");
    TPasswordRead r;
    r.Ok = true;
    r.Password = std::move(text);
    return r;
}

} // namespace tessaly

#include "atomicfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::string describe(const std::string &what, const std::string &path)
{
    return what + " " + path + ": " + std::strerror(errno);
}

std::string directoryOf(const std::string &path)
{
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}
}

bool AtomicFile::write(const std::string &path, const std::string &data, std::string &error)
{
    const std::string directory = directoryOf(path);
    std::string temporary = directory + "/.incoming-XXXXXX";
    int fd = mkstemp(&temporary[0]);
    if (fd < 0) {
        error = describe("cannot create a temporary file in", directory);
        return false;
    }

    auto fail = [&](const std::string &what) {
        error = describe(what, temporary);
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.c_str());
        return false;
    };

    size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail("cannot write");
        }
        written += static_cast<size_t>(n);
    }
    if (::fchmod(fd, 0600) != 0)
        return fail("cannot set the mode of");
    if (::fsync(fd) != 0)
        return fail("cannot flush");
    const int closing = fd;
    fd = -1;
    if (::close(closing) != 0)
        return fail("cannot close");
    if (::rename(temporary.c_str(), path.c_str()) != 0)
        return fail("cannot rename to " + path + ":");

    // The rename itself is durable only once the directory is flushed.
    const int dir = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir < 0) {
        error = describe("cannot open directory", directory);
        return false;
    }
    const bool synced = ::fsync(dir) == 0;
    if (!synced)
        error = describe("cannot flush directory", directory);
    ::close(dir);
    return synced;
}

bool AtomicFile::read(const std::string &path, std::string &data)
{
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    data.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        data.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

bool AtomicFile::makeDirectories(const std::string &path, std::string &error)
{
    std::string partial;
    size_t position = 0;
    while (position != std::string::npos) {
        position = path.find('/', position + 1);
        partial = path.substr(0, position);
        if (partial.empty())
            continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            error = describe("cannot create directory", partial);
            return false;
        }
    }
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        error = "not a directory: " + path;
        return false;
    }
    return true;
}

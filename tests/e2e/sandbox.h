#ifndef SANDBOX_H
#define SANDBOX_H

#include <QtCore>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

// A private corner of the machine for the end-to-end run: a network of its own
// (only loopback), so that the test's scoring service can take the fixed port the
// program sends to without clashing with a service already running there. Every
// process the test starts afterwards (program, service, xdotool) lives in it; the
// X display and the audio server are reached through their socket files, which
// the sandbox still sees.
class Sandbox
{
public:
    // Enters the private mount and network namespaces. Must run first in main,
    // while the process has a single thread. False, with the reason, when the
    // machine does not allow it.
    static bool enter(QString *problem)
    {
        const QByteArray uid = QByteArray::number(uint(::geteuid())), gid = QByteArray::number(uint(::getegid()));
        if (::unshare(CLONE_NEWNS | CLONE_NEWNET) != 0) {
            // Without root: become root of a user namespace of our own first.
            if (uid == "0" || ::unshare(CLONE_NEWUSER | CLONE_NEWNS | CLONE_NEWNET) != 0)
                return fail("unshare", problem);
            if (!writeFile("/proc/self/setgroups", "deny") || !writeFile("/proc/self/uid_map", "0 " + uid + " 1")
                || !writeFile("/proc/self/gid_map", "0 " + gid + " 1"))
                return fail("mapping the user namespace", problem);
        }
        // Mounts made from now on stay in this namespace.
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return fail("making mounts private", problem);
        // The loopback interface of a new network namespace starts down.
        const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
        ifreq request;
        std::memset(&request, 0, sizeof request);
        std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
        bool up = s >= 0 && ::ioctl(s, SIOCGIFFLAGS, &request) == 0;
        request.ifr_flags |= IFF_UP | IFF_RUNNING;
        up = up && ::ioctl(s, SIOCSIFFLAGS, &request) == 0;
        if (s >= 0)
            ::close(s);
        return up || fail("bringing up loopback", problem);
    }

private:
    static bool fail(const char *what, QString *problem)
    {
        *problem = QString("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    static bool writeFile(const char *path, const QByteArray &text)
    {
        const int fd = ::open(path, O_WRONLY);
        const bool ok = fd >= 0 && ::write(fd, text.constData(), size_t(text.size())) == text.size();
        if (fd >= 0)
            ::close(fd);
        return ok;
    }
};

#endif // SANDBOX_H

#include "sandbox.h"

#include <QFile>
#include <QProcess>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
QString failure(const char *what)
{
    return QString("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(errno)));
}

bool writeFile(const char *path, const QByteArray &text)
{
    const int fd = ::open(path, O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, text.constData(), size_t(text.size())) == text.size();
    ::close(fd);
    return ok;
}

// The loopback interface of a new network namespace starts down.
bool loopbackUp(QString *problem)
{
    const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (s < 0) {
        *problem = failure("socket");
        return false;
    }
    ifreq request;
    std::memset(&request, 0, sizeof request);
    std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
    bool ok = ::ioctl(s, SIOCGIFFLAGS, &request) == 0;
    if (ok) {
        request.ifr_flags |= IFF_UP | IFF_RUNNING;
        ok = ::ioctl(s, SIOCSIFFLAGS, &request) == 0;
    }
    if (!ok)
        *problem = failure("bringing up loopback");
    ::close(s);
    return ok;
}
}

bool Sandbox::enter(QString *problem)
{
    const uid_t uid = ::geteuid();
    const gid_t gid = ::getegid();
    if (::unshare(CLONE_NEWNS | CLONE_NEWNET) != 0) {
        if (uid == 0) {
            *problem = failure("unshare");
            return false;
        }
        // Without root: become root of a user namespace of our own first.
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS | CLONE_NEWNET) != 0) {
            *problem = failure("unshare (user namespace)");
            return false;
        }
        if (!writeFile("/proc/self/setgroups", "deny")
            || !writeFile("/proc/self/uid_map", QByteArray("0 ") + QByteArray::number(uint(uid)) + " 1")
            || !writeFile("/proc/self/gid_map", QByteArray("0 ") + QByteArray::number(uint(gid)) + " 1")) {
            *problem = failure("mapping the user namespace");
            return false;
        }
    }
    // Mounts made from now on stay in this namespace.
    if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
        *problem = failure("making mounts private");
        return false;
    }
    return loopbackUp(problem);
}

bool Sandbox::trustOnly(const QString &caCertificate, QString *problem)
{
    store.reset(new QTemporaryDir);
    if (!store->isValid()) {
        *problem = "no temporary directory";
        return false;
    }
    // OpenSSL finds an authority in a directory by the hash of its subject name.
    QProcess openssl;
    openssl.start("openssl", {"x509", "-hash", "-noout", "-in", caCertificate});
    if (!openssl.waitForFinished(10000) || openssl.exitCode() != 0) {
        *problem = "openssl x509 -hash failed: " + QString::fromLocal8Bit(openssl.readAllStandardError());
        return false;
    }
    const QString hash = QString::fromLatin1(openssl.readAllStandardOutput()).trimmed();
    if (!QFile::copy(caCertificate, store->filePath(hash + ".0"))
        || !QFile::copy(caCertificate, store->filePath("ca-certificates.crt"))) {
        *problem = "cannot copy " + caCertificate;
        return false;
    }
    if (::mount(QFile::encodeName(store->path()).constData(), "/etc/ssl/certs", nullptr, MS_BIND, nullptr) != 0) {
        *problem = failure("mounting the private certificate store");
        return false;
    }
    return true;
}

Sandbox::~Sandbox()
{
    if (store)
        ::umount2("/etc/ssl/certs", MNT_DETACH);
}

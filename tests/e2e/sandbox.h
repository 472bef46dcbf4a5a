#ifndef SANDBOX_H
#define SANDBOX_H

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A private corner of the machine for the end-to-end run: a network of its own
// (only loopback), so that the test's scoring service can take the fixed port the
// program sends to without clashing with a service already running there, and a
// view of the system's certificate store of its own, so that the real program
// trusts the test's certificate authority while the machine's store stays as it
// is. Every process the test starts afterwards (program, service, xdotool) lives
// in it; the X display and the audio server are reached through their socket
// files, which the sandbox still sees.
class Sandbox
{
public:
    // Enters the private mount and network namespaces. Must run first in main,
    // while the process has a single thread. False, with the reason, when the
    // machine does not allow it.
    static bool enter(QString *problem);

    // Replaces, inside the sandbox only, the system's trusted authorities by the
    // given certificate (a PEM file).
    bool trustOnly(const QString &caCertificate, QString *problem);

    ~Sandbox();

private:
    std::unique_ptr<QTemporaryDir> store;
};

#endif // SANDBOX_H

#include "devcertificates.h"

#include "atomicfile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <iostream>
#include <openssl/pem.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
const char kConfig[] = R"([req]
distinguished_name = dn
prompt = no
[dn]
CN = Rumbolo scoring service development CA
[ca_ext]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
# Whoever holds the key can vouch for this machine's own names only.
nameConstraints = critical,permitted;DNS:localhost,permitted;IP:127.0.0.1/255.255.255.255,permitted;IP:::1/ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff
[server_ext]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:localhost,IP:127.0.0.1,IP:::1
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
)";

bool exists(const std::string &path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// Whether the certificate in the file carries X.509 name constraints.
bool hasNameConstraints(const std::string &path)
{
    FILE *file = std::fopen(path.c_str(), "r");
    if (!file)
        return false;
    X509 *certificate = PEM_read_X509(file, nullptr, nullptr, nullptr);
    std::fclose(file);
    const bool constrained = certificate && X509_get_ext_by_NID(certificate, NID_name_constraints, -1) >= 0;
    X509_free(certificate);
    return constrained;
}

// Private keys are for their owner's eyes only, whatever the umask.
bool keepPrivate(const std::string &path, std::string &error)
{
    struct stat info;
    if (::stat(path.c_str(), &info) == 0 && (info.st_mode & 077) == 0)
        return true;
    if (::chmod(path.c_str(), 0600) == 0)
        return true;
    error = "cannot make " + path + " private: " + std::strerror(errno);
    return false;
}

// Certificates are public: programs of other users of this machine (an
// examiner's Rumbolo) read the authority's certificate to trust the service.
bool makeReadable(const std::string &path, mode_t mode, std::string &error)
{
    struct stat info;
    if (::stat(path.c_str(), &info) == 0 && (info.st_mode & 0777) == mode)
        return true;
    if (::chmod(path.c_str(), mode) == 0)
        return true;
    error = "cannot make " + path + " readable: " + std::strerror(errno);
    return false;
}

// Runs openssl with the arguments, its output going to log; true on exit status 0.
bool openssl(const std::vector<std::string> &arguments, const std::string &log, std::string &error)
{
    std::vector<char *> argv;
    std::string program = "openssl";
    argv.push_back(&program[0]);
    std::vector<std::string> copy = arguments;
    for (std::string &argument : copy)
        argv.push_back(&argument[0]);
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0) {
        error = std::string("cannot start openssl: ") + std::strerror(errno);
        return false;
    }
    if (pid == 0) {
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
        }
        ::execvp("openssl", argv.data());
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            error = std::string("cannot wait for openssl: ") + std::strerror(errno);
            return false;
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "openssl " + arguments.front() + " failed (see " + log + ")";
        return false;
    }
    return true;
}

void removeTree(const std::string &path)
{
    if (DIR *d = ::opendir(path.c_str())) {
        while (dirent *entry = ::readdir(d)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                ::unlink((path + "/" + name).c_str());
        }
        ::closedir(d);
    }
    ::rmdir(path.c_str());
}
}

DevCertificates::DevCertificates(std::string directory)
    : dir(std::move(directory))
{
}

bool DevCertificates::ensure(std::string &error)
{
    if (exists(authorityCertificate()) && exists(serverCertificate()) && exists(serverKey())) {
        if (hasNameConstraints(authorityCertificate()))
            return keepPrivate(serverKey(), error) && (!exists(authorityKey()) || keepPrivate(authorityKey(), error))
                && makeReadable(dir, 0755, error) && makeReadable(authorityCertificate(), 0644, error);
        // Made by an earlier version: an authority that could vouch for any
        // name is replaced by a constrained one.
        std::cerr << "rumbolo-scoring-service: " << authorityCertificate()
                  << " has no name constraints; making a new certificate authority" << std::endl;
        removeTree(dir);
    }
    if (exists(dir)) {
        error = dir + " is incomplete; remove it to make a new authority";
        return false;
    }

    // Everything is made in a folder of its own and renamed into place at the
    // end, so an interrupted first start leaves no half set behind.
    const std::string work = dir + ".new-" + std::to_string(::getpid());
    removeTree(work);
    if (::mkdir(work.c_str(), 0700) != 0) {
        error = "cannot create " + work + ": " + std::strerror(errno);
        return false;
    }
    if (!create(work, error)) {
        removeTree(work);
        return false;
    }
    if (::rename(work.c_str(), dir.c_str()) != 0) {
        removeTree(work);
        // Another instance may have finished first with the same data directory.
        if (exists(authorityCertificate()) && exists(serverCertificate()) && exists(serverKey()))
            return true;
        error = "cannot rename " + work + " to " + dir + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool DevCertificates::create(const std::string &work, std::string &error) const
{
    const std::string config = work + "/openssl.cnf";
    const std::string log = work + "/openssl.log";
    if (!AtomicFile::write(config, kConfig, error))
        return false;
    const std::vector<std::string> ecKey = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};

    std::vector<std::string> ca = {"req", "-x509", "-config", config, "-extensions", "ca_ext", "-days", "3650",
                                   "-keyout", work + "/ca.key", "-out", work + "/ca.crt"};
    ca.insert(ca.end(), ecKey.begin(), ecKey.end());

    std::vector<std::string> request = {"req", "-new", "-config", config, "-subj", "/CN=localhost",
                                        "-keyout", work + "/server.key", "-out", work + "/server.csr"};
    request.insert(request.end(), ecKey.begin(), ecKey.end());

    const std::vector<std::string> sign = {"x509", "-req", "-in", work + "/server.csr", "-CA", work + "/ca.crt",
                                           "-CAkey", work + "/ca.key", "-CAcreateserial", "-CAserial",
                                           work + "/ca.srl", "-days", "825", "-extfile", config,
                                           "-extensions", "server_ext", "-out", work + "/server.crt"};

    return openssl(ca, log, error) && keepPrivate(work + "/ca.key", error) && openssl(request, log, error)
        && keepPrivate(work + "/server.key", error) && openssl(sign, log, error)
        && makeReadable(work + "/ca.crt", 0644, error) && makeReadable(work + "/server.crt", 0644, error)
        && makeReadable(work, 0755, error);
}

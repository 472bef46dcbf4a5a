#ifndef DEVCERTIFICATES_H
#define DEVCERTIFICATES_H

#include <string>

// The service's own development certificate authority and the server
// certificate it signs (for "localhost", 127.0.0.1 and ::1), kept in a folder of
// the data directory and made with the openssl command on first use. Clients
// trust the service by trusting the authority's certificate.
class DevCertificates
{
public:
    explicit DevCertificates(std::string directory);

    // Creates the authority and the server certificate unless both are there.
    bool ensure(std::string &error);

    std::string authorityCertificate() const { return dir + "/ca.crt"; }
    std::string serverCertificate() const { return dir + "/server.crt"; }
    std::string serverKey() const { return dir + "/server.key"; }

private:
    bool create(const std::string &work, std::string &error) const;

    std::string dir;
};

#endif // DEVCERTIFICATES_H

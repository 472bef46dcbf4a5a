#ifndef DEVCERTIFICATES_H
#define DEVCERTIFICATES_H

#include <string>

// The service's own development certificate authority and the server
// certificate it signs (for "localhost", 127.0.0.1 and ::1), kept in a folder
// and made with the openssl command on first use. The authority's name
// constraints permit only those names, so its key cannot vouch for any other
// site; the keys are readable by their owner only, the folder and the
// certificates by everybody. Clients trust the service by trusting the
// authority's certificate.
class DevCertificates
{
public:
    explicit DevCertificates(std::string directory);

    // Creates the authority and the server certificate unless both are there
    // (an authority without name constraints is made anew).
    bool ensure(std::string &error);

    std::string authorityCertificate() const { return dir + "/ca.crt"; }
    std::string serverCertificate() const { return dir + "/server.crt"; }
    std::string serverKey() const { return dir + "/server.key"; }
    std::string authorityKey() const { return dir + "/ca.key"; }

private:
    bool create(const std::string &work, std::string &error) const;

    std::string dir;
};

#endif // DEVCERTIFICATES_H

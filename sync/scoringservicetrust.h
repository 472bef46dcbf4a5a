#ifndef SCORINGSERVICETRUST_H
#define SCORINGSERVICETRUST_H

#include <QString>

// What the program trusts, beyond the system's certificate authorities, to
// reach the scoring service. A build that sends to the local scoring service
// trusts that service's development authority, whose certificate file the
// build names; a build for any other address trusts nothing more.
class ScoringServiceTrust
{
public:
    // The certificate file of the extra authority (empty: none).
    static QString extraAuthority();
    // Adds the extra authority to the process's default TLS configuration, on
    // top of the system's authorities. False, with the reason in the debug
    // output, when the build names one that cannot be read.
    static bool apply();
};

#endif // SCORINGSERVICETRUST_H

#ifndef SCORINGSERVICE_H
#define SCORINGSERVICE_H

#include "accountstore.h"

#include <atomic>
#include <mutex>
#include <string>

namespace httplib {
struct Request;
struct Response;
}

// The HTTPS endpoints the application talks to:
//   GET  /rumbolo/connection/<user>/<password>  -> "rumbolo upload available"
//   POST /rumbolo/upload/<user>/<password>      -> "EXITO" once the archive in the
//                                                  multipart field "myFile" is stored
// User and password are percent-encoded path segments. Anything else gets a
// non-2xx status with a plain-text reason. Accepted archives are kept under
// uploads/<user>/ in the data directory.
class ScoringService
{
public:
    struct Options
    {
        std::string dataDirectory;
        std::string tlsDirectory; // the certificate authority's folder; empty: <dataDirectory>/tls
        std::string host = "127.0.0.1";
        int port = 8443; // 0: any free port
        // Ways to misbehave on purpose, for tests of the application.
        bool refuseCredentials = false; // every account is refused
        int rejectUpload = -1;          // answer the n-th upload (0: every upload) without "EXITO"
        int dropUpload = -1;            // drop the connection while answering the n-th upload (0: every)
        int delayMs = 0;                // wait this long before answering any request
        std::string connectionReply;    // the body of an accepted credential check, when not empty
        std::string uploadReply;        // the body of a stored upload instead of "EXITO", when not empty
    };

    explicit ScoringService(Options options);

    // Prepares the certificates, listens and serves until killed; returns the exit status.
    int run();

private:
    enum class Endpoint { Connection, Upload };

    void handle(Endpoint endpoint, const httplib::Request &request, httplib::Response &response);
    void answerUpload(const std::string &user, const httplib::Request &request, httplib::Response &response);
    bool store(const std::string &user, const std::string &fileName, const std::string &archive, std::string &storedAs,
               std::string &error);
    void log(const std::string &line);

    // Splits the raw request target into the user and password segments.
    static bool credentialsFromTarget(const std::string &target, const std::string &prefix, std::string &user,
                                      std::string &password);
    static bool percentDecode(const std::string &segment, std::string &decoded);
    static std::string safeForFileName(const std::string &text);
    // Client-supplied text as it may go into the log.
    static std::string escapedForLog(const std::string &text);

    Options options;
    AccountStore accounts;
    std::atomic<int> uploads{0};
    std::atomic<unsigned> stored{0};
    std::mutex logMutex;
};

#endif // SCORINGSERVICE_H

// rumbolo-scoring-service: a local stand-in for the scoring service that the
// application sends evaluations to.

#include "accountstore.h"
#include "atomicfile.h"
#include "devcertificates.h"
#include "scoringservice.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {
const char kUsage[] = R"(Usage:
  rumbolo-scoring-service serve --data-dir DIR [--tls-dir TLSDIR] [--host HOST] [--port PORT]
        [--refuse-credentials] [--reject-upload N] [--drop-upload N] [--delay-ms MS]
        [--connection-reply TEXT] [--upload-reply TEXT]
  rumbolo-scoring-service add-account --data-dir DIR USER [--password PASSWORD]
  rumbolo-scoring-service init --data-dir DIR [--tls-dir TLSDIR]

serve        Serves HTTPS on HOST (default 127.0.0.1) and PORT (default 8443; 0 picks a
             free port, printed on start). On first start it creates its development
             certificate authority in TLSDIR (default DIR/tls) and prints where its
             certificate is.
             Accepted archives are stored under DIR/uploads/<user>/. A request body over
             128 MiB, or an archive of more than 2000 entries or whose entries inflate to
             more than 64 MiB each or 512 MiB in all, is refused with status 413.
             For tests it can misbehave:
               --refuse-credentials  refuse every account
               --reject-upload N     answer the N-th upload without "EXITO" (0: every one)
               --drop-upload N       drop the connection while answering the N-th upload (0: every one)
               --delay-ms MS         wait MS milliseconds before answering each request
               --connection-reply TEXT  answer an accepted credential check with TEXT
               --upload-reply TEXT   answer a stored upload with TEXT instead of "EXITO"
add-account  Adds USER to DIR/accounts (or gives it a new password). Without --password the
             password is read as one line from standard input. Only a salted hash is kept.
init         Creates DIR and the development certificate authority in TLSDIR (default
             DIR/tls), as serve does on its first start, and prints where its certificate is.
)";

int usage(const std::string &problem)
{
    if (!problem.empty())
        std::cerr << "rumbolo-scoring-service: " << problem << "\n";
    std::cerr << kUsage;
    return 2;
}

bool number(const std::string &text, int &value)
{
    char *end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || parsed < 0 || parsed > 1000000)
        return false;
    value = static_cast<int>(parsed);
    return true;
}
}

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h")
        return usage(args.empty() ? "no command given" : "");
    const std::string command = args[0];

    ScoringService::Options options;
    std::vector<std::string> positional;
    std::string password;
    bool passwordGiven = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        const bool hasValue = i + 1 < args.size();
        auto value = [&]() { return args[++i]; };
        if (arg == "--data-dir" && hasValue) {
            options.dataDirectory = value();
        } else if (arg == "--tls-dir" && hasValue && (command == "serve" || command == "init")) {
            options.tlsDirectory = value();
        } else if (arg == "--host" && hasValue && command == "serve") {
            options.host = value();
        } else if (arg == "--port" && hasValue && command == "serve") {
            if (!number(value(), options.port) || options.port > 65535)
                return usage("bad port");
        } else if (arg == "--refuse-credentials" && command == "serve") {
            options.refuseCredentials = true;
        } else if (arg == "--reject-upload" && hasValue && command == "serve") {
            if (!number(value(), options.rejectUpload))
                return usage("bad count for --reject-upload");
        } else if (arg == "--drop-upload" && hasValue && command == "serve") {
            if (!number(value(), options.dropUpload))
                return usage("bad count for --drop-upload");
        } else if (arg == "--delay-ms" && hasValue && command == "serve") {
            if (!number(value(), options.delayMs))
                return usage("bad delay");
        } else if (arg == "--connection-reply" && hasValue && command == "serve") {
            options.connectionReply = value();
        } else if (arg == "--upload-reply" && hasValue && command == "serve") {
            options.uploadReply = value();
        } else if (arg == "--password" && hasValue && command == "add-account") {
            password = value();
            passwordGiven = true;
        } else if (arg.rfind("--", 0) == 0) {
            return usage("unknown option or missing value: " + arg);
        } else {
            positional.push_back(arg);
        }
    }
    if (options.dataDirectory.empty())
        return usage("--data-dir is required");

    if (command == "serve") {
        if (!positional.empty())
            return usage("unexpected argument: " + positional.front());
        return ScoringService(options).run();
    }

    if (command == "init") {
        if (!positional.empty())
            return usage("unexpected argument: " + positional.front());
        DevCertificates certificates(options.tlsDirectory.empty() ? options.dataDirectory + "/tls"
                                                                        : options.tlsDirectory);
        std::string error;
        if (!AtomicFile::makeDirectories(options.dataDirectory, error)
            || !certificates.ensure(error)) {
            std::cerr << "rumbolo-scoring-service: " << error << std::endl;
            return 1;
        }
        std::cout << "CA certificate: " << certificates.authorityCertificate() << std::endl;
        return 0;
    }

    if (command == "add-account") {
        if (positional.size() != 1)
            return usage("add-account takes exactly one user name");
        if (!passwordGiven) {
            std::getline(std::cin, password);
            if (!password.empty() && password.back() == '\r')
                password.pop_back();
        }
        std::string error;
        AccountStore store(options.dataDirectory + "/accounts");
        if (!AtomicFile::makeDirectories(options.dataDirectory, error) || !store.add(positional.front(), password, error)) {
            std::cerr << "rumbolo-scoring-service: cannot add the account: " << error << std::endl;
            return 1;
        }
        std::cout << "Account " << positional.front() << " is ready in " << options.dataDirectory << "/accounts"
                  << std::endl;
        return 0;
    }

    return usage("unknown command: " + command);
}

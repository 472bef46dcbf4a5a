#include "scoringservice.h"

#include "archivechecker.h"
#include "atomicfile.h"
#include "devcertificates.h"

#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <csignal>
#include <ctime>
#include <iostream>
#include <thread>
#include <unistd.h>

namespace {
const char kConnectionPrefix[] = "/rumbolo/connection/";
const char kUploadPrefix[] = "/rumbolo/upload/";
// The largest real evaluation: a full battery records 14 answers (one naming
// speed test, eight words read aloud, one text read aloud, four comprehension
// answers), each at most 300 s of 8000 Hz mono 8-bit sound, 2.4 MB; 33.6 MB in
// all, which deflate hardly shrinks. Four times that leaves room to spare.
const size_t kMaxBodyBytes = size_t(128) << 20;

void answer(httplib::Response &response, int status, const std::string &text)
{
    response.status = status;
    response.set_content(text + "\n", "text/plain; charset=utf-8");
}

bool matchesCount(int setting, int count)
{
    return setting == 0 || (setting > 0 && setting == count);
}

std::string timestamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}
}

ScoringService::ScoringService(Options o)
    : options(std::move(o))
    , accounts(options.dataDirectory + "/accounts")
{
}

bool ScoringService::percentDecode(const std::string &segment, std::string &decoded)
{
    auto hex = [](char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    decoded.clear();
    for (size_t i = 0; i < segment.size(); ++i) {
        if (segment[i] != '%') {
            decoded += segment[i];
            continue;
        }
        if (i + 2 >= segment.size())
            return false;
        const int high = hex(segment[i + 1]);
        const int low = hex(segment[i + 2]);
        if (high < 0 || low < 0)
            return false;
        decoded += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

bool ScoringService::credentialsFromTarget(const std::string &target, const std::string &prefix, std::string &user,
                                           std::string &password)
{
    // The decoded path cannot be split: a password may hold an encoded "/".
    const std::string path = target.substr(0, target.find('?'));
    if (path.compare(0, prefix.size(), prefix) != 0)
        return false;
    const std::string rest = path.substr(prefix.size());
    const auto slash = rest.find('/');
    if (slash == std::string::npos || rest.find('/', slash + 1) != std::string::npos)
        return false;
    return percentDecode(rest.substr(0, slash), user) && percentDecode(rest.substr(slash + 1), password)
        && !user.empty() && !password.empty();
}

std::string ScoringService::safeForFileName(const std::string &text)
{
    // Percent-encoding keeps distinct names distinct and never yields "/" or a
    // name starting with ".".
    static const char digits[] = "0123456789ABCDEF";
    std::string safe;
    for (unsigned char c : text) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '@'
            || c == '-' || c == '_' || c == '+' || (c == '.' && !safe.empty());
        if (plain) {
            safe += static_cast<char>(c);
        } else {
            safe += '%';
            safe += digits[c >> 4];
            safe += digits[c & 15];
        }
    }
    return safe.empty() ? std::string("unnamed") : safe;
}

std::string ScoringService::escapedForLog(const std::string &text)
{
    // Printable ASCII stays; everything else, line breaks and terminal control
    // sequences included, becomes \xHH, so one request is one log line.
    static const char digits[] = "0123456789ABCDEF";
    std::string escaped;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f && c != '\\' && c != '"') {
            escaped += static_cast<char>(c);
        } else {
            escaped += "\\x";
            escaped += digits[c >> 4];
            escaped += digits[c & 15];
        }
    }
    return escaped;
}

void ScoringService::log(const std::string &line)
{
    std::lock_guard<std::mutex> lock(logMutex);
    std::cerr << timestamp() << " " << line << std::endl;
}

void ScoringService::handle(Endpoint endpoint, const httplib::Request &request, httplib::Response &response)
{
    if (options.delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(options.delayMs));

    const std::string prefix = endpoint == Endpoint::Connection ? kConnectionPrefix : kUploadPrefix;
    std::string user, password;
    if (!credentialsFromTarget(request.target, prefix, user, password)) {
        answer(response, 404, "not found: expected " + prefix + "<user>/<password>");
    } else if (options.refuseCredentials || !accounts.verify(user, password)) {
        answer(response, 403, "wrong user name or password");
    } else if (endpoint == Endpoint::Connection) {
        answer(response, 200, options.connectionReply.empty() ? "rumbolo upload available" : options.connectionReply);
    } else {
        answerUpload(user, request, response);
    }
    // The password never reaches the log.
    log(request.method + " " + prefix + safeForFileName(user) + "/******** -> " + std::to_string(response.status) + " "
        + escapedForLog(response.body.substr(0, response.body.find('\n'))));
}

void ScoringService::answerUpload(const std::string &user, const httplib::Request &request,
                                  httplib::Response &response)
{
    const int count = ++uploads;
    if (!request.is_multipart_form_data() || !request.has_file("myFile")) {
        answer(response, 400, "expected a multipart/form-data body with the field myFile");
        return;
    }
    if (matchesCount(options.dropUpload, count)) {
        // Promise a body and break off before sending it: the client sees the
        // connection drop in the middle of the answer.
        response.status = 200;
        response.set_content_provider(
            64, "text/plain", [](size_t, size_t, httplib::DataSink &) { return false; });
        return;
    }
    if (matchesCount(options.rejectUpload, count)) {
        answer(response, 200, "upload refused on purpose (test mode); nothing stored");
        return;
    }

    const httplib::MultipartFormData file = request.get_file_value("myFile");
    ArchiveChecker checker;
    if (!checker.verify(file.content)) {
        if (checker.tooLarge())
            answer(response, 413, "archive too large: " + checker.problem());
        else
            answer(response, 422, "not an evaluation package: " + checker.problem());
        return;
    }
    std::string storedAs, error;
    if (!store(user, file.filename, file.content, storedAs, error)) {
        log("cannot store an upload: " + error);
        answer(response, 500, "the archive could not be stored");
        return;
    }
    answer(response, 200, options.uploadReply.empty() ? "EXITO" : options.uploadReply);
    log("stored " + storedAs + " (file name \"" + escapedForLog(file.filename) + "\", type "
        + escapedForLog(file.content_type) + ", evaluation " + checker.evaluationId() + ", "
        + std::to_string(checker.entryCount()) + " entries)");
}

bool ScoringService::store(const std::string &user, const std::string &fileName, const std::string &archive,
                           std::string &storedAs, std::string &error)
{
    const std::string directory = options.dataDirectory + "/uploads/" + safeForFileName(user);
    if (!AtomicFile::makeDirectories(directory, error))
        return false;
    const std::string base = fileName.substr(fileName.find_last_of("/\\") == std::string::npos
                                                 ? 0
                                                 : fileName.find_last_of("/\\") + 1);
    // Time, process and a counter make the name unique and sort by arrival.
    char sequence[16];
    std::snprintf(sequence, sizeof sequence, "%06u", ++stored);
    storedAs = directory + "/" + timestamp() + "-" + std::to_string(::getpid()) + "-" + sequence + "-"
        + safeForFileName(base.empty() ? "archive.zip" : base);
    if (!AtomicFile::write(storedAs, archive, error))
        return false;

    // Only what can be read back intact from the disk is confirmed.
    std::string check;
    ArchiveChecker checker;
    if (!AtomicFile::read(storedAs, check) || check != archive || !checker.verify(check)) {
        error = "the stored copy " + storedAs + " does not read back intact";
        ::unlink(storedAs.c_str());
        return false;
    }
    return true;
}

int ScoringService::run()
{
    std::signal(SIGPIPE, SIG_IGN); // a client that hangs up must not end the service

    std::string error;
    if (!AtomicFile::makeDirectories(options.dataDirectory, error)) {
        std::cerr << "rumbolo-scoring-service: " << error << std::endl;
        return 1;
    }
    DevCertificates certificates(options.tlsDirectory.empty() ? options.dataDirectory + "/tls" : options.tlsDirectory);
    if (!certificates.ensure(error)) {
        std::cerr << "rumbolo-scoring-service: " << error << std::endl;
        return 1;
    }

    httplib::SSLServer server(certificates.serverCertificate().c_str(), certificates.serverKey().c_str());
    if (!server.is_valid()) {
        std::cerr << "rumbolo-scoring-service: cannot load " << certificates.serverCertificate() << std::endl;
        return 1;
    }
    server.set_payload_max_length(kMaxBodyBytes);
    server.Get(std::string(kConnectionPrefix) + ".*", [this](const httplib::Request &req, httplib::Response &res) {
        handle(Endpoint::Connection, req, res);
    });
    server.Post(std::string(kUploadPrefix) + ".*", [this](const httplib::Request &req, httplib::Response &res) {
        handle(Endpoint::Upload, req, res);
    });
    server.set_error_handler([](const httplib::Request &, httplib::Response &res) {
        if (!res.body.empty())
            return;
        if (res.status == 413)
            answer(res, res.status, "request too large: the limit is " + std::to_string(kMaxBodyBytes >> 20) + " MiB");
        else
            answer(res, res.status, res.status == 404 ? "not found" : "request not understood");
    });

    int port = options.port;
    if (port == 0)
        port = server.bind_to_any_port(options.host);
    else if (!server.bind_to_port(options.host, port))
        port = -1;
    if (port <= 0) {
        std::cerr << "rumbolo-scoring-service: cannot listen on " << options.host << " port " << options.port
                  << std::endl;
        return 1;
    }

    const bool loopback = options.host == "127.0.0.1" || options.host == "::1" || options.host == "localhost";
    std::string accountsText;
    std::cout << "Rumbolo scoring service\n"
              << "Data directory: " << options.dataDirectory << "\n"
              << "CA certificate: " << certificates.authorityCertificate() << "\n";
    if (!AtomicFile::read(options.dataDirectory + "/accounts", accountsText))
        std::cout << "No accounts yet: add one with rumbolo-scoring-service add-account --data-dir "
                  << options.dataDirectory << " <user>\n";
    std::cout << "Listening on https://" << (loopback ? std::string("localhost") : options.host) << ":" << port
              << std::endl;

    if (!server.listen_after_bind()) {
        std::cerr << "rumbolo-scoring-service: the server stopped" << std::endl;
        return 1;
    }
    return 0;
}

#ifndef ARCHIVECHECKER_H
#define ARCHIVECHECKER_H

#include <cstdint>
#include <string>

// Reads a zip archive held in memory through libzip, with its consistency
// checks on, and checks that it is an evaluation package: every entry can be
// extracted with a matching CRC-32, no entry name reaches out of the archive's
// folder, and the first entry is the export file "evaluation_<id>.log" whose
// first line is "GENERAL;evaluationId;<id>".
//
// What an archive declares about sizes is never trusted: every entry is
// inflated into one small buffer and counted as it comes, and reading stops
// as soon as a limit is passed.
class ArchiveChecker
{
public:
    static const uint64_t kMaxEntryBytes = uint64_t(64) << 20;
    static const uint64_t kMaxArchiveBytes = uint64_t(512) << 20;
    static const uint64_t kMaxEntries = 2000;

    // True when the archive is a well-formed package; otherwise problem() says
    // why, and tooLarge() tells an archive over a limit from a malformed one.
    bool verify(const std::string &archive);

    const std::string &problem() const { return why; }
    bool tooLarge() const { return overLimit; }
    uint64_t entryCount() const { return entries; }
    const std::string &evaluationId() const { return id; }

private:
    bool fail(const std::string &reason);
    bool refuse(const std::string &reason);
    bool readEntries(const std::string &archive);
    bool checkExport();

    std::string why;
    bool overLimit = false;
    uint64_t entries = 0;
    std::string id;
    std::string firstName;
    std::string exportText;
};

#endif // ARCHIVECHECKER_H

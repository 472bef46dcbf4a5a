#ifndef ARCHIVECHECKER_H
#define ARCHIVECHECKER_H

#include <string>
#include <vector>

// Reads a zip archive held in memory, independently of the library that wrote
// it, and checks that it is an evaluation package: every entry can be
// extracted with a matching CRC-32, and the first entry is the export file
// "evaluation_<id>.log" whose first line is "GENERAL;evaluationId;<id>".
class ArchiveChecker
{
public:
    struct Entry
    {
        std::string name;
        int method = 0;
        std::string content;
    };

    // True when the archive is a well-formed package; otherwise problem() says why.
    bool verify(const std::string &archive);

    const std::string &problem() const { return why; }
    const std::vector<Entry> &entries() const { return found; }
    const std::string &evaluationId() const { return id; }

private:
    bool fail(const std::string &reason);
    bool readEntries(const std::string &archive);
    bool checkExport();

    std::string why;
    std::string id;
    std::vector<Entry> found;
};

#endif // ARCHIVECHECKER_H

#ifndef ATOMICFILE_H
#define ATOMICFILE_H

#include <string>

// Writes a whole file so that it either appears complete under its final name
// or not at all: the bytes go to a temporary file in the same directory, which
// is flushed to disk and then renamed; the directory entry is flushed too.
class AtomicFile
{
public:
    // Returns false with a reason in error when any step fails; the temporary
    // file is then removed and an earlier file of the same name is untouched.
    static bool write(const std::string &path, const std::string &data, std::string &error);

    // Reads a whole file; false when it cannot be opened or read.
    static bool read(const std::string &path, std::string &data);

    // Creates a directory and its parents (mode 0700 for new ones).
    static bool makeDirectories(const std::string &path, std::string &error);
};

#endif // ATOMICFILE_H

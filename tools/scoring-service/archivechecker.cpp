#include "archivechecker.h"

#include <zip.h>

#include <memory>
#include <regex>
#include <vector>

namespace {
struct ArchiveDiscarder
{
    void operator()(zip_t *archive) const { zip_discard(archive); }
};
struct EntryCloser
{
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};
using Archive = std::unique_ptr<zip_t, ArchiveDiscarder>;
using Entry = std::unique_ptr<zip_file_t, EntryCloser>;

std::string errorText(zip_error_t &error)
{
    const std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// Opens the bytes with the given flags; on failure fills code and text.
Archive open(const std::string &bytes, int flags, int &code, std::string &text)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (!source) {
        code = zip_error_code_zip(&error);
        text = errorText(error);
        return nullptr;
    }
    zip_t *archive = zip_open_from_source(source, flags | ZIP_RDONLY, &error);
    if (!archive) {
        zip_source_free(source);
        code = zip_error_code_zip(&error);
        text = errorText(error);
        return nullptr;
    }
    zip_error_fini(&error);
    return Archive(archive);
}

// A name that is absolute or has a ".." segment would leave the folder it is
// extracted into.
bool leavesItsFolder(const std::string &name)
{
    if (name.empty() || name[0] == '/' || name[0] == '\\')
        return true;
    size_t start = 0;
    for (;;) {
        const size_t end = name.find_first_of("/\\", start);
        const std::string segment = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (segment == "..")
            return true;
        if (end == std::string::npos)
            return false;
        start = end + 1;
    }
}

std::string mib(uint64_t bytes)
{
    return std::to_string(bytes >> 20) + " MiB";
}
}

bool ArchiveChecker::fail(const std::string &reason)
{
    why = reason;
    return false;
}

bool ArchiveChecker::refuse(const std::string &reason)
{
    overLimit = true;
    return fail(reason);
}

bool ArchiveChecker::verify(const std::string &archive)
{
    why.clear();
    overLimit = false;
    entries = 0;
    id.clear();
    firstName.clear();
    exportText.clear();
    return readEntries(archive) && checkExport();
}

bool ArchiveChecker::readEntries(const std::string &bytes)
{
    int code = 0;
    std::string text;
    Archive archive = open(bytes, ZIP_CHECKCONS, code, text);
    // The application packs a recording named twice as two entries of the same
    // name, which libzip's strict reading refuses. Its consistency checks of
    // the headers come before that objection, so an archive refused only for
    // it has passed them and is read again without the name check.
    if (!archive && code == ZIP_ER_EXISTS)
        archive = open(bytes, 0, code, text);
    if (!archive)
        return fail("not a zip archive (" + text + ")");

    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    if (count <= 0)
        return fail("the archive is empty");
    if (uint64_t(count) > kMaxEntries)
        return refuse("more than " + std::to_string(kMaxEntries) + " entries (" + std::to_string(count) + ")");
    entries = uint64_t(count);

    std::vector<char> buffer(64 * 1024);
    uint64_t total = 0;
    for (zip_uint64_t index = 0; index < entries; ++index) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), index, ZIP_FL_ENC_RAW, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME))
            return fail("damaged central directory");
        const std::string name = stat.name;
        if (index == 0)
            firstName = name;
        if (leavesItsFolder(name))
            return fail("entry name outside the archive's folder: " + name);
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE)
            return fail("encrypted entry " + name);
        if (!(stat.valid & ZIP_STAT_COMP_METHOD)
            || (stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE))
            return fail("unsupported compression method of " + name);

        Entry entry(zip_fopen_index(archive.get(), index, 0));
        if (!entry)
            return fail("cannot read " + name + " (" + zip_strerror(archive.get()) + ")");
        uint64_t size = 0;
        for (;;) {
            // libzip checks the CRC-32 and the declared size once the data ends.
            const zip_int64_t read = zip_fread(entry.get(), buffer.data(), buffer.size());
            if (read < 0)
                return fail("cannot read " + name + " (" + zip_file_strerror(entry.get()) + ")");
            if (read == 0)
                break;
            size += uint64_t(read);
            total += uint64_t(read);
            if (size > kMaxEntryBytes)
                return refuse(name + " inflates to more than " + mib(kMaxEntryBytes));
            if (total > kMaxArchiveBytes)
                return refuse("the entries inflate to more than " + mib(kMaxArchiveBytes));
            if (index == 0 && exportText.size() < buffer.size()) // its first line is all that is needed
                exportText.append(buffer.data(), size_t(read));
        }
        if ((stat.valid & ZIP_STAT_SIZE) && stat.size != size)
            return fail("the size declared for " + name + " is not the size of its data");
    }
    return true;
}

bool ArchiveChecker::checkExport()
{
    static const std::regex exportName("evaluation_([0-9]+)\\.log");
    std::smatch match;
    if (!std::regex_match(firstName, match, exportName))
        return fail("the first entry is not an export file: " + firstName);
    id = match[1];
    const size_t lineEnd = exportText.find('\n');
    if (lineEnd == std::string::npos || exportText.compare(0, lineEnd, "GENERAL;evaluationId;" + id) != 0)
        return fail("the export file does not begin with GENERAL;evaluationId;" + id);
    return true;
}

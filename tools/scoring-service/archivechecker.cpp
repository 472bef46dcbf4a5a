#include "archivechecker.h"

#include <zlib.h>

#include <cstdint>
#include <regex>

namespace {
const uint32_t kEndOfCentralDirectory = 0x06054b50;
const uint32_t kCentralHeader = 0x02014b50;
const uint32_t kLocalHeader = 0x04034b50;

uint16_t u16(const std::string &data, size_t at)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8);
}

uint32_t u32(const std::string &data, size_t at)
{
    return static_cast<uint32_t>(u16(data, at)) | static_cast<uint32_t>(u16(data, at + 2)) << 16;
}

bool inflateRaw(const std::string &compressed, size_t expected, std::string &out)
{
    out.assign(expected, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    stream.next_out = reinterpret_cast<Bytef *>(&out[0]);
    stream.avail_out = static_cast<uInt>(expected);
    // One spare byte tells a stream that is longer than announced.
    char spare = 0;
    int result = inflate(&stream, Z_FINISH);
    if (result == Z_BUF_ERROR && stream.avail_out == 0) {
        stream.next_out = reinterpret_cast<Bytef *>(&spare);
        stream.avail_out = 1;
        result = inflate(&stream, Z_FINISH);
    }
    const bool ok = result == Z_STREAM_END && stream.total_out == expected;
    inflateEnd(&stream);
    return ok;
}
}

bool ArchiveChecker::fail(const std::string &reason)
{
    why = reason;
    return false;
}

bool ArchiveChecker::verify(const std::string &archive)
{
    why.clear();
    id.clear();
    found.clear();
    return readEntries(archive) && checkExport();
}

bool ArchiveChecker::readEntries(const std::string &archive)
{
    if (archive.size() < 22)
        return fail("not a zip archive (too short)");

    // The end record is the last 22 bytes plus a comment of at most 65535.
    size_t end = std::string::npos;
    const size_t lowest = archive.size() > 22 + 65535 ? archive.size() - 22 - 65535 : 0;
    for (size_t at = archive.size() - 22 + 1; at-- > lowest;) {
        if (u32(archive, at) == kEndOfCentralDirectory && at + 22 + u16(archive, at + 20) == archive.size()) {
            end = at;
            break;
        }
    }
    if (end == std::string::npos)
        return fail("not a zip archive (no end of central directory)");

    const size_t count = u16(archive, end + 10);
    const size_t directorySize = u32(archive, end + 12);
    size_t at = u32(archive, end + 16);
    if (u16(archive, end + 4) != 0 || u16(archive, end + 6) != 0 || u16(archive, end + 8) != count)
        return fail("multi-part archives are not accepted");
    if (at + directorySize > end)
        return fail("central directory out of bounds");
    if (count == 0)
        return fail("the archive is empty");

    for (size_t i = 0; i < count; ++i) {
        if (at + 46 > end || u32(archive, at) != kCentralHeader)
            return fail("damaged central directory");
        const uint16_t flags = u16(archive, at + 8);
        const int method = u16(archive, at + 10);
        const uint32_t crc = u32(archive, at + 16);
        const size_t compressedSize = u32(archive, at + 20);
        const size_t size = u32(archive, at + 24);
        const size_t nameLength = u16(archive, at + 28);
        const size_t extraLength = u16(archive, at + 30);
        const size_t commentLength = u16(archive, at + 32);
        const size_t local = u32(archive, at + 42);
        if (at + 46 + nameLength + extraLength + commentLength > end)
            return fail("damaged central directory");
        Entry entry;
        entry.name = archive.substr(at + 46, nameLength);
        entry.method = method;
        at += 46 + nameLength + extraLength + commentLength;

        if (flags & 1)
            return fail("encrypted entry " + entry.name);
        if (compressedSize == 0xffffffffu || size == 0xffffffffu || local == 0xffffffffu)
            return fail("zip64 entries are not accepted");
        if (local + 30 > archive.size() || u32(archive, local) != kLocalHeader)
            return fail("damaged local header of " + entry.name);
        const size_t data = local + 30 + u16(archive, local + 26) + u16(archive, local + 28);
        if (data + compressedSize > archive.size())
            return fail("truncated entry " + entry.name);
        const std::string stored = archive.substr(data, compressedSize);
        if (method == 0) {
            if (compressedSize != size)
                return fail("bad sizes of " + entry.name);
            entry.content = stored;
        } else if (method == 8) {
            if (!inflateRaw(stored, size, entry.content))
                return fail("cannot inflate " + entry.name);
        } else {
            return fail("unsupported compression method of " + entry.name);
        }
        const uLong actual = crc32(0L, reinterpret_cast<const Bytef *>(entry.content.data()),
                                   static_cast<uInt>(entry.content.size()));
        if (actual != crc)
            return fail("CRC mismatch in " + entry.name);
        found.push_back(std::move(entry));
    }
    return true;
}

bool ArchiveChecker::checkExport()
{
    static const std::regex exportName("evaluation_([0-9]+)\\.log");
    std::smatch match;
    const Entry &first = found.front();
    if (!std::regex_match(first.name, match, exportName))
        return fail("the first entry is not an export file: " + first.name);
    id = match[1];
    const std::string line = first.content.substr(0, first.content.find('\n'));
    if (line != "GENERAL;evaluationId;" + id || first.content.find('\n') == std::string::npos)
        return fail("the export file does not begin with GENERAL;evaluationId;" + id);
    return true;
}

#include "pipelistener.h"

#include <QFile>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

PipeListener::PipeListener(const QString &fifoPath, int channels, int rate)
    : path(fifoPath)
    , bytesPerFrame(2 * qMax(channels, 1))
    , frameRate(qMax(rate, 1))
    , fd(-1)
    , running(false)
    , level(1 << 16)
    , firstLoud(0)
    , lastLoud(0)
{
}

PipeListener::~PipeListener()
{
    stop();
}

qint64 PipeListener::nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

bool PipeListener::start(QString &error)
{
    // The server holds the pipe open for writing; a reader that opens it
    // without blocking gets what is written from now on, after what the pipe
    // already holds, which the first reads discard.
    fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) {
        error = "cannot open " + path + ": " + QString::fromLocal8Bit(strerror(errno));
        return false;
    }
    running = true;
    reader = std::thread([this] { run(); });
    return true;
}

void PipeListener::stop()
{
    running = false;
    if (reader.joinable())
        reader.join();
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

void PipeListener::arm(int threshold)
{
    firstLoud = 0;
    level = threshold;
}

bool PipeListener::waitForQuiet(int quietMs, int timeoutMs) const
{
    const qint64 deadline = nowNs() + qint64(timeoutMs) * 1000000;
    while (nowNs() < deadline) {
        if (nowNs() - lastLoud.load() > qint64(quietMs) * 1000000)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

void PipeListener::run()
{
    static char buffer[1 << 16];
    int carried = -1; // the first byte of a sample split between two reads
    while (running) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0)
            continue;
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        const qint64 at = nowNs();
        if (n <= 0)
            continue;
        const int threshold = level.load();
        ssize_t loudAt = -1; // byte offset of the first loud sample in this read
        ssize_t i = 0;
        auto sampleAt = [](int low, int high) { return int(qint16(quint16(quint8(low)) | quint16(quint8(high)) << 8)); };
        if (carried >= 0) {
            if (std::abs(sampleAt(carried, buffer[0])) > threshold)
                loudAt = 0;
            i = 1;
        }
        for (; i + 1 < n; i += 2) {
            if (loudAt < 0 && std::abs(sampleAt(buffer[i], buffer[i + 1])) > threshold)
                loudAt = i;
        }
        carried = i < n ? buffer[i] : -1;
        if (loudAt >= 0) {
            lastLoud = at;
            // The block is written ahead of its playing; the sample plays its
            // place in the block after the block's first sample.
            const qint64 place = at + qint64(loudAt) / bytesPerFrame * 1000000000 / frameRate;
            qint64 expected = 0;
            firstLoud.compare_exchange_strong(expected, place);
        }
    }
}

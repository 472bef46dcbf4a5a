#ifndef PIPELISTENER_H
#define PIPELISTENER_H

#include <QString>

#include <atomic>
#include <thread>

// Reads what the audio server writes into its speaker pipe (signed 16-bit
// little-endian samples, interleaved channels), in a thread of its own, and
// notes when sound arrives: after arm(), the first sample louder than the
// threshold, timed on the monotonic clock as the moment its block is read plus
// its place in the block (the server writes a block when the block's first
// sample is due). The pipe is drained continuously, so nothing written before
// arm() is mistaken for new sound.
class PipeListener
{
public:
    PipeListener(const QString &fifoPath, int channels, int rate);
    ~PipeListener();

    bool start(QString &error);
    void stop();

    // Forget what was heard; from now on the first loud block is noted.
    void arm(int threshold);
    // Monotonic nanoseconds of the first loud sample since arm(), or 0.
    qint64 firstLoudNs() const { return firstLoud.load(); }
    // Monotonic nanoseconds of the last loud block read (0 before any).
    qint64 lastLoudNs() const { return lastLoud.load(); }
    // Waits until nothing loud has arrived for quietMs (at most timeoutMs).
    bool waitForQuiet(int quietMs, int timeoutMs) const;

    static qint64 nowNs();

private:
    void run();

    QString path;
    int bytesPerFrame;
    int frameRate;
    int fd;
    std::thread reader;
    std::atomic<bool> running;
    std::atomic<int> level;
    std::atomic<qint64> firstLoud;
    std::atomic<qint64> lastLoud;
};

#endif // PIPELISTENER_H

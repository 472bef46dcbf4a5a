#include "audiolatency.h"

#include "mainwindow.h"
#include "soundplayer.h"
#include "voicerecorder.h"

#include <QAudioInput>
#include <QAudioOutput>
#include <QEventLoop>
#include <QFile>
#include <QtNumeric>
#include <QTimer>
#include <QtEndian>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace {
// Of 32767: well above silence (0). The server passes a prompt's samples to the
// speaker unchanged (full volume, the same rate; mono copied to each channel).
const int Loud = 48;
const int LoudCapture = 16;   // of 128: an unsigned 8-bit sample this far from 128
const int TimeoutMs = 2000;

// Starts a program with the process's environment (the audio server's address
// included); its standard output goes to *outFd when given. Returns its pid.
pid_t spawn(const QStringList &command, int *outFd)
{
    QList<QByteArray> storage;
    std::vector<char *> argv;
    for (const QString &part : command)
        storage << part.toLocal8Bit();
    for (QByteArray &part : storage)
        argv.push_back(part.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    int pipeFds[2] = {-1, -1};
    if (outFd) {
        if (::pipe(pipeFds) != 0)
            return -1;
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    }
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (outFd) {
        ::close(pipeFds[1]);
        if (failed)
            ::close(pipeFds[0]);
        else
            *outFd = pipeFds[0];
    }
    return failed ? -1 : pid;
}

void end(pid_t pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// Runs the event loop, checking every millisecond, until done() or the timeout.
template<typename Done>
bool runUntil(Done done, int timeoutMs)
{
    const qint64 deadline = PipeListener::nowNs() + qint64(timeoutMs) * 1000000;
    QEventLoop loop;
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done() || PipeListener::nowNs() > deadline)
            loop.quit();
    });
    check.start(1);
    if (!done())
        loop.exec();
    return done();
}

double msBetween(qint64 fromNs, qint64 toNs)
{
    return (toNs - fromNs) / 1e6;
}

// Whether most of an unsigned 8-bit recording is loud: the tone, not silence.
bool holdsTone(const QByteArray &samples)
{
    if (samples.isEmpty())
        return false;
    int loud = 0;
    for (const char c : samples)
        loud += std::abs(int(quint8(c)) - 128) > LoudCapture;
    return loud * 2 > samples.size();
}
}

AudioLatency::AudioLatency(MainWindow *mainWindow, const QString &speakerFifo, int channels, int rate)
    : window(mainWindow)
    , listener(speakerFifo, channels, rate)
    , tonePid(-1)
    , random(20240506)
    , lastStartMs(0)
    , lastHandedMs(0)
{
}

AudioLatency::~AudioLatency()
{
    stopTone();
    listener.stop();
}

bool AudioLatency::start(QString &error)
{
    return listener.start(error);
}

qint64 AudioLatency::leadingSilence(const QString &wavPath, int threshold, int *sampleRate)
{
    QFile file(wavPath);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wav = file.readAll();
    if (wav.size() < 46)
        return -1;
    if (sampleRate)
        *sampleRate = qFromLittleEndian<quint32>(wav.constData() + 24);
    for (int i = 44; i + 1 < wav.size(); i += 2) {
        if (std::abs(qFromLittleEndian<qint16>(wav.constData() + i)) > threshold)
            return (i - 44) / 2;
    }
    return -1;
}

bool AudioLatency::waitForQuiet()
{
    const bool quiet = listener.waitForQuiet(150, 5000);
    // The server writes the speaker pipe in blocks of about 23 ms and hands
    // the microphone over in fragments: a start at a random point of that
    // cycle, so that no side keeps falling on the same phase of it.
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 25000)(random)));
    return quiet;
}

double AudioLatency::playOnce(const QString &prompt)
{
    int rate = 44100;
    const qint64 lead = leadingSilence(prompt, Loud, &rate);
    waitForQuiet();
    listener.arm(Loud);
    const qint64 t0 = PipeListener::nowNs();
    window->playSound(prompt);
    const qint64 returned = PipeListener::nowNs();
    // The output counts what it has handed to the server.
    QAudioOutput *output = window->soundPlayer()->output();
    qint64 handed = 0;
    const bool heard = runUntil(
        [&] {
            if (handed == 0 && output && output->processedUSecs() > 0)
                handed = PipeListener::nowNs();
            return listener.firstLoudNs() != 0;
        },
        TimeoutMs);
    window->soundPlayer()->stop();
    if (!heard || handed == 0)
        return qQNaN();
    lastStartMs = msBetween(t0, returned);
    lastHandedMs = msBetween(t0, handed);
    return msBetween(t0, listener.firstLoudNs()) - lead * 1000.0 / rate;
}

double AudioLatency::paplayOnce(const QString &prompt)
{
    int rate = 44100;
    const qint64 lead = leadingSilence(prompt, Loud, &rate);
    waitForQuiet();
    listener.arm(Loud);
    const qint64 t0 = PipeListener::nowNs();
    const pid_t pid = spawn({"paplay", prompt}, nullptr);
    while (listener.firstLoudNs() == 0 && PipeListener::nowNs() - t0 < qint64(TimeoutMs) * 1000000)
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    end(pid);
    if (pid <= 0 || listener.firstLoudNs() == 0)
        return qQNaN();
    return msBetween(t0, listener.firstLoudNs()) - lead * 1000.0 / rate;
}

bool AudioLatency::startTone(const QString &toneWav)
{
    stopTone();
    tonePid = spawn({"paplay", "-d", "micfeed", toneWav}, nullptr);
    // The tone reaches the microphone's monitor within a few blocks.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return tonePid > 0;
}

void AudioLatency::stopTone()
{
    end(pid_t(tonePid));
    tonePid = -1;
}

double AudioLatency::recordOnce(QString &problem)
{
    VoiceRecorder *recorder = window->voiceRecorder();
    QAudioInput *input = recorder->findChild<QAudioInput *>();
    if (!input) {
        problem = "the recorder has no audio input";
        return qQNaN();
    }
    QString name;
    waitForQuiet();
    const qint64 t0 = PipeListener::nowNs();
    window->startRecordingSound(&name);
    // The input counts what it has handed to the recording's file.
    qint64 t1 = 0;
    runUntil(
        [&] {
            if (t1 == 0 && input->processedUSecs() > 0)
                t1 = PipeListener::nowNs();
            return t1 != 0;
        },
        TimeoutMs);
    runUntil([] { return false; }, 100); // a little more of the tone
    const QString path = recorder->filePath();
    window->stopRecordingSound();
    QFile file(path);
    const QByteArray samples = file.open(QIODevice::ReadOnly) ? file.readAll().mid(44) : QByteArray();
    if (!holdsTone(samples)) {
        problem = QString("%1 does not hold the tone (%2 samples)").arg(path).arg(samples.size());
        return qQNaN();
    }
    return t1 ? msBetween(t0, t1) : qQNaN();
}

double AudioLatency::parecOnce(int latencyMs, QString &problem)
{
    QStringList command{"parec", "-d", "micfeed.monitor", "--raw", "--format=u8", "--rate=8000", "--channels=1"};
    if (latencyMs > 0)
        command << QString("--latency-msec=%1").arg(latencyMs);
    int fd = -1;
    waitForQuiet();
    const qint64 t0 = PipeListener::nowNs();
    const pid_t pid = spawn(command, &fd);
    if (pid <= 0) {
        problem = "parec did not start";
        return qQNaN();
    }
    qint64 t1 = 0;
    QByteArray samples;
    while (PipeListener::nowNs() - t0 < qint64(TimeoutMs) * 1000000 && samples.size() < 800) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0)
            continue;
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        if (t1 == 0)
            t1 = PipeListener::nowNs();
        samples.append(buffer, int(n));
    }
    end(pid);
    ::close(fd);
    if (!holdsTone(samples)) {
        problem = QString("parec did not capture the tone (%1 samples)").arg(samples.size());
        return qQNaN();
    }
    return t1 ? msBetween(t0, t1) : qQNaN();
}

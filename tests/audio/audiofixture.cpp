#include "audiofixture.h"

#include <QAudioDeviceInfo>
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtEndian>

namespace {
const char ChildVariable[] = "RUMBOLO_AUDIO_TEST_WITHOUT_SERVER";
}

bool AudioFixture::writePrompt(const QString &path, int milliseconds)
{
    const QString seconds = QString::number(qMax(milliseconds, 1) / 1000.0);
    if (!run("sox", {"-n", "-r", "44100", "-c", "1", "-b", "16", "-e", "signed-integer", "-t", "wavpcm", path,
                     "synth", seconds, "sine", "440"}))
        return false;
    return milliseconds > 0 || QFile::resize(path, 44);
}

qint64 AudioFixture::valueAt(const QString &path, qint64 offset, int bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(offset))
        return -1;
    const QByteArray read = file.read(bytes);
    if (read.size() != bytes)
        return -1;
    return bytes == 4 ? qint64(qFromLittleEndian<quint32>(read.constData()))
                      : qint64(qFromLittleEndian<quint16>(read.constData()));
}

bool AudioFixture::run(const QString &program, const QStringList &arguments, QString *output, int timeoutMs)
{
    QProcess process;
    process.start(program, arguments);
    const bool finished = process.waitForFinished(timeoutMs);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    if (output)
        *output = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

bool AudioFixture::audioServerAvailable()
{
    return !QAudioDeviceInfo::defaultOutputDevice().isNull() && !QAudioDeviceInfo::defaultInputDevice().isNull();
}

bool AudioFixture::isChildWithoutAudioServer()
{
    return qEnvironmentVariableIsSet(ChildVariable);
}

int AudioFixture::runWithoutAudioServer(const QString &testFunction, QString *log)
{
    QTemporaryDir runtime;
    QFile clientConfig(runtime.filePath("client.conf"));
    if (!clientConfig.open(QIODevice::WriteOnly) || clientConfig.write("autospawn = no\n") < 0)
        return -1;
    clientConfig.close();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(ChildVariable, "1");
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    environment.insert("PULSE_SERVER", "unix:" + runtime.filePath("no-server"));
    environment.insert("PULSE_CLIENTCONFIG", clientConfig.fileName());

    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {testFunction});
    const bool finished = child.waitForFinished(60000);
    if (log)
        *log = QString::fromLocal8Bit(child.readAll());
    if (!finished) {
        child.kill();
        child.waitForFinished();
        return -1;
    }
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

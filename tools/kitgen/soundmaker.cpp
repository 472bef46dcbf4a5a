#include "soundmaker.h"

#include <QFile>
#include <QtEndian>

namespace {
// The conversion every sound ends with.
QStringList promptFormat()
{
    return {"-r", "44100", "-c", "1", "-b", "16", "-e", "signed-integer", "-t", "wavpcm", "{out}"};
}
}

QList<JobRunner::Step> SoundMaker::speech(const QString &text, Speech kind)
{
    // Words slowly and clearly; the story a little faster, with small pauses between words.
    const QString speed = kind == Speech::Word ? "125" : "135";
    const QString gap = kind == Speech::Word ? "0" : "3";
    JobRunner::Step speak{"espeak-ng", {"-v", "es-419", "-s", speed, "-p", "50", "-g", gap, "-b", "1", "-w", "{raw}", text}};
    // sox: repeatable dither (-R), trim the synthesiser's silences, then a short
    // lead-in and tail; normalise just below full scale.
    QStringList convert{"-R", "-V1", "{raw}"};
    convert << promptFormat();
    convert << "silence" << "1" << "0.01" << "0.3%" << "reverse" << "silence" << "1" << "0.01" << "0.3%" << "reverse"
            << "norm" << "-1" << "pad" << "0.15" << "0.25";
    return {speak, JobRunner::Step{"sox", convert}};
}

QList<JobRunner::Step> SoundMaker::effect(const QString &name)
{
    QStringList args{"-R", "-V1", "-n"};
    args << promptFormat();
    if (name == "drum") {
        // A falling low tone with a burst of brown noise, dying away quickly.
        args << "synth" << "0.5" << "sine" << "140:48" << "synth" << "0.5" << "brownnoise" << "mix"
             << "fade" << "q" << "0.004" << "0.5" << "0.46" << "lowpass" << "1200" << "norm" << "-1";
    } else if (name == "touch") {
        // A soft, short tap, then silence to a length every player handles.
        args << "synth" << "0.08" << "sine" << "1400:700" << "fade" << "q" << "0.002" << "0.08" << "0.07"
             << "pad" << "0" << "0.3" << "norm" << "-8";
    } else {
        return {};
    }
    return {JobRunner::Step{"sox", args}};
}

bool SoundMaker::checkPrompt(const QString &file, double minimumSeconds, QString *error)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = QString("cannot read %1").arg(file);
        return false;
    }
    const QByteArray h = f.read(44);
    const qint64 size = f.size();
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(h.constData() + at); };
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(h.constData() + at); };
    if (h.size() < 44 || h.left(4) != "RIFF" || h.mid(8, 4) != "WAVE" || h.mid(12, 4) != "fmt " || u32(16) != 16
        || h.mid(36, 4) != "data") {
        *error = QString("%1 has no plain 44-byte WAV header").arg(file);
        return false;
    }
    if (u16(20) != 1 || u16(22) != 1 || u32(24) != 44100 || u32(28) != 88200 || u16(32) != 2 || u16(34) != 16) {
        *error = QString("%1 is not 44100 Hz mono 16-bit PCM").arg(file);
        return false;
    }
    if (u32(40) != quint32(size - 44) || u32(4) != quint32(size - 8)) {
        *error = QString("%1 has chunk sizes that do not match its length").arg(file);
        return false;
    }
    const double seconds = (size - 44) / 88200.0;
    if (seconds < minimumSeconds) {
        *error = QString("%1 lasts only %2 s").arg(file).arg(seconds);
        return false;
    }
    return true;
}

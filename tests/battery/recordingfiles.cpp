#include "recordingfiles.h"

#include <QFile>
#include <QSet>
#include <QtEndian>

namespace {
quint32 le32(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(reinterpret_cast<const uchar *>(bytes.constData()) + offset);
}
}

QString RecordingFiles::problemsWith(const QString &workspace, const QStringList &names)
{
    QStringList problems;
    if (QSet<QString>(names.begin(), names.end()).size() != names.size())
        problems << "a recording name repeats: " + names.join(' ');
    for (const QString &name : names) {
        QFile file(workspace + "/grabaciones/" + name + ".wav");
        if (name.isEmpty() || !file.open(QIODevice::ReadOnly)) {
            problems << "no recording " + name;
            continue;
        }
        const QByteArray bytes = file.readAll();
        if (bytes.size() <= 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE"
            || le32(bytes, 4) != quint32(bytes.size() - 8) || le32(bytes, 40) != quint32(bytes.size() - 44))
            problems << "incomplete recording " + name + QString(" (%1 bytes)").arg(bytes.size());
    }
    return problems.join("; ");
}

#include "processmemory.h"

#include <QFile>

#include <malloc.h>

qint64 ProcessMemory::statusField(const char *field)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

qint64 ProcessMemory::residentKiB()
{
    return statusField("VmRSS");
}

qint64 ProcessMemory::residentAnonymousKiB()
{
    return statusField("RssAnon");
}

qint64 ProcessMemory::residentFileKiB()
{
    return statusField("RssFile");
}

qint64 ProcessMemory::peakKiB()
{
    return statusField("VmHWM");
}

bool ProcessMemory::resetPeak()
{
    QFile clear("/proc/self/clear_refs");
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

qint64 ProcessMemory::heapInUseKiB()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd) / 1024;
}

void ProcessMemory::releaseFreeHeap()
{
    malloc_trim(0);
}

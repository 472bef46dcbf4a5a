#ifndef PROCESSMEMORY_H
#define PROCESSMEMORY_H

#include <QtGlobal>

// Memory figures of the running process, in KiB, as the kernel and the C
// library report them.
class ProcessMemory
{
public:
    // VmRSS: resident now.
    static qint64 residentKiB();
    // The resident pages that belong to this process alone (heap, stacks,
    // pixel buffers), and those mapped from files (libraries, shared).
    static qint64 residentAnonymousKiB();
    static qint64 residentFileKiB();
    // VmHWM: the highest resident size since start or since the last resetPeak().
    static qint64 peakKiB();
    // Starts the peak over from the current resident size (Linux clear_refs).
    static bool resetPeak();
    // Heap bytes handed out by malloc and not freed (not the pages it keeps).
    static qint64 heapInUseKiB();
    // Gives the free pages malloc keeps back to the system (malloc_trim), so
    // that what stays resident is what is in use.
    static void releaseFreeHeap();

private:
    static qint64 statusField(const char *field);
};

#endif // PROCESSMEMORY_H

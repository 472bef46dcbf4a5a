#ifndef STIMULUSKIT_H
#define STIMULUSKIT_H

#include <QDir>
#include <QStringList>

// The pictures and prompts that the tests use: every file of the kit's
// manifest, compiled into the program when it is built.
class StimulusKit
{
public:
    // Paths relative to the working directory ("images/…", "sounds/…"), in the
    // manifest's order.
    static const QStringList files;

    // The kit's files that a folder lacks, in the manifest's order.
    static QStringList missingIn(const QDir &folder);
};

#endif // STIMULUSKIT_H

#ifndef JOBRUNNER_H
#define JOBRUNNER_H

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class QProcess;

// Runs external programs (speech synthesis, sound conversion, GIF assembly)
// several at a time. A job is a list of steps run one after the other; when
// its last step has succeeded, its completion function runs (it moves the
// result into place). The first failure is kept and reported.
class JobRunner
{
public:
    struct Step {
        QString program;
        QStringList arguments;
    };
    struct Job {
        QString name;
        QList<Step> steps;
        std::function<bool(QString *error)> done;
    };

    explicit JobRunner(int parallel);
    ~JobRunner();
    JobRunner(const JobRunner &) = delete;
    JobRunner &operator=(const JobRunner &) = delete;

    void add(const Job &job);
    // Starts queued work while fewer than `parallel` jobs run; returns at once.
    void startMore();
    // Lets finished programs report and starts more; returns at once.
    void pump();
    // Waits until every job has ended; false with the first failure.
    bool waitAll(QString *error);

    int completed() const { return doneCount; }

private:
    struct Running {
        Job job;
        int step = 0;
        QProcess *process = nullptr;
    };
    void startStep(Running *running);
    void finished(Running *running, bool ok, const QString &message);

    int parallel;
    QList<Job> queue;
    QList<Running *> running;
    int doneCount = 0;
    QString firstError;
};

#endif // JOBRUNNER_H

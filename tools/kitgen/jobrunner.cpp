#include "jobrunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>

JobRunner::JobRunner(int parallel)
    : parallel(qMax(1, parallel))
{
}

JobRunner::~JobRunner()
{
    for (Running *r : qAsConst(running)) {
        if (r->process) {
            r->process->kill();
            r->process->waitForFinished(2000);
            delete r->process;
        }
        delete r;
    }
}

void JobRunner::add(const Job &job)
{
    queue << job;
    startMore();
}

void JobRunner::startMore()
{
    while (running.size() < parallel && !queue.isEmpty() && firstError.isEmpty()) {
        Running *r = new Running;
        r->job = queue.takeFirst();
        running << r;
        startStep(r);
    }
}

void JobRunner::startStep(Running *r)
{
    const Step &step = r->job.steps.at(r->step);
    QProcess *process = new QProcess;
    r->process = process;
    process->setProgram(step.program);
    process->setArguments(step.arguments);
    process->setProcessChannelMode(QProcess::SeparateChannels);
    QObject::connect(process, &QProcess::errorOccurred, process, [this, r](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            finished(r, false, QString("cannot start %1 (is it installed?)").arg(r->process->program()));
    });
    QObject::connect(process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished), process,
                     [this, r](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0) {
                             const QString err = QString::fromLocal8Bit(r->process->readAllStandardError()).trimmed();
                             finished(r, false, QString("%1 %2 failed (exit %3): %4")
                                                    .arg(r->process->program(), r->process->arguments().join(' '))
                                                    .arg(code)
                                                    .arg(err));
                             return;
                         }
                         finished(r, true, QString());
                     });
    process->start(QIODevice::ReadOnly);
}

void JobRunner::finished(Running *r, bool ok, const QString &message)
{
    r->process->deleteLater();
    r->process = nullptr;
    if (ok && r->step + 1 < r->job.steps.size()) {
        ++r->step;
        startStep(r);
        return;
    }
    QString error = message;
    if (ok && r->job.done && !r->job.done(&error))
        ok = false;
    if (!ok && firstError.isEmpty())
        firstError = QString("%1: %2").arg(r->job.name, error);
    if (ok)
        ++doneCount;
    running.removeOne(r);
    delete r;
    startMore();
}

void JobRunner::pump()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    startMore();
}

bool JobRunner::waitAll(QString *error)
{
    startMore();
    while (!running.isEmpty())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!firstError.isEmpty()) {
        *error = firstError;
        return false;
    }
    return true;
}

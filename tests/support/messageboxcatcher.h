#ifndef MESSAGEBOXCATCHER_H
#define MESSAGEBOXCATCHER_H

#include <QObject>
#include <QStringList>
#include <QTimer>

// Watches for modal message boxes while it lives, records the text of each one
// and closes it with its default button, as an examiner pressing OK would.
class MessageBoxCatcher : public QObject
{
    Q_OBJECT

public:
    // pollMs: how often open boxes are looked for (a benchmark that times the
    // moment a box appears polls more often).
    explicit MessageBoxCatcher(QObject *parent = nullptr, int pollMs = 10);

    QStringList messages() const { return seen; }
    void clear() { seen.clear(); }
    // Waits until at least count messages have been seen (or the timeout passes).
    bool waitForMessages(int count, int timeoutMs = 5000);

signals:
    // A box has appeared (emitted before it is closed).
    void appeared(const QString &text);

private:
    void poll();

    QTimer timer;
    QStringList seen;
};

#endif // MESSAGEBOXCATCHER_H

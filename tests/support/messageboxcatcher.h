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
    explicit MessageBoxCatcher(QObject *parent = nullptr);

    QStringList messages() const { return seen; }
    void clear() { seen.clear(); }
    // Waits until at least count messages have been seen (or the timeout passes).
    bool waitForMessages(int count, int timeoutMs = 5000);

private:
    void poll();

    QTimer timer;
    QStringList seen;
};

#endif // MESSAGEBOXCATCHER_H

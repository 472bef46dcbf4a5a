#ifndef MESSAGEBOXCLOSER_H
#define MESSAGEBOXCLOSER_H

#include <QObject>
#include <QStringList>
#include <QTimer>

// Closes every modal message box the program opens, as an examiner pressing
// OK would, and remembers their texts. Polls often, so that the moment a box
// appears is known to within a few milliseconds.
class MessageBoxCloser : public QObject
{
    Q_OBJECT

public:
    explicit MessageBoxCloser(QObject *parent = nullptr);

    QStringList messages() const { return seen; }

signals:
    // A box has appeared (emitted before it is closed).
    void appeared(const QString &text);

private:
    void poll();

    QTimer timer;
    QStringList seen;
};

#endif // MESSAGEBOXCLOSER_H

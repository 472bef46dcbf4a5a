#ifndef TESTWORKSPACE_H
#define TESTWORKSPACE_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A fresh temporary working directory that the process changes into for the
// lifetime of the object, with the stimulus kit's images/ and sounds/ linked
// in when the build has generated them. The previous directory is restored on
// destruction.
class TestWorkspace
{
public:
    explicit TestWorkspace(bool withKit = true);
    ~TestWorkspace();

    TestWorkspace(const TestWorkspace &) = delete;
    TestWorkspace &operator=(const TestWorkspace &) = delete;

    QString path() const { return dir.path(); }
    QString filePath(const QString &relative) const { return dir.filePath(relative); }
    bool hasKit() const { return kitLinked; }

    // Rows of a table of the database file "data", in ROWID order, with the
    // given columns. Read through a connection of its own.
    QList<QStringList> rows(const QString &table, const QStringList &columns) const;
    // Log rows as (evaluationId, test, key, value), in the order they were stored.
    QList<QStringList> logRows() const { return rows("log", {"evaluationId", "test", "key", "value"}); }
    // Runs statements on the database file through a connection of its own.
    bool execute(const QStringList &statements) const;

    // Where the build put the stimulus kit (empty when unknown).
    static QString kitDirectory() { return qEnvironmentVariable("RUMBOLO_KIT_DIR"); }

private:
    QTemporaryDir dir;
    QString previousDirectory;
    bool kitLinked;
};

#endif // TESTWORKSPACE_H

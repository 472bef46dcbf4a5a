#include "testworkspace.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>
#include <QtGlobal>

namespace {
// Opens the database file on a connection of its own and runs fn on it.
template <typename Fn>
void withConnection(const QString &file, Fn fn)
{
    const QString name = "testworkspace-" + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(file);
        if (db.open())
            fn(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
}

TestWorkspace::TestWorkspace(bool withKit)
    : previousDirectory(QDir::currentPath())
    , kitLinked(false)
{
    QDir::setCurrent(dir.path());
    const QString kit = kitDirectory();
    if (withKit && !kit.isEmpty() && QDir(kit + "/images").exists() && QDir(kit + "/sounds").exists()) {
        kitLinked = QFile::link(kit + "/images", dir.path() + "/images")
            && QFile::link(kit + "/sounds", dir.path() + "/sounds");
    }
}

TestWorkspace::~TestWorkspace()
{
    QDir::setCurrent(previousDirectory);
}

QString TestWorkspace::kitDirectory()
{
    return qEnvironmentVariable("RUMBOLO_KIT_DIR");
}

QString TestWorkspace::path() const
{
    return dir.path();
}

QString TestWorkspace::filePath(const QString &relative) const
{
    return dir.filePath(relative);
}

QList<QStringList> TestWorkspace::rows(const QString &table, const QStringList &columns) const
{
    QList<QStringList> result;
    withConnection(filePath("data"), [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        if (!query.exec("SELECT " + columns.join(',') + " FROM " + table + " ORDER BY ROWID"))
            return;
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < columns.size(); ++i)
                row << query.value(i).toString();
            result << row;
        }
    });
    return result;
}

QList<QStringList> TestWorkspace::logRows() const
{
    return rows("log", {"evaluationId", "test", "key", "value"});
}

bool TestWorkspace::execute(const QStringList &statements) const
{
    bool ok = false;
    withConnection(filePath("data"), [&](QSqlDatabase &db) {
        ok = true;
        QSqlQuery query(db);
        for (const QString &statement : statements)
            ok = query.exec(statement) && ok;
    });
    return ok;
}

#include "testworkspace.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

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
    if (withKit && !kit.isEmpty() && QDir(kit + "/images").exists() && QDir(kit + "/sounds").exists())
        kitLinked = QFile::link(kit + "/images", filePath("images")) && QFile::link(kit + "/sounds", filePath("sounds"));
}

TestWorkspace::~TestWorkspace()
{
    QDir::setCurrent(previousDirectory);
}

QList<QStringList> TestWorkspace::rows(const QString &table, const QStringList &columns) const
{
    QList<QStringList> result;
    withConnection(filePath("data"), [&](QSqlDatabase &db) {
        QSqlQuery query(db);
        query.exec("SELECT " + columns.join(',') + " FROM " + table + " ORDER BY ROWID");
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < columns.size(); ++i)
                row << query.value(i).toString();
            result << row;
        }
    });
    return result;
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

#include "databasemanager.h"

#include <QDebug>
#include <QDir>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

DatabaseManager::DatabaseManager(QObject *parent)
    : QObject(parent)
    , currentQuery(nullptr)
{
}

DatabaseManager::~DatabaseManager()
{
    delete currentQuery;
    currentQuery = nullptr;
    if (database.isValid()) {
        const QString name = database.connectionName();
        database.close();
        database = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
    }
}

bool DatabaseManager::openDatabase()
{
    const QString path = QDir::toNativeSeparators(QDir::currentPath() + QDir::separator() + "data");

    delete currentQuery;
    currentQuery = nullptr;
    database = QSqlDatabase::addDatabase("QSQLITE");
    database.setDatabaseName(path);

    if (!database.open()) {
        qDebug() << "DatabaseManager::openDatabase cannot open" << path << database.lastError().text();
        return false;
    }

    // A row that has been reported as stored must survive a crash right after:
    // keep SQLite's rollback journal with full synchronisation.
    QSqlQuery pragma(database);
    pragma.exec("PRAGMA synchronous = FULL");

    // The "status" row marks a database whose schema is complete: the schema is
    // created in one transaction together with it.
    QSqlQuery status(database);
    if (status.exec("SELECT value FROM settings WHERE key = 'status'") && status.next()) {
        status.finish();
        indexLog();
        return true;
    }
    status.finish();

    if (!createTables())
        return false;
    indexLog();
    return true;
}

void DatabaseManager::indexLog()
{
    // Exporting and deleting an evaluation look up its log rows by evaluation:
    // without an index each of them reads the whole table, which grows with
    // every evaluation kept. A file made by an earlier version gets the index
    // at its first open here; the tables and their stored text stay as they
    // are, so such a file remains readable by either version. Without the
    // index the store still works, only slower.
    QSqlQuery index(database);
    if (!index.exec("CREATE INDEX IF NOT EXISTS log_evaluationId ON log (evaluationId)"))
        qDebug() << "DatabaseManager::openDatabase cannot index the log:" << index.lastError().text();
}

bool DatabaseManager::createTables()
{
    // All four statements or none: a start that fails half-way leaves no
    // settings table behind, so the next start tries again.
    return executeAll("createTables",
                      {"CREATE TABLE settings (key TEXT UNIQUE, value TEXT)",
                       "INSERT INTO settings (key, value) VALUES ('status', '1')",
                       "CREATE TABLE evaluation (name TEXT,lastName TEXT,level TEXT,codeGroup TEXT,fullEvaluation "
                       "TEXT,endOfYear TEXT,evaluationDate TEXT)",
                       "CREATE TABLE log (date TEXT,evaluationId TEXT,test TEXT,key TEXT,value TEXT)"});
}

bool DatabaseManager::executeAll(const char *caller, const QStringList &statements)
{
    if (!database.transaction()) {
        qDebug().nospace() << "DatabaseManager::" << caller << " cannot begin: " << database.lastError().text();
        return false;
    }
    QSqlQuery query(database);
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            qDebug().nospace() << "DatabaseManager::" << caller << " failed: " << statement << " "
                               << query.lastError().text();
            query.finish();
            database.rollback();
            return false;
        }
    }
    query.finish();
    if (!database.commit()) {
        qDebug().nospace() << "DatabaseManager::" << caller << " cannot commit: " << database.lastError().text();
        database.rollback();
        return false;
    }
    return true;
}

bool DatabaseManager::insertRecord(QString table, QHash<QString, QString> data, int *newId)
{
    QStringList columns;
    QStringList placeholders;
    QList<QString> values;
    for (auto it = data.constBegin(); it != data.constEnd(); ++it) {
        columns << it.key();
        placeholders << QStringLiteral("?");
        values << it.value();
    }

    const QString sql = QStringLiteral("INSERT INTO ") + table + QStringLiteral(" (") + columns.join(',')
        + QStringLiteral(") VALUES (") + placeholders.join(',') + QStringLiteral(")");

    // The values are bound, never spliced into the statement: whatever a value
    // holds is stored exactly as it was passed.
    QSqlQuery query(database);
    if (!query.prepare(sql)) {
        qDebug() << "DatabaseManager::insertRecord cannot prepare" << sql << query.lastError().text();
        return false;
    }
    for (const QString &value : values)
        query.addBindValue(value.isNull() ? QString("") : value);
    if (!query.exec()) {
        qDebug() << "DatabaseManager::insertRecord failed" << sql << query.lastError().text();
        return false;
    }
    if (newId)
        *newId = query.lastInsertId().toInt();
    return true;
}

bool DatabaseManager::deleteEvaluation(int evaluationId)
{
    // An evaluation row left without its log rows would be uploaded again as
    // an empty export: a failure or a crash between the two deletions must
    // leave both in place. A read still open on the current query must not
    // hold the transaction back.
    if (currentQuery)
        currentQuery->finish();
    return executeAll("deleteEvaluation", {QString("DELETE FROM log WHERE evaluationId = %1").arg(evaluationId),
                                           QString("DELETE FROM evaluation WHERE ROWID = %1").arg(evaluationId)});
}

bool DatabaseManager::execQuery(QString sql)
{
    if (currentQuery) {
        currentQuery->finish();
        delete currentQuery;
        currentQuery = nullptr;
    }
    currentQuery = new QSqlQuery(database);
    return currentQuery->exec(sql);
}

bool DatabaseManager::nextRow()
{
    if (!currentQuery || !currentQuery->isActive())
        return false;
    return currentQuery->next();
}

QString DatabaseManager::valueOf(QString column)
{
    if (!currentQuery || !currentQuery->isActive())
        return QString("");
    const int index = currentQuery->record().indexOf(column);
    if (index < 0)
        return QString("");
    return currentQuery->value(index).toString();
}

QSqlError DatabaseManager::lastError()
{
    return database.lastError();
}

#ifndef DATABASEMANAGER_H
#define DATABASEMANAGER_H

#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

class QSqlQuery;

// The local SQLite store of evaluations and their log rows, kept in the file
// "data" of the working directory until they have been uploaded.
class DatabaseManager : public QObject
{
public:
    explicit DatabaseManager(QObject *parent = nullptr);
    ~DatabaseManager() override;

    // Opens "data" in the current directory and creates the schema on first
    // use; indexes the log by evaluation when the file lacks it.
    bool openDatabase();
    // Inserts one row; on success the new ROWID is written through newId (when given).
    bool insertRecord(QString table, QHash<QString, QString> data, int *newId);
    // Deletes an evaluation's log rows and its evaluation row together, or
    // neither: true once both deletions are committed.
    bool deleteEvaluation(int evaluationId);
    // Runs one statement and makes it the current query.
    bool execQuery(QString sql);
    bool nextRow();
    QString valueOf(QString column);
    QSqlError lastError();

private:
    bool createTables();
    // Creates the log's index by evaluation when it is missing.
    void indexLog();
    // Runs the statements in one transaction: all of them, or none.
    bool executeAll(const char *caller, const QStringList &statements);

    QSqlDatabase database;
    QSqlQuery *currentQuery;
};

#endif // DATABASEMANAGER_H

#ifndef FORMSYNC_H
#define FORMSYNC_H

#include <QWidget>

class DatabaseManager;

// The page that sends the stored evaluations to the scoring service.
// Placeholder: an empty page with the interface the administration window uses.
class FormSync : public QWidget
{
    Q_OBJECT

public:
    explicit FormSync(QWidget *parent = nullptr);

    void setDatabaseManager(DatabaseManager *manager);

private:
    DatabaseManager *databaseManager;
};

#endif // FORMSYNC_H

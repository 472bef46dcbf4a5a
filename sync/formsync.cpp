#include "formsync.h"

FormSync::FormSync(QWidget *parent)
    : QWidget(parent)
    , databaseManager(nullptr)
{
    setObjectName("FormSync");
}

void FormSync::setDatabaseManager(DatabaseManager *manager)
{
    databaseManager = manager;
}

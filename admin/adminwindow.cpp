#include "adminwindow.h"
#include "ui_adminwindow.h"

#include "formsubject.h"
#include "formsubjectingroup.h"
#include "formsync.h"
#include "formwelcome.h"

#include <QCoreApplication>

// The logos are compiled into a static library, whose registration code the
// linker keeps only when it is referred to. Must stay outside any namespace.
static void registerLogos()
{
    Q_INIT_RESOURCE(resources);
}

AdminWindow::AdminWindow(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::AdminWindow)
    , formSubjectInGroup(nullptr)
    , formSubject(nullptr)
    , formSync(nullptr)
    , formWelcome(new FormWelcome())
    , databaseManager(nullptr)
{
    registerLogos();
    ui->setupUi(this);

    // The layout makes the pages children of the content area.
    formWelcome->hide();
    ui->contentLayout->addWidget(formWelcome);

    connect(ui->buttonWelcome, &QPushButton::clicked, this, &AdminWindow::buttonHome);
    connect(ui->buttonInidividualEvaluation, &QPushButton::clicked, this, &AdminWindow::buttonSubject);
    connect(ui->buttonGroupEvaluation, &QPushButton::clicked, this, &AdminWindow::buttonSubjectInGroup);
    connect(ui->buttonSync, &QPushButton::clicked, this, &AdminWindow::buttonSync);
    connect(ui->buttonExit, &QPushButton::clicked, this, &AdminWindow::buttonExit);
}

void AdminWindow::buildPages()
{
    if (formSubject)
        return;
    formSubject = new FormSubject();
    formSubjectInGroup = new FormSubjectInGroup();
    formSync = new FormSync();
    for (QWidget *page : QList<QWidget *>{formSubject, formSubjectInGroup, formSync}) {
        page->hide();
        ui->contentLayout->addWidget(page);
    }
    formSync->setDatabaseManager(databaseManager);
    connect(formSubject, &FormSubject::requestGameStart, this, &AdminWindow::buttonClickStart);
    connect(formSubjectInGroup, &FormSubjectInGroup::requestGameStart, this, &AdminWindow::buttonClickStart);
}

AdminWindow::~AdminWindow()
{
    delete ui;
}

void AdminWindow::resetToHome()
{
    showOnly(formWelcome);
    show();
}

void AdminWindow::setDatabaseManager(DatabaseManager *manager)
{
    databaseManager = manager;
    if (formSync)
        formSync->setDatabaseManager(manager);
}

void AdminWindow::buttonClickStart(QString name, QString lastName, int level, QString codeGroup, bool fullEvaluation,
                                   bool endOfYear)
{
    emit requestStartGame(name, lastName, level, codeGroup, fullEvaluation, endOfYear);
}

void AdminWindow::buttonHome()
{
    showOnly(formWelcome);
}

void AdminWindow::buttonSubjectInGroup()
{
    buildPages();
    showOnly(formSubjectInGroup);
}

void AdminWindow::buttonSubject()
{
    buildPages();
    showOnly(formSubject);
}

void AdminWindow::buttonSync()
{
    buildPages();
    showOnly(formSync);
}

void AdminWindow::buttonExit()
{
    QCoreApplication::exit(0);
}

void AdminWindow::showOnly(QWidget *page)
{
    for (QWidget *shown : QList<QWidget *>{formWelcome, formSubject, formSubjectInGroup, formSync}) {
        if (shown)
            shown->hide();
    }
    page->show();
}

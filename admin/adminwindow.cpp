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
    , formSubjectInGroup(new FormSubjectInGroup())
    , formSubject(new FormSubject())
    , formSync(new FormSync())
    , formWelcome(new FormWelcome())
{
    registerLogos();
    ui->setupUi(this);

    formWelcome->hide();
    formSubject->hide();
    formSubjectInGroup->hide();
    formSync->hide();

    // The layout makes the pages children of the content area.
    ui->contentLayout->addWidget(formWelcome);
    ui->contentLayout->addWidget(formSubject);
    ui->contentLayout->addWidget(formSubjectInGroup);
    ui->contentLayout->addWidget(formSync);

    connect(ui->buttonWelcome, &QPushButton::clicked, this, &AdminWindow::buttonHome);
    connect(ui->buttonInidividualEvaluation, &QPushButton::clicked, this, &AdminWindow::buttonSubject);
    connect(ui->buttonGroupEvaluation, &QPushButton::clicked, this, &AdminWindow::buttonSubjectInGroup);
    connect(ui->buttonSync, &QPushButton::clicked, this, &AdminWindow::buttonSync);
    connect(ui->buttonExit, &QPushButton::clicked, this, &AdminWindow::buttonExit);
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
    showOnly(formSubjectInGroup);
}

void AdminWindow::buttonSubject()
{
    showOnly(formSubject);
}

void AdminWindow::buttonSync()
{
    showOnly(formSync);
}

void AdminWindow::buttonExit()
{
    QCoreApplication::exit(0);
}

void AdminWindow::showOnly(QWidget *page)
{
    formWelcome->hide();
    formSubject->hide();
    formSubjectInGroup->hide();
    formSync->hide();
    page->show();
}

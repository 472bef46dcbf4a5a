#ifndef ADMINWINDOW_H
#define ADMINWINDOW_H

#include <QString>
#include <QWidget>

class DatabaseManager;
class FormSubject;
class FormSubjectInGroup;
class FormSync;
class FormWelcome;

namespace Ui {
class AdminWindow;
}

// The screen shown while no evaluation runs: the strip of dimension colours,
// one page at a time (welcome, individual form, group form, upload), the menu
// that switches between them and the logos.
class AdminWindow : public QWidget
{
    Q_OBJECT

public:
    explicit AdminWindow(QWidget *parent = nullptr);
    ~AdminWindow() override;

    // Shows the welcome page alone, and the window itself.
    void resetToHome();
    // The store that the upload page reads the evaluations from and deletes them in.
    void setDatabaseManager(DatabaseManager *manager);
    // The pages behind the menu (the individual and group forms, the upload
    // page); built on first need, since only the welcome page shows at start.
    void buildPages();

signals:
    void requestFullScreen();
    void requestRestore();
    void requestStartGame(QString name, QString lastName, int level, QString codeGroup, bool fullEvaluation,
                          bool endOfYear);

public slots:
    void buttonClickStart(QString name, QString lastName, int level, QString codeGroup, bool fullEvaluation,
                          bool endOfYear);
    void buttonHome();
    void buttonSubjectInGroup();
    void buttonSubject();
    void buttonSync();
    void buttonExit();

private:
    void showOnly(QWidget *page);

    Ui::AdminWindow *ui;
    FormSubjectInGroup *formSubjectInGroup;
    FormSubject *formSubject;
    FormSync *formSync;
    FormWelcome *formWelcome;
    DatabaseManager *databaseManager;
};

#endif // ADMINWINDOW_H

#ifndef FORMSUBJECT_H
#define FORMSUBJECT_H

#include <QString>
#include <QWidget>

namespace Ui {
class FormSubject;
}

// The page on which the examiner describes a child evaluated on their own:
// names, school level, period of the school year and whether to run every test.
class FormSubject : public QWidget
{
    Q_OBJECT

public:
    explicit FormSubject(QWidget *parent = nullptr);
    ~FormSubject() override;

signals:
    void requestGameStart(QString name, QString lastName, int level, QString codeGroup, bool fullEvaluation,
                          bool endOfYear);

public slots:
    void buttonStartGame();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool validateForm();

    Ui::FormSubject *ui;
    int level;
};

#endif // FORMSUBJECT_H

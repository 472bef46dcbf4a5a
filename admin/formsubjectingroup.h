#ifndef FORMSUBJECTINGROUP_H
#define FORMSUBJECTINGROUP_H

#include <QString>
#include <QWidget>

namespace Ui {
class FormSubjectInGroup;
}

// The page on which the examiner describes a child who belongs to a comparison
// group: group code, names, school level and period of the school year.
class FormSubjectInGroup : public QWidget
{
    Q_OBJECT

public:
    explicit FormSubjectInGroup(QWidget *parent = nullptr);
    ~FormSubjectInGroup() override;

signals:
    void requestGameStart(QString name, QString lastName, int level, QString codeGroup, bool fullEvaluation,
                          bool endOfYear);

public slots:
    void buttonStartGame();

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool validateForm();

    Ui::FormSubjectInGroup *ui;
    int level;
};

#endif // FORMSUBJECTINGROUP_H

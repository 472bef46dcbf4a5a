#ifndef FORMWELCOME_H
#define FORMWELCOME_H

#include <QWidget>

namespace Ui {
class FormWelcome;
}

// The home page of the administration window: how to use the application.
class FormWelcome : public QWidget
{
    Q_OBJECT

public:
    explicit FormWelcome(QWidget *parent = nullptr);
    ~FormWelcome() override;

private:
    Ui::FormWelcome *ui;
};

#endif // FORMWELCOME_H

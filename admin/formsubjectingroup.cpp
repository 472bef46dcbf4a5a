#include "formsubjectingroup.h"
#include "ui_formsubjectingroup.h"

#include "sounddevicestatus.h"

#include <QMessageBox>
#include <QShowEvent>

namespace {
void showMessage(const QString &text)
{
    QMessageBox box;
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}
}

FormSubjectInGroup::FormSubjectInGroup(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::FormSubjectInGroup)
    , level(0)
{
    ui->setupUi(this);
    ui->comboBoxPeriodo->addItem(tr("Inicio"), 0);
    ui->comboBoxPeriodo->addItem(tr("Fin"), 1);
    ui->comboBoxPeriodo->setStyleSheet("padding:5px;");
    connect(ui->buttonStartGame, &QPushButton::clicked, this, &FormSubjectInGroup::buttonStartGame);
    // The sound devices' line, below the fields and above the button.
    ui->formLayout->insertRow(ui->formLayout->rowCount() - 2, new SoundDeviceStatus(this));
}

FormSubjectInGroup::~FormSubjectInGroup()
{
    delete ui;
}

void FormSubjectInGroup::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A spontaneous show comes from the window system (the window restored after
    // being minimised): the examiner has not come back to the page, so what was
    // typed stays.
    if (event->spontaneous())
        return;
    ui->lineEditGroup->setFocus();
    ui->lineEditGroup->clear();
    ui->lineEditName->clear();
    ui->lineEditLastName->clear();
    ui->radioLevel_1->setChecked(true);
    // The period keeps its last choice: a group is evaluated in one period.
}

void FormSubjectInGroup::buttonStartGame()
{
    if (!validateForm())
        return;
    // Without a microphone or a speaker the tests cannot run: nothing is
    // stored and what was typed stays.
    const QString missingDevice = SoundDeviceStatus::missingDeviceMessage();
    if (!missingDevice.isEmpty()) {
        showMessage(missingDevice);
        return;
    }
    emit requestGameStart(ui->lineEditName->text().trimmed(), ui->lineEditLastName->text().trimmed(), level,
                          ui->lineEditGroup->text().trimmed(), false, ui->comboBoxPeriodo->currentIndex() == 1);
}

bool FormSubjectInGroup::validateForm()
{
    level = 0;

    if (ui->lineEditGroup->text().trimmed().isEmpty()) {
        showMessage(tr("Debe escribir el código del grupo al que pertenece el sujeto."));
        ui->lineEditGroup->setFocus();
        return false;
    }
    if (ui->lineEditName->text().trimmed().isEmpty()) {
        showMessage(tr("Debe escribir el nombre del sujeto."));
        ui->lineEditName->setFocus();
        return false;
    }
    if (ui->lineEditLastName->text().trimmed().isEmpty()) {
        showMessage(tr("Debe escribir el apellido del sujeto."));
        ui->lineEditLastName->setFocus();
        return false;
    }

    const QRadioButton *const levels[] = {ui->radioLevel_1, ui->radioLevel_2, ui->radioLevel_3,
                                          ui->radioLevel_4, ui->radioLevel_5, ui->radioLevel_6};
    for (int i = 0; i < 6; ++i) {
        if (levels[i]->isChecked()) {
            level = i + 1;
            break;
        }
    }
    if (level == 0) {
        showMessage(tr("Debe seleccionar un nivel."));
        return false;
    }

    if (ui->comboBoxPeriodo->currentIndex() < 0) {
        showMessage(tr("Debe seleccionar un periodo del año escolar"));
        ui->comboBoxPeriodo->setFocus();
        return false;
    }
    return true;
}

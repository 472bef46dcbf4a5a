#include "formdriver.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QWidget>

FormDriver::FormDriver(QWidget *form)
    : form(form)
{
}

QWidget *FormDriver::child(const QString &objectName) const
{
    QWidget *widget = form->findChild<QWidget *>(objectName);
    if (!widget)
        qFatal("no widget named %s", qPrintable(objectName));
    return widget;
}

QString FormDriver::text(const QString &lineEdit) const
{
    return qobject_cast<QLineEdit *>(child(lineEdit))->text();
}

bool FormDriver::isChecked(const QString &button) const
{
    return qobject_cast<QAbstractButton *>(child(button))->isChecked();
}

int FormDriver::periodIndex() const
{
    return qobject_cast<QComboBox *>(child("comboBoxPeriodo"))->currentIndex();
}

void FormDriver::type(const QString &lineEdit, const QString &text) const
{
    QWidget *field = child(lineEdit);
    for (const QChar ch : text) {
        if (ch.unicode() < 128)
            QTest::keyClick(field, ch.toLatin1());
        else // what a keyboard sends for a letter such as "é": its key code and its text
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key(ch.toUpper().unicode()), QString(ch), Qt::NoModifier);
    }
}

void FormDriver::choosePeriod(bool endOfYear) const
{
    QTest::keyClick(child("comboBoxPeriodo"), endOfYear ? Qt::Key_Down : Qt::Key_Up);
}

void FormDriver::click(const QString &objectName) const
{
    QTest::mouseClick(child(objectName), Qt::LeftButton);
}

void FormDriver::clearLevels() const
{
    for (int level = 1; level <= 6; ++level) {
        auto *radio = qobject_cast<QRadioButton *>(child(QString("radioLevel_%1").arg(level)));
        radio->setAutoExclusive(false);
        radio->setChecked(false);
        radio->setAutoExclusive(true);
    }
}

void FormDriver::removePeriods() const
{
    qobject_cast<QComboBox *>(child("comboBoxPeriodo"))->clear();
}

#ifndef FORMDRIVER_H
#define FORMDRIVER_H

#include <QString>

class QWidget;

// Fills a subject form the way an examiner does: typing into its fields,
// clicking a level, choosing the period with the keyboard and pressing the button.
class FormDriver
{
public:
    explicit FormDriver(QWidget *form);

    QWidget *child(const QString &objectName) const;
    QString text(const QString &lineEdit) const;
    bool isChecked(const QString &button) const;
    int periodIndex() const;

    void type(const QString &lineEdit, const QString &text) const;
    void chooseLevel(int level) const { click(QString("radioLevel_%1").arg(level)); }
    // "Inicio" or "Fin", from the keyboard on the period box.
    void choosePeriod(bool endOfYear) const;
    void click(const QString &objectName) const;
    void start() const { click("buttonStartGame"); }
    // Leaves no level chosen (the radio buttons cannot be cleared by clicking).
    void clearLevels() const;
    // Leaves the period box without items.
    void removePeriods() const;

private:
    QWidget *form;
};

#endif // FORMDRIVER_H

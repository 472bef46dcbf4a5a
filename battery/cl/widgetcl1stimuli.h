#ifndef WIDGETCL1STIMULI_H
#define WIDGETCL1STIMULI_H

#include <QString>
#include <QStringList>
#include <QWidget>

class ClickableImage;
class QHBoxLayout;

// The three option pictures of one sentence reading item, side by side (left
// "a", centre "b", right "c"). A touch on one of them reports the item's
// number and whether it was the correct option.
class WidgetCL1Stimuli : public QWidget
{
    Q_OBJECT

public:
    WidgetCL1Stimuli(int itemNumber, QString correctOption, QWidget *parent = nullptr);

    // The picture of option "a", "b" or "c" of an item.
    static QString optionPath(int itemNumber, const QString &option);
    static QStringList optionLetters();

    ClickableImage *getLeftImage() const { return leftImage; }
    ClickableImage *getCenterImage() const { return centerImage; }
    ClickableImage *getRightImage() const { return rightImage; }
    int getItemNumber() const { return itemNumber; }
    QString getCorrectOption() const { return correctOption; }

signals:
    void selectedStimulus(int index_, bool isCorrect);

public slots:
    void selectedLeftOption();
    void selectedCenterOption();
    void selectedRightOption();

private:
    ClickableImage *leftImage;
    ClickableImage *centerImage;
    ClickableImage *rightImage;
    QString correctOption;
    QHBoxLayout *pictureLayout;
    int itemNumber;
};

#endif // WIDGETCL1STIMULI_H

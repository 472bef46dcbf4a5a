#ifndef WIDGETCF2STIMULI_H
#define WIDGETCF2STIMULI_H

#include <QString>
#include <QWidget>

class ClickableImage;
class QVBoxLayout;

// One item of the syllable and sound recognition tests: three pictures stacked
// top to bottom, of which the one named like the item key is the right answer.
// The examiner can have the options named one after the other (top, middle,
// bottom, top, ...); the option being named gets a frame.
class WidgetCF2Stimuli : public QWidget
{
    Q_OBJECT

public:
    WidgetCF2Stimuli(QString testCode, QString itemKey, QString targetWord, QString topName, QString middleName,
                     QString bottomName, QWidget *parent = nullptr);

    // "images/<test code>/<name>230x230.png"
    static QString picturePath(const QString &testCode, const QString &name);
    // "sounds/<test code>/<word>.wav"
    static QString soundPath(const QString &testCode, const QString &word);

    QString targetSoundPath() const;
    // The sound of the option due next; frames its picture and moves the cycle on.
    QString nextOptionSoundPath();
    // The next announcement names the top picture again; no picture is framed.
    void resetOptionCycle();
    void setHighlightOptions(bool highlight);

    QString getItemKey() const { return itemKey; }
    QString getTargetWord() const { return targetWord; }
    QString getTopName() const { return topName; }
    QString getMiddleName() const { return middleName; }
    QString getBottomName() const { return bottomName; }
    ClickableImage *getTopImage() const { return topImage; }
    ClickableImage *getMiddleImage() const { return middleImage; }
    ClickableImage *getBottomImage() const { return bottomImage; }

signals:
    // The first argument is always the item key, whichever picture was touched.
    void selectedStimulus(QString selectedStimulusName, bool isCorrect);

public slots:
    void selectedTopStimulus();
    void selectedMiddleStimulus();
    void selectedBottomStimulus();

private:
    void setFrames(int framedIndex);

    int optionIndex;
    ClickableImage *topImage;
    ClickableImage *middleImage;
    ClickableImage *bottomImage;
    QString testCode;
    QString topName;
    QString middleName;
    QString bottomName;
    QString itemKey;
    QString targetWord;
    QVBoxLayout *pictureLayout;
    bool highlightOptions;
};

#endif // WIDGETCF2STIMULI_H

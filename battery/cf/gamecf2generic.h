#ifndef GAMECF2GENERIC_H
#define GAMECF2GENERIC_H

#include "gamewithfriends.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class WidgetCF2Stimuli;

// The engine of the four syllable and sound recognition tests. Each item speaks
// a target word and shows three pictures stacked at the right of the play
// area; the child touches the one that shares the syllable or sound asked for.
// One example item (shown, never scored) and six test items, always in the
// order of the test's table. Each answer is logged under the item key (the
// name of the right picture) with "1" or "0". Clicking the friends animation
// replays the target word; Space names the options one after the other.
class GameCF2Generic : public GameWithFriends
{
    Q_OBJECT

public:
    // One row of a test's item table; the item key names the right picture.
    struct Item
    {
        const char *targetWord;
        const char *topName;
        const char *middleName;
        const char *bottomName;
        const char *itemKey;
    };

    explicit GameCF2Generic(QWidget *parent = nullptr);

    QString getTestCode() const { return testCode; }
    QString getCurrentKey() const { return currentKey; }
    // The widget of the item on screen (or of the example before it is shown).
    WidgetCF2Stimuli *currentStimulus() const { return stimuli.value(currentKey); }

public slots:
    void init() override;
    void runExample() override;
    void runGame() override;
    void runNext() override;

    void selectedStimulusWithValue(QString stimulusName, bool isCorrect);
    void playNextStimulus();
    void playWord();

protected:
    // Calls addStimulus for the example and then the six test items, in table
    // order, and leaves currentKey on the example.
    virtual void buildStimuli() = 0;

    void setTestCode(QString code);
    void addStimulus(QString itemKey, QString targetWord, QString topName, QString middleName, QString bottomName,
                     bool isTestItem);
    // buildStimuli for a table whose first row is the example.
    void addItems(const QList<Item> &items);
    // Every picture and sound a table can ask for.
    static QStringList resourcePathsFor(const QString &testCode, const QList<Item> &items);

    void placeStimuli();
    void showCurrentStimulus();

    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    QString testCode;
    QString currentKey;
    QList<QString> pendingKeys;
    QHash<QString, WidgetCF2Stimuli *> stimuli;
};

#endif // GAMECF2GENERIC_H

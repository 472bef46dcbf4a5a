#include "widgetcf2stimuli.h"

#include "clickableimage.h"

#include <QVBoxLayout>

WidgetCF2Stimuli::WidgetCF2Stimuli(QString testCode, QString itemKey, QString targetWord, QString topName,
                                   QString middleName, QString bottomName, QWidget *parent)
    : QWidget(parent)
    , optionIndex(0)
    , topImage(nullptr)
    , middleImage(nullptr)
    , bottomImage(nullptr)
    , testCode(testCode)
    , topName(topName)
    , middleName(middleName)
    , bottomName(bottomName)
    , itemKey(itemKey)
    , targetWord(targetWord)
    , pictureLayout(new QVBoxLayout(this))
    , highlightOptions(false)
{
    topImage = new ClickableImage(QString(), picturePath(testCode, topName), this);
    middleImage = new ClickableImage(QString(), picturePath(testCode, middleName), this);
    bottomImage = new ClickableImage(QString(), picturePath(testCode, bottomName), this);
    pictureLayout->addWidget(topImage);
    pictureLayout->addWidget(middleImage);
    pictureLayout->addWidget(bottomImage);

    // The layout keeps the style's margins and narrows the gaps between the
    // pictures to fit: 230 x 230 pictures give 242 x 710.
    setFixedSize(topImage->width() + 12, 3 * topImage->height() + 20);

    connect(topImage, &ClickableImage::clicked, this, &WidgetCF2Stimuli::selectedTopStimulus);
    connect(middleImage, &ClickableImage::clicked, this, &WidgetCF2Stimuli::selectedMiddleStimulus);
    connect(bottomImage, &ClickableImage::clicked, this, &WidgetCF2Stimuli::selectedBottomStimulus);
}

QString WidgetCF2Stimuli::picturePath(const QString &testCode, const QString &name)
{
    return QString("images/%1/%2").arg(testCode, name) + "230x230.png";
}

QString WidgetCF2Stimuli::soundPath(const QString &testCode, const QString &word)
{
    return QString("sounds/%1/%2.wav").arg(testCode, word);
}

QString WidgetCF2Stimuli::targetSoundPath() const
{
    return soundPath(testCode, targetWord);
}

QString WidgetCF2Stimuli::nextOptionSoundPath()
{
    const QString names[3] = {topName, middleName, bottomName};
    const int index = optionIndex;
    if (highlightOptions)
        setFrames(index);
    optionIndex = (optionIndex + 1) % 3;
    return soundPath(testCode, names[index]);
}

void WidgetCF2Stimuli::resetOptionCycle()
{
    optionIndex = 0;
    // A frame left from an earlier showing of this item would point at an
    // option nobody has named yet.
    setFrames(-1);
}

void WidgetCF2Stimuli::setHighlightOptions(bool highlight)
{
    highlightOptions = highlight;
}

void WidgetCF2Stimuli::setFrames(int framedIndex)
{
    topImage->setFramed(framedIndex == 0);
    middleImage->setFramed(framedIndex == 1);
    bottomImage->setFramed(framedIndex == 2);
}

void WidgetCF2Stimuli::selectedTopStimulus()
{
    emit selectedStimulus(itemKey, topName == itemKey);
}

void WidgetCF2Stimuli::selectedMiddleStimulus()
{
    emit selectedStimulus(itemKey, middleName == itemKey);
}

void WidgetCF2Stimuli::selectedBottomStimulus()
{
    emit selectedStimulus(itemKey, bottomName == itemKey);
}

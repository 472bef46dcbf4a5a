#include "widgetcl1stimuli.h"

#include "clickableimage.h"

#include <QHBoxLayout>

WidgetCL1Stimuli::WidgetCL1Stimuli(int itemNumber, QString correctOption, QWidget *parent)
    : QWidget(parent)
    , leftImage(nullptr)
    , centerImage(nullptr)
    , rightImage(nullptr)
    , correctOption(correctOption)
    , pictureLayout(nullptr)
    , itemNumber(itemNumber)
{
    leftImage = new ClickableImage("", optionPath(itemNumber, "a"), this);
    centerImage = new ClickableImage("", optionPath(itemNumber, "b"), this);
    rightImage = new ClickableImage("", optionPath(itemNumber, "c"), this);

    pictureLayout = new QHBoxLayout(this);
    pictureLayout->addWidget(leftImage);
    pictureLayout->addWidget(centerImage);
    pictureLayout->addWidget(rightImage);

    // Room for the three pictures with the layout's margins and spacing, so
    // that the right-hand option is never cut off.
    setFixedSize(pictureLayout->sizeHint());

    connect(leftImage, &ClickableImage::clicked, this, &WidgetCL1Stimuli::selectedLeftOption);
    connect(centerImage, &ClickableImage::clicked, this, &WidgetCL1Stimuli::selectedCenterOption);
    connect(rightImage, &ClickableImage::clicked, this, &WidgetCL1Stimuli::selectedRightOption);
}

QString WidgetCL1Stimuli::optionPath(int itemNumber, const QString &option)
{
    return QString("images/CL1A/cl1a0%1%2.png").arg(itemNumber).arg(option);
}

QStringList WidgetCL1Stimuli::optionLetters()
{
    return {"a", "b", "c"};
}

void WidgetCL1Stimuli::selectedLeftOption()
{
    emit selectedStimulus(itemNumber, correctOption == "a");
}

void WidgetCL1Stimuli::selectedCenterOption()
{
    emit selectedStimulus(itemNumber, correctOption == "b");
}

void WidgetCL1Stimuli::selectedRightOption()
{
    emit selectedStimulus(itemNumber, correctOption == "c");
}

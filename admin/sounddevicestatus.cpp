#include "sounddevicestatus.h"

#include <QAudioDeviceInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <cmath>

SoundDeviceStatus::SoundDeviceStatus(QWidget *parent)
    : QWidget(parent)
    , progressBarLevel(new QProgressBar(this))
    , labelSoundStatus(new QLabel(this))
    , listenAfterPaint(false)
    , speakerFound(true)
{
    setObjectName("soundDeviceStatus");
    progressBarLevel->setObjectName("progressBarLevel");
    progressBarLevel->setRange(0, 100);
    progressBarLevel->setValue(0);
    progressBarLevel->setTextVisible(false);
    progressBarLevel->setFixedSize(80, 10);
    progressBarLevel->hide();
    labelSoundStatus->setObjectName("labelSoundStatus");
    labelSoundStatus->setWordWrap(true);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(progressBarLevel);
    layout->addWidget(labelSoundStatus, 1);
    // One line, whether it holds text or the meter alone.
    setMinimumHeight(labelSoundStatus->fontMetrics().height());

    connect(&levelMeter, &InputLevelMeter::levelChanged, this, [this](qreal level) {
        // In decibels over the 48 dB an 8-bit recording can hold, as the ear hears it.
        const qreal db = level > 0 ? 20 * std::log10(level) : -48;
        progressBarLevel->setValue(qBound(0, int(100 * (1 + db / 48)), 100));
    });
    connect(&levelMeter, &InputLevelMeter::verdictChanged, this, &SoundDeviceStatus::showVerdict);
}

QString SoundDeviceStatus::missingDeviceMessage()
{
    if (QAudioDeviceInfo::defaultInputDevice().isNull())
        return tr("No se encontró ningún micrófono. Conéctelo antes de comenzar la evaluación.");
    if (QAudioDeviceInfo::defaultOutputDevice().isNull())
        return tr("No se encontró ningún altavoz. Conéctelo antes de comenzar la evaluación.");
    return QString();
}

QString SoundDeviceStatus::statusText() const
{
    return labelSoundStatus->text();
}

void SoundDeviceStatus::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // What was said about the devices the last time may no longer hold.
    labelSoundStatus->clear();
    progressBarLevel->setValue(0);
    listenAfterPaint = true;
}

void SoundDeviceStatus::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // Looking for the devices and opening the microphone take a moment: the
    // form is on screen first.
    if (listenAfterPaint) {
        listenAfterPaint = false;
        QTimer::singleShot(0, this, &SoundDeviceStatus::listen);
    }
}

void SoundDeviceStatus::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    listenAfterPaint = false;
    levelMeter.stop();
}

void SoundDeviceStatus::listen()
{
    if (!isVisible())
        return;
    speakerFound = !QAudioDeviceInfo::defaultOutputDevice().isNull();
    progressBarLevel->setValue(0);
    levelMeter.start();
    showVerdict();
}

void SoundDeviceStatus::showVerdict()
{
    const InputLevelMeter::Verdict verdict = levelMeter.verdict();
    // The meter while the microphone delivers something; a warning alone when it does not.
    progressBarLevel->setVisible(verdict == InputLevelMeter::Listening || verdict == InputLevelMeter::SoundHeard);
    QString text;
    if (verdict == InputLevelMeter::NoDevice)
        text = tr("No se encontró ningún micrófono.");
    else if (!speakerFound)
        text = tr("No se encontró ningún altavoz.");
    else if (verdict == InputLevelMeter::Silent)
        text = tr("El micrófono no capta sonido. Revise que no esté silenciado.");
    else if (verdict == InputLevelMeter::SoundHeard)
        text = tr("Micrófono listo.");
    labelSoundStatus->setText(text);
}

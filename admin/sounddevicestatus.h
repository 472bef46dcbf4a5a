#ifndef SOUNDDEVICESTATUS_H
#define SOUNDDEVICESTATUS_H

#include "inputlevelmeter.h"

#include <QString>
#include <QWidget>

class QLabel;
class QProgressBar;

// The line under a subject form's fields that tells the examiner, before the
// child sits down, whether the sound devices work: a live level meter of the
// microphone and one line of text (no microphone, a microphone that captures
// nothing, a microphone ready, no speaker).
//
// The microphone is opened only once the line has been drawn, so the form
// appears as fast as without it, and it is released whenever the line is
// hidden, so the recordings of an evaluation get the device to themselves.
class SoundDeviceStatus : public QWidget
{
    Q_OBJECT

public:
    explicit SoundDeviceStatus(QWidget *parent = nullptr);

    // The message that stops an evaluation from starting (no microphone or no
    // speaker), or an empty string when both devices are there.
    static QString missingDeviceMessage();

    // What the line says now (empty while the meter alone is shown).
    QString statusText() const;
    const InputLevelMeter *meter() const { return &levelMeter; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void listen();
    void showVerdict();

    InputLevelMeter levelMeter;
    QProgressBar *progressBarLevel;
    QLabel *labelSoundStatus;
    bool listenAfterPaint;
    bool speakerFound;
};

#endif // SOUNDDEVICESTATUS_H

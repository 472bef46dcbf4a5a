#ifndef TRANSITIONLABEL_H
#define TRANSITIONLABEL_H

#include <QLabel>

// The title card shown before a test. A press of any mouse button anywhere on
// it emits clicked() once; the press is not passed on.
class TransitionLabel : public QLabel
{
    Q_OBJECT

public:
    explicit TransitionLabel(QWidget *parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

#endif // TRANSITIONLABEL_H

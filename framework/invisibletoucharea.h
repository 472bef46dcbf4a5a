#ifndef INVISIBLETOUCHAREA_H
#define INVISIBLETOUCHAREA_H

#include <QLabel>
#include <QString>

// An invisible clickable rectangle laid over a larger picture. While enabled it
// is shown, veils its area lightly while the pointer is over it and emits
// clicked(value) on a press of any mouse button; disabled, it is hidden and
// emits nothing. Presses are never passed on to the parent.
class InvisibleTouchArea : public QLabel
{
    Q_OBJECT

public:
    InvisibleTouchArea(int width, int height, const QString &value, QWidget *parent = nullptr);

    void setTouchEnabled(bool e);
    bool isTouchEnabled() const { return touchEnabled; }
    QString getValue() const { return value; }

signals:
    void clicked(QString value);

protected:
    void enterEvent(QEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

    QString value;
    bool touchEnabled;
};

#endif // INVISIBLETOUCHAREA_H

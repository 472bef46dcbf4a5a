#ifndef CLICKABLEIMAGE_H
#define CLICKABLEIMAGE_H

#include <QLabel>
#include <QPixmap>
#include <QString>

// A picture button with an active and an inactive picture. It starts active and
// takes the pixel size of its active picture. A press of any mouse button emits
// clicked() only while the button is active and visible; the press is never
// passed on to the parent, not even when it is ignored.
//
// As with ImageLabel, the size comes from the file's header and the pictures
// are decoded when the button is first shown or painted.
class ClickableImage : public QLabel
{
    Q_OBJECT

public:
    ClickableImage(const QString &inactivePath, const QString &activePath, QWidget *parent = nullptr);

    // Active: active picture, raised above its siblings, clicks accepted.
    // Inactive: inactive picture, stacking unchanged, clicks ignored.
    void setActive(bool a);
    bool isActive() const { return active; }

    // Draws a styled panel frame around the picture (marks a selected choice).
    void setFramed(bool f);

    // Forgets the decoded pictures (the size and the state stay); they are
    // decoded again when the button is next shown or painted.
    void releasePictures();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

    bool active;
    QPixmap inactivePixmap;
    QPixmap activePixmap;

private:
    void decode();

    QString inactivePath;
    QString activePath;
    bool decoded;
};

#endif // CLICKABLEIMAGE_H

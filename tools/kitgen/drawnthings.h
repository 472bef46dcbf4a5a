#ifndef DRAWNTHINGS_H
#define DRAWNTHINGS_H

#include <QRectF>
#include <QString>
#include <QStringList>

class QPainter;

// Things the emoji font has no picture of, drawn with QPainter. Each fills a
// square box; scenes place them like emoji.
class DrawnThings
{
public:
    static QStringList names();
    // False when there is no drawing of that name.
    static bool draw(QPainter &painter, const QString &name, const QRectF &box);

    // The drum and its sticks for the syllable segmentation test (whole pictures).
    static void drum(QPainter &painter, const QRectF &rect);
    // A stick as seen at the left edge of the drum (the right-hand ones are its mirror image):
    // raised, or striking the drum head near the picture's bottom.
    static void stick(QPainter &painter, const QRectF &rect, bool down);

private:
    static void table(QPainter &p, const QRectF &b);
    static void eraser(QPainter &p, const QRectF &b);
    static void cabbage(QPainter &p, const QRectF &b);
    static void sack(QPainter &p, const QRectF &b);
    static void fence(QPainter &p, const QRectF &b);
    static void eight(QPainter &p, const QRectF &b);
    static void street(QPainter &p, const QRectF &b);
    static void shovel(QPainter &p, const QRectF &b);
    static void oar(QPainter &p, const QRectF &b);
    static void lid(QPainter &p, const QRectF &b);
    static void colander(QPainter &p, const QRectF &b);
    static void stove(QPainter &p, const QRectF &b);
    static void carriage(QPainter &p, const QRectF &b);
};

#endif // DRAWNTHINGS_H

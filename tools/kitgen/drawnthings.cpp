#include "drawnthings.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

namespace {
// Coordinates inside a box given as fractions of its size.
struct Frac {
    QRectF b;
    QPointF operator()(qreal x, qreal y) const { return QPointF(b.left() + x * b.width(), b.top() + y * b.height()); }
    QRectF rect(qreal x0, qreal y0, qreal x1, qreal y1) const { return QRectF((*this)(x0, y0), (*this)(x1, y1)); }
    qreal w(qreal f) const { return f * b.width(); }
    qreal h(qreal f) const { return f * b.height(); }
};

QPen outline(const QColor &c, qreal width)
{
    QPen pen(c, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QLinearGradient vertical(const QRectF &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QLinearGradient horizontal(const QRectF &r, const QColor &left, const QColor &right)
{
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, left);
    g.setColorAt(1, right);
    return g;
}
}

QStringList DrawnThings::names()
{
    return {"table", "eraser", "cabbage", "sack", "fence", "eight", "street", "shovel", "oar", "lid",
            "colander", "stove", "carriage"};
}

bool DrawnThings::draw(QPainter &painter, const QString &name, const QRectF &box)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    bool known = true;
    if (name == "table") table(painter, box);
    else if (name == "eraser") eraser(painter, box);
    else if (name == "cabbage") cabbage(painter, box);
    else if (name == "sack") sack(painter, box);
    else if (name == "fence") fence(painter, box);
    else if (name == "eight") eight(painter, box);
    else if (name == "street") street(painter, box);
    else if (name == "shovel") shovel(painter, box);
    else if (name == "oar") oar(painter, box);
    else if (name == "lid") lid(painter, box);
    else if (name == "colander") colander(painter, box);
    else if (name == "stove") stove(painter, box);
    else if (name == "carriage") carriage(painter, box);
    else known = false;
    painter.restore();
    return known;
}

void DrawnThings::table(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    const QColor edge(92, 56, 24);
    p.setPen(outline(edge, f.w(0.012)));
    // Back legs first, the top hides their upper ends.
    p.setBrush(QColor(150, 96, 48));
    p.drawRect(f.rect(0.19, 0.45, 0.25, 0.80));
    p.drawRect(f.rect(0.75, 0.45, 0.81, 0.80));
    // Top surface in perspective, then its front edge.
    QPolygonF top;
    top << f(0.16, 0.32) << f(0.84, 0.32) << f(0.97, 0.47) << f(0.03, 0.47);
    p.setBrush(vertical(f.rect(0, 0.32, 1, 0.47), QColor(222, 164, 98), QColor(196, 132, 66)));
    p.drawPolygon(top);
    p.setBrush(QColor(166, 104, 48));
    p.drawRect(f.rect(0.03, 0.47, 0.97, 0.54));
    // Front legs.
    p.setBrush(horizontal(f.rect(0.07, 0.54, 0.14, 0.93), QColor(176, 112, 56), QColor(140, 88, 40)));
    p.drawRect(f.rect(0.07, 0.54, 0.14, 0.93));
    p.setBrush(horizontal(f.rect(0.86, 0.54, 0.93, 0.93), QColor(176, 112, 56), QColor(140, 88, 40)));
    p.drawRect(f.rect(0.86, 0.54, 0.93, 0.93));
    // Wood grain on the top.
    p.setPen(outline(QColor(180, 118, 60, 160), f.w(0.006)));
    p.drawLine(f(0.25, 0.36), f(0.62, 0.36));
    p.drawLine(f(0.18, 0.41), f(0.48, 0.41));
    p.drawLine(f(0.58, 0.43), f(0.88, 0.43));
}

void DrawnThings::eraser(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    p.translate(b.center());
    p.rotate(-14);
    p.translate(-b.center());
    const QColor edge(70, 60, 60);
    p.setPen(outline(edge, f.w(0.012)));
    // Top face, then the front face in two colours (a classic school eraser).
    QPolygonF top;
    top << f(0.20, 0.40) << f(0.84, 0.40) << f(0.92, 0.30) << f(0.28, 0.30);
    p.setBrush(QColor(250, 250, 246));
    p.drawPolygon(top);
    QPolygonF side;
    side << f(0.84, 0.40) << f(0.92, 0.30) << f(0.92, 0.56) << f(0.84, 0.66);
    p.setBrush(QColor(40, 96, 180));
    p.drawPolygon(side);
    p.setBrush(QColor(226, 62, 56));
    p.drawRect(f.rect(0.20, 0.40, 0.50, 0.66));
    p.setBrush(QColor(52, 118, 210));
    p.drawRect(f.rect(0.50, 0.40, 0.84, 0.66));
    // A worn corner and a few crumbs.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRect(f.rect(0.22, 0.42, 0.48, 0.47));
    p.setBrush(QColor(220, 90, 80));
    p.drawEllipse(f(0.16, 0.78), f.w(0.015), f.w(0.012));
    p.drawEllipse(f(0.24, 0.82), f.w(0.012), f.w(0.01));
    p.drawEllipse(f(0.31, 0.77), f.w(0.01), f.w(0.008));
}

void DrawnThings::cabbage(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    const QColor dark(62, 124, 46), mid(120, 186, 84), light(196, 232, 150);
    p.setPen(outline(dark, f.w(0.012)));
    // Outer leaves, open at the sides.
    QPainterPath leaves;
    leaves.moveTo(f(0.5, 0.92));
    leaves.cubicTo(f(0.10, 0.95), f(0.00, 0.55), f(0.16, 0.32));
    leaves.cubicTo(f(0.22, 0.50), f(0.30, 0.62), f(0.5, 0.70));
    leaves.cubicTo(f(0.70, 0.62), f(0.78, 0.50), f(0.84, 0.32));
    leaves.cubicTo(f(1.00, 0.55), f(0.90, 0.95), f(0.5, 0.92));
    p.setBrush(vertical(f.rect(0, 0.3, 1, 0.95), QColor(88, 160, 62), dark));
    p.drawPath(leaves);
    // The round head.
    QRadialGradient head(f(0.45, 0.40), f.w(0.36));
    head.setColorAt(0, light);
    head.setColorAt(0.7, mid);
    head.setColorAt(1, QColor(90, 160, 66));
    p.setBrush(head);
    p.drawEllipse(f.rect(0.20, 0.18, 0.80, 0.80));
    // Folded leaves on the head.
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(QColor(86, 150, 60), f.w(0.014)));
    p.drawArc(f.rect(0.26, 0.22, 0.66, 0.74), 100 * 16, 150 * 16);
    p.drawArc(f.rect(0.36, 0.24, 0.76, 0.76), -70 * 16, 150 * 16);
    // Pale veins.
    p.setPen(outline(QColor(236, 248, 214), f.w(0.012)));
    QPainterPath veins;
    veins.moveTo(f(0.5, 0.78));
    veins.quadTo(f(0.46, 0.50), f(0.34, 0.30));
    veins.moveTo(f(0.5, 0.78));
    veins.quadTo(f(0.58, 0.52), f(0.70, 0.36));
    veins.moveTo(f(0.47, 0.55));
    veins.quadTo(f(0.36, 0.52), f(0.27, 0.56));
    veins.moveTo(f(0.56, 0.57));
    veins.quadTo(f(0.66, 0.55), f(0.74, 0.60));
    p.drawPath(veins);
}

void DrawnThings::sack(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    const QColor edge(112, 78, 38);
    QPainterPath body;
    body.moveTo(f(0.40, 0.30));
    body.cubicTo(f(0.22, 0.40), f(0.10, 0.62), f(0.18, 0.86));
    body.quadTo(f(0.5, 0.97), f(0.82, 0.86));
    body.cubicTo(f(0.90, 0.62), f(0.78, 0.40), f(0.60, 0.30));
    body.closeSubpath();
    QPainterPath mouth;
    mouth.moveTo(f(0.40, 0.30));
    mouth.cubicTo(f(0.30, 0.20), f(0.28, 0.10), f(0.34, 0.08));
    mouth.quadTo(f(0.42, 0.16), f(0.50, 0.10));
    mouth.quadTo(f(0.58, 0.16), f(0.66, 0.08));
    mouth.cubicTo(f(0.72, 0.10), f(0.70, 0.20), f(0.60, 0.30));
    mouth.closeSubpath();
    p.setPen(outline(edge, f.w(0.014)));
    QRadialGradient jute(f(0.42, 0.55), f.w(0.5));
    jute.setColorAt(0, QColor(228, 196, 140));
    jute.setColorAt(1, QColor(186, 144, 88));
    p.setBrush(jute);
    p.drawPath(mouth);
    p.drawPath(body);
    // Woven texture.
    p.save();
    p.setClipPath(body);
    p.setPen(outline(QColor(160, 120, 70, 110), f.w(0.006)));
    for (qreal x = 0.1; x < 0.95; x += 0.045)
        p.drawLine(f(x, 0.28), f(x + 0.04, 0.98));
    for (qreal y = 0.32; y < 1.0; y += 0.045)
        p.drawLine(f(0.05, y), f(0.95, y - 0.02));
    p.restore();
    // The rope tied round the neck.
    p.setPen(outline(QColor(120, 70, 30), f.w(0.012)));
    p.setBrush(QColor(170, 110, 50));
    p.drawRoundedRect(f.rect(0.36, 0.26, 0.64, 0.33), f.w(0.03), f.w(0.03));
    p.drawEllipse(f(0.56, 0.36), f.w(0.035), f.w(0.05));
    p.drawLine(f(0.57, 0.40), f(0.61, 0.52));
    p.drawLine(f(0.55, 0.40), f(0.52, 0.50));
}

void DrawnThings::fence(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    // Grass.
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(f.rect(0, 0.78, 1, 1), QColor(136, 200, 92), QColor(92, 160, 60)));
    p.drawRoundedRect(f.rect(0.0, 0.80, 1.0, 0.98), f.w(0.04), f.w(0.04));
    const QColor edge(120, 72, 30);
    p.setPen(outline(edge, f.w(0.012)));
    // Two rails behind the pickets.
    p.setBrush(QColor(196, 130, 66));
    p.drawRect(f.rect(0.02, 0.38, 0.98, 0.46));
    p.drawRect(f.rect(0.02, 0.64, 0.98, 0.72));
    // Pointed pickets.
    for (int i = 0; i < 5; ++i) {
        const qreal x = 0.06 + i * 0.19;
        QPolygonF picket;
        picket << f(x, 0.92) << f(x, 0.22) << f(x + 0.07, 0.12) << f(x + 0.14, 0.22) << f(x + 0.14, 0.92);
        p.setBrush(horizontal(f.rect(x, 0, x + 0.14, 1), QColor(230, 168, 96), QColor(200, 136, 70)));
        p.drawPolygon(picket);
        p.setBrush(QColor(110, 70, 36));
        p.drawEllipse(f(x + 0.07, 0.42), f.w(0.01), f.w(0.01));
        p.drawEllipse(f(x + 0.07, 0.68), f.w(0.01), f.w(0.01));
    }
}

void DrawnThings::eight(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(qRound(f.h(0.95)));
    QPainterPath digit;
    digit.addText(0, 0, font, "8");
    const QRectF r = digit.boundingRect();
    digit.translate(b.center() - r.center());
    p.setPen(outline(QColor(170, 60, 20), f.w(0.03)));
    p.setBrush(vertical(b, QColor(255, 170, 60), QColor(240, 96, 40)));
    p.drawPath(digit);
}

void DrawnThings::street(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    p.setPen(Qt::NoPen);
    // Road and sidewalk.
    p.setBrush(QColor(96, 98, 104));
    p.drawRect(f.rect(0.0, 0.66, 1.0, 1.0));
    p.setBrush(QColor(204, 200, 190));
    p.drawRect(f.rect(0.0, 0.58, 1.0, 0.66));
    p.setBrush(QColor(240, 240, 240));
    for (int i = 0; i < 4; ++i)
        p.drawRect(f.rect(0.04 + i * 0.26, 0.815, 0.18 + i * 0.26, 0.845));
    // A row of houses.
    const QColor walls[3] = {QColor(244, 176, 120), QColor(140, 196, 230), QColor(250, 224, 120)};
    const QColor roofs[3] = {QColor(190, 70, 50), QColor(80, 100, 150), QColor(180, 96, 40)};
    const qreal tops[3] = {0.28, 0.20, 0.30};
    for (int i = 0; i < 3; ++i) {
        const qreal x0 = 0.02 + i * 0.33, x1 = x0 + 0.30, top = tops[i];
        p.setPen(outline(QColor(80, 60, 50), f.w(0.008)));
        p.setBrush(walls[i]);
        p.drawRect(f.rect(x0, top + 0.10, x1, 0.58));
        QPolygonF roof;
        roof << f(x0 - 0.015, top + 0.11) << f((x0 + x1) / 2, top - 0.04) << f(x1 + 0.015, top + 0.11);
        p.setBrush(roofs[i]);
        p.drawPolygon(roof);
        p.setBrush(QColor(120, 76, 46));
        p.drawRect(f.rect(x0 + 0.11, 0.44, x0 + 0.19, 0.58));
        p.setBrush(QColor(214, 238, 255));
        p.drawRect(f.rect(x0 + 0.03, top + 0.16, x0 + 0.10, top + 0.23));
        p.drawRect(f.rect(x1 - 0.10, top + 0.16, x1 - 0.03, top + 0.23));
    }
}

void DrawnThings::shovel(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    p.translate(b.center());
    p.rotate(28);
    p.translate(-b.center());
    const QColor edge(70, 60, 50);
    p.setPen(outline(edge, f.w(0.012)));
    // D-shaped grip and wooden shaft.
    p.setBrush(Qt::NoBrush);
    QPen grip = outline(QColor(120, 74, 34), f.w(0.035));
    p.setPen(grip);
    p.drawRoundedRect(f.rect(0.42, 0.02, 0.58, 0.13), f.w(0.04), f.w(0.04));
    p.setPen(outline(edge, f.w(0.012)));
    p.setBrush(horizontal(f.rect(0.47, 0, 0.53, 1), QColor(214, 156, 90), QColor(160, 104, 50)));
    p.drawRect(f.rect(0.47, 0.12, 0.53, 0.60));
    // Metal collar and blade.
    p.setBrush(QColor(150, 150, 156));
    p.drawRect(f.rect(0.45, 0.58, 0.55, 0.65));
    QPainterPath blade;
    blade.moveTo(f(0.33, 0.64));
    blade.lineTo(f(0.67, 0.64));
    blade.cubicTo(f(0.70, 0.80), f(0.62, 0.92), f(0.5, 0.99));
    blade.cubicTo(f(0.38, 0.92), f(0.30, 0.80), f(0.33, 0.64));
    QLinearGradient steel(f(0.33, 0.7), f(0.67, 0.7));
    steel.setColorAt(0, QColor(120, 126, 136));
    steel.setColorAt(0.45, QColor(214, 220, 228));
    steel.setColorAt(1, QColor(130, 136, 146));
    p.setBrush(steel);
    p.drawPath(blade);
    // A little earth on the blade.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 84, 50));
    p.drawEllipse(f(0.5, 0.90), f.w(0.06), f.w(0.035));
}

void DrawnThings::oar(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    const QColor edge(96, 60, 26);
    for (int side = 0; side < 2; ++side) {
        p.save();
        p.translate(b.center());
        p.rotate(side == 0 ? -34 : 34);
        p.translate(-b.center());
        p.setPen(outline(edge, f.w(0.012)));
        // Shaft with a grip at the bottom and a broad blade at the top.
        p.setBrush(horizontal(f.rect(0.475, 0, 0.525, 1), QColor(226, 170, 100), QColor(176, 118, 60)));
        p.drawRoundedRect(f.rect(0.475, 0.30, 0.525, 0.98), f.w(0.02), f.w(0.02));
        p.setBrush(QColor(150, 96, 46));
        p.drawRoundedRect(f.rect(0.468, 0.86, 0.532, 0.99), f.w(0.02), f.w(0.02));
        QPainterPath blade;
        blade.moveTo(f(0.48, 0.36));
        blade.cubicTo(f(0.38, 0.30), f(0.39, 0.06), f(0.5, 0.01));
        blade.cubicTo(f(0.61, 0.06), f(0.62, 0.30), f(0.52, 0.36));
        blade.closeSubpath();
        p.setBrush(horizontal(f.rect(0.39, 0, 0.61, 1), QColor(236, 186, 116), QColor(190, 130, 66)));
        p.drawPath(blade);
        p.setPen(outline(QColor(160, 104, 50, 170), f.w(0.006)));
        p.drawLine(f(0.5, 0.06), f(0.5, 0.32));
        p.restore();
    }
    // Water below.
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(QColor(60, 140, 210), f.w(0.02)));
    for (int i = 0; i < 2; ++i) {
        QPainterPath wave;
        const qreal y = 0.90 + i * 0.06;
        wave.moveTo(f(0.08, y));
        for (int k = 0; k < 4; ++k)
            wave.quadTo(f(0.08 + k * 0.21 + 0.105, y - 0.04), f(0.08 + (k + 1) * 0.21, y));
        p.drawPath(wave);
    }
}

void DrawnThings::lid(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    p.translate(b.center());
    p.rotate(-10);
    p.translate(-b.center());
    const QColor edge(70, 74, 82);
    p.setPen(outline(edge, f.w(0.014)));
    // Rim seen from slightly above, then the dome and its knob.
    QLinearGradient steel(f(0.05, 0.5), f(0.95, 0.5));
    steel.setColorAt(0, QColor(140, 146, 156));
    steel.setColorAt(0.4, QColor(232, 236, 242));
    steel.setColorAt(1, QColor(150, 156, 166));
    p.setBrush(steel);
    p.drawEllipse(f.rect(0.05, 0.48, 0.95, 0.74));
    QPainterPath dome;
    dome.moveTo(f(0.08, 0.60));
    dome.cubicTo(f(0.12, 0.30), f(0.88, 0.30), f(0.92, 0.60));
    dome.cubicTo(f(0.70, 0.68), f(0.30, 0.68), f(0.08, 0.60));
    p.drawPath(dome);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(f.rect(0.26, 0.42, 0.48, 0.50));
    p.setPen(outline(QColor(30, 30, 30), f.w(0.012)));
    p.setBrush(QColor(50, 50, 56));
    p.drawRect(f.rect(0.47, 0.30, 0.53, 0.39));
    p.drawRoundedRect(f.rect(0.38, 0.24, 0.62, 0.31), f.w(0.03), f.w(0.03));
}

void DrawnThings::colander(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    const QColor edge(70, 74, 82);
    p.setPen(outline(edge, f.w(0.014)));
    QLinearGradient steel(f(0.1, 0.5), f(0.9, 0.5));
    steel.setColorAt(0, QColor(150, 156, 166));
    steel.setColorAt(0.35, QColor(236, 240, 246));
    steel.setColorAt(1, QColor(140, 146, 156));
    // Handles on both sides.
    p.setBrush(QColor(120, 126, 136));
    p.drawRoundedRect(f.rect(0.00, 0.36, 0.16, 0.44), f.w(0.03), f.w(0.03));
    p.drawRoundedRect(f.rect(0.84, 0.36, 1.00, 0.44), f.w(0.03), f.w(0.03));
    // Foot, bowl and the inside seen through the rim.
    p.setBrush(QColor(150, 156, 166));
    p.drawRect(f.rect(0.36, 0.78, 0.64, 0.86));
    QPainterPath bowl;
    bowl.moveTo(f(0.10, 0.40));
    bowl.cubicTo(f(0.12, 0.78), f(0.88, 0.78), f(0.90, 0.40));
    bowl.closeSubpath();
    p.setBrush(steel);
    p.drawPath(bowl);
    p.setBrush(QColor(178, 184, 194));
    p.drawEllipse(f.rect(0.10, 0.32, 0.90, 0.48));
    // Rows of holes.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 64, 72));
    const int perRow[3] = {9, 7, 5};
    const qreal rowY[3] = {0.52, 0.61, 0.69};
    const qreal rowHalf[3] = {0.33, 0.27, 0.19};
    for (int r = 0; r < 3; ++r) {
        for (int i = 0; i < perRow[r]; ++i) {
            const qreal x = 0.5 - rowHalf[r] + i * (2 * rowHalf[r] / (perRow[r] - 1));
            p.drawEllipse(f(x, rowY[r]), f.w(0.014), f.w(0.014));
        }
    }
}

void DrawnThings::stove(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    const QColor edge(80, 80, 88);
    p.setPen(outline(edge, f.w(0.012)));
    // Body, cooktop and oven door.
    p.setBrush(vertical(f.rect(0.12, 0.34, 0.88, 0.98), QColor(250, 250, 252), QColor(214, 216, 222)));
    p.drawRoundedRect(f.rect(0.12, 0.34, 0.88, 0.98), f.w(0.03), f.w(0.03));
    p.setBrush(QColor(50, 52, 58));
    QPolygonF top;
    top << f(0.12, 0.34) << f(0.88, 0.34) << f(0.82, 0.24) << f(0.18, 0.24);
    p.drawPolygon(top);
    p.setBrush(QColor(30, 30, 34));
    p.setPen(outline(QColor(230, 80, 40), f.w(0.01)));
    p.drawEllipse(f.rect(0.24, 0.27, 0.40, 0.32));
    p.drawEllipse(f.rect(0.60, 0.27, 0.76, 0.32));
    // Knobs.
    p.setPen(outline(edge, f.w(0.01)));
    p.setBrush(QColor(90, 92, 100));
    for (int i = 0; i < 4; ++i)
        p.drawEllipse(f(0.25 + i * 0.167, 0.42), f.w(0.03), f.w(0.03));
    // Oven door with its window and handle.
    p.setBrush(QColor(236, 238, 242));
    p.drawRect(f.rect(0.18, 0.50, 0.82, 0.93));
    p.setBrush(vertical(f.rect(0.26, 0.60, 0.74, 0.86), QColor(70, 60, 56), QColor(40, 34, 30)));
    p.drawRoundedRect(f.rect(0.26, 0.60, 0.74, 0.86), f.w(0.02), f.w(0.02));
    p.setBrush(QColor(255, 160, 60, 120));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(f.rect(0.30, 0.74, 0.70, 0.84), f.w(0.02), f.w(0.02));
    p.setPen(outline(edge, f.w(0.012)));
    p.setBrush(QColor(160, 164, 172));
    p.drawRoundedRect(f.rect(0.28, 0.53, 0.72, 0.565), f.w(0.015), f.w(0.015));
}

void DrawnThings::carriage(QPainter &p, const QRectF &b)
{
    const Frac f{b};
    const QColor edge(110, 60, 30);
    p.setPen(outline(edge, f.w(0.014)));
    // The coach, a rounded body on a curved chassis.
    p.setBrush(QColor(120, 70, 40));
    QPainterPath chassis;
    chassis.moveTo(f(0.10, 0.72));
    chassis.quadTo(f(0.5, 0.86), f(0.92, 0.70));
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(QColor(120, 70, 40), f.w(0.03)));
    p.drawPath(chassis);
    p.setPen(outline(edge, f.w(0.014)));
    QPainterPath body;
    body.moveTo(f(0.20, 0.70));
    body.cubicTo(f(0.08, 0.50), f(0.18, 0.22), f(0.5, 0.20));
    body.cubicTo(f(0.82, 0.22), f(0.92, 0.50), f(0.80, 0.70));
    body.closeSubpath();
    QRadialGradient gold(f(0.42, 0.40), f.w(0.45));
    gold.setColorAt(0, QColor(255, 226, 140));
    gold.setColorAt(1, QColor(232, 150, 40));
    p.setBrush(gold);
    p.drawPath(body);
    // Window with a curtain, and the door line.
    p.setBrush(QColor(200, 232, 255));
    p.drawRoundedRect(f.rect(0.38, 0.32, 0.62, 0.50), f.w(0.04), f.w(0.04));
    p.setBrush(QColor(220, 70, 110));
    p.drawRect(f.rect(0.38, 0.32, 0.45, 0.50));
    p.drawLine(f(0.36, 0.53), f(0.64, 0.53));
    // Crown on the roof.
    QPolygonF crown;
    crown << f(0.42, 0.20) << f(0.42, 0.12) << f(0.46, 0.16) << f(0.5, 0.10) << f(0.54, 0.16)
          << f(0.58, 0.12) << f(0.58, 0.20);
    p.setBrush(QColor(255, 210, 60));
    p.drawPolygon(crown);
    // Wheels: big at the back (right), smaller at the front (left).
    auto wheel = [&](QPointF c, qreal r) {
        p.setBrush(QColor(250, 236, 200));
        p.setPen(outline(QColor(110, 60, 30), f.w(0.02)));
        p.drawEllipse(c, r, r);
        p.setPen(outline(QColor(150, 90, 40), f.w(0.01)));
        for (int k = 0; k < 8; ++k) {
            const qreal a = k * M_PI / 4;
            p.drawLine(c, c + QPointF(r * qCos(a), r * qSin(a)));
        }
        p.setBrush(QColor(150, 90, 40));
        p.drawEllipse(c, r * 0.18, r * 0.18);
    };
    wheel(f(0.27, 0.80), f.w(0.14));
    wheel(f(0.74, 0.78), f.w(0.17));
}

void DrawnThings::drum(QPainter &p, const QRectF &rect)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const Frac f{rect};
    const qreal headH = f.h(0.28);
    const QRectF head(f(0.03, 0.012), QSizeF(f.w(0.94), headH));
    const QRectF bottom(f(0.03, 0.96) - QPointF(0, headH), QSizeF(f.w(0.94), headH));
    const QColor edge(90, 20, 20);
    // Shell: from the middle of the head ellipse down to the middle of the bottom one.
    QPainterPath shell;
    shell.moveTo(head.left(), head.center().y());
    shell.lineTo(bottom.left(), bottom.center().y());
    shell.arcTo(bottom, 180, 180);
    shell.lineTo(head.right(), head.center().y());
    shell.closeSubpath();
    QLinearGradient red(head.left(), 0, head.right(), 0);
    red.setColorAt(0, QColor(150, 20, 24));
    red.setColorAt(0.35, QColor(236, 64, 60));
    red.setColorAt(1, QColor(140, 18, 22));
    p.setPen(outline(edge, 3));
    p.setBrush(red);
    p.drawPath(shell);
    // Zigzag cords between the hoops.
    p.save();
    p.setClipPath(shell);
    p.setPen(outline(QColor(255, 244, 214), 4));
    QPolygonF zig;
    const qreal yTop = head.center().y() + headH * 0.45, yBottom = bottom.center().y() + headH * 0.2;
    for (int i = 0; i <= 8; ++i)
        zig << QPointF(head.left() + i * head.width() / 8, (i % 2 == 0) ? yTop : yBottom);
    p.drawPolyline(zig);
    p.restore();
    // Bottom hoop.
    QPainterPath lowHoop;
    lowHoop.arcMoveTo(bottom, 180);
    lowHoop.arcTo(bottom, 180, 180);
    p.setBrush(Qt::NoBrush);
    p.setPen(outline(QColor(230, 180, 60), 10));
    p.drawPath(lowHoop);
    // Head, skin and top hoop.
    p.setPen(outline(QColor(200, 150, 40), 9));
    QRadialGradient skin(head.center() - QPointF(head.width() * 0.12, headH * 0.1), head.width() * 0.6);
    skin.setColorAt(0, QColor(255, 250, 236));
    skin.setColorAt(1, QColor(232, 218, 186));
    p.setBrush(skin);
    p.drawEllipse(head);
    p.restore();
}

void DrawnThings::stick(QPainter &p, const QRectF &rect, bool down)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const Frac f{rect};
    // The hand holds the stick at a fixed point; the tip is raised or on the drum head.
    const QPointF hand = f(0.19, 0.55);
    const QPointF tip = down ? f(0.95, 0.975) : f(0.84, 0.06);
    const QLineF line(hand, tip);
    const QPointF butt = hand - (tip - hand) * 0.16;
    QPen wood(QColor(150, 90, 40), rect.width() * 0.07);
    wood.setCapStyle(Qt::RoundCap);
    p.setPen(wood);
    p.drawLine(butt, tip);
    QPen grain(QColor(222, 170, 110), rect.width() * 0.03);
    grain.setCapStyle(Qt::RoundCap);
    p.setPen(grain);
    p.drawLine(butt, hand + (tip - hand) * 0.85);
    p.setPen(QPen(QColor(120, 70, 30), 2));
    p.setBrush(QColor(250, 232, 196));
    const qreal r = rect.width() * 0.055;
    p.drawEllipse(tip - QPointF((tip - hand).x() / line.length() * r * 0.4, (tip - hand).y() / line.length() * r * 0.4), r, r);
    if (down) {
        // Impact marks around the tip.
        p.setPen(outline(QColor(250, 200, 40), rect.width() * 0.025));
        const QPointF c = tip;
        p.drawLine(c + QPointF(-f.w(0.30), -f.h(0.02)), c + QPointF(-f.w(0.20), -f.h(0.01)));
        p.drawLine(c + QPointF(-f.w(0.22), -f.h(0.16)), c + QPointF(-f.w(0.14), -f.h(0.09)));
        p.drawLine(c + QPointF(-f.w(0.05), -f.h(0.22)), c + QPointF(-f.w(0.04), -f.h(0.13)));
    }
    p.restore();
}

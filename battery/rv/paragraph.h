#ifndef PARAGRAPH_H
#define PARAGRAPH_H

#include <QList>
#include <QString>
#include <QWidget>

class LineInParagraph;

// A text in large type, line under line, whose words can be touched. A touched
// word is underlined and reported through clicked() while the paragraph is
// selectable (it starts not selectable).
//
// Use: addLine() for each line, then layoutLines() to fix the size.
class Paragraph : public QWidget
{
    Q_OBJECT

public:
    explicit Paragraph(QWidget *parent = nullptr);

    void addLine(const char *utf8Line);
    // Stacks the lines 20 pixels apart and fixes the paragraph's size (20
    // pixels after the last line included).
    void layoutLines();
    void setSelectableWord(bool value);
    // No word reacts any more.
    void disableAllWords();

    bool isSelectable() const { return selectable; }
    QList<LineInParagraph *> lines() const { return lineWidgets; }

signals:
    void clicked(QString word);

public slots:
    void selectedWord(QString word);

private:
    QList<LineInParagraph *> lineWidgets;
    bool selectable;
};

#endif // PARAGRAPH_H

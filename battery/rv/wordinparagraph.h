#ifndef WORDINPARAGRAPH_H
#define WORDINPARAGRAPH_H

#include <QLabel>
#include <QString>

// One word of a Paragraph, in large type. The first click underlines it for
// good and reports it (as displayed, punctuation included); after that, or
// once disabled, it no longer reacts.
class WordInParagraph : public QLabel
{
    Q_OBJECT

public:
    explicit WordInParagraph(QString word, QWidget *parent = nullptr);

    void disableWord();
    bool isUnderlined() const { return underlined; }
    bool isSelectable() const { return selectable; }

signals:
    void clicked(QString word);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool underlined;
    bool selectable;
};

#endif // WORDINPARAGRAPH_H

#include "lineinparagraph.h"
#include "paragraph.h"
#include "wordinparagraph.h"

#include <QtTest>

// The touchable text of the word recognition and oral comprehension tests: how
// lines are split and stacked, and when a touched word is underlined and reported.
class TestParagraph : public QObject
{
    Q_OBJECT

private slots:
    void linesAreSplitAndStacked()
    {
        Paragraph paragraph;
        paragraph.addLine("y mi mamá. Fui");
        paragraph.addLine("dos  blancos");
        paragraph.layoutLines();
        const LineInParagraph *first = paragraph.lines().at(0), *second = paragraph.lines().at(1);
        QStringList texts;
        for (const WordInParagraph *word : first->words() + second->words())
            texts << word->text();
        // Two blanks in a row leave an empty word between them.
        QCOMPARE(texts, QStringList({"y", "mi", "mamá.", "Fui", "dos", "", "blancos"}));
        // Words side by side, lines 20 pixels apart, and 20 more after the last.
        QCOMPARE(first->words().at(1)->x(), first->words().at(0)->width());
        QCOMPARE(second->y(), first->height() + 20);
        QCOMPARE(paragraph.height(), first->height() + second->height() + 40);
        QCOMPARE(paragraph.width(), qMax(first->width(), second->width()));
    }

    void touchingWords()
    {
        QWidget holder;
        auto *paragraph = new Paragraph(&holder);
        paragraph->addLine("y mi mamá. Fui");
        paragraph->layoutLines();
        holder.show();
        QSignalSpy spy(paragraph, &Paragraph::clicked);
        const QList<WordInParagraph *> words = paragraph->lines().first()->words();
        auto touch = [&](int i) {
            QTest::mouseClick(words.at(i), Qt::LeftButton);
            return words.at(i)->isUnderlined() && words.at(i)->font().underline();
        };
        // Not selectable at first: the word underlines itself, the paragraph keeps it to itself.
        QVERIFY(!paragraph->isSelectable() && touch(0));
        QCOMPARE(spy.count(), 0);
        paragraph->setSelectableWord(true);
        QVERIFY(touch(2) && touch(2)); // reported once, in large type
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toString(), QString("mamá."));
        QCOMPARE(words.at(2)->font().pointSize(), 36);
        paragraph->disableAllWords();
        QVERIFY(!touch(3));
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_MAIN(TestParagraph)
#include "tst_paragraph.moc"

#include "lineinparagraph.h"
#include "paragraph.h"
#include "wordinparagraph.h"

#include <QtTest>

// The touchable text shared by the word recognition and oral comprehension
// tests: how lines are split and stacked, and when a touched word is
// underlined and reported.
class TestParagraph : public QObject
{
    Q_OBJECT

private slots:
    void linesAreSplitAndStacked();
    void touchingWords_data();
    void touchingWords();
};

void TestParagraph::linesAreSplitAndStacked()
{
    Paragraph paragraph;
    paragraph.addLine("y mi mamá. Fui");
    paragraph.addLine("dos  blancos");
    paragraph.layoutLines();

    QStringList texts;
    for (const WordInParagraph *word : paragraph.lines().at(0)->words())
        texts << word->text();
    QCOMPARE(texts, QStringList({"y", "mi", QString::fromUtf8("mamá."), "Fui"}));
    // Two blanks in a row leave an empty word between them.
    QCOMPARE(paragraph.lines().at(1)->words().at(1)->text(), QString());

    // Words side by side, lines 20 pixels apart, and 20 more after the last.
    const LineInParagraph *first = paragraph.lines().at(0);
    const LineInParagraph *second = paragraph.lines().at(1);
    QCOMPARE(first->words().at(1)->x(), first->words().at(0)->width());
    QCOMPARE(second->y(), first->height() + 20);
    QCOMPARE(paragraph.height(), first->height() + second->height() + 40);
    QCOMPARE(paragraph.width(), qMax(first->width(), second->width()));
}

void TestParagraph::touchingWords_data()
{
    QTest::addColumn<bool>("selectable");
    QTest::addColumn<bool>("disableFirst");
    QTest::addColumn<int>("presses");
    QTest::addColumn<bool>("underlined");
    QTest::addColumn<int>("reported");

    QTest::newRow("selectable, once") << true << false << 1 << true << 1;
    QTest::newRow("selectable, twice") << true << false << 2 << true << 1;
    // The word still underlines itself; the paragraph keeps it to itself.
    QTest::newRow("not selectable") << false << false << 1 << true << 0;
    QTest::newRow("disabled") << true << true << 1 << false << 0;
}

void TestParagraph::touchingWords()
{
    QFETCH(bool, selectable);
    QFETCH(bool, disableFirst);
    QFETCH(int, presses);
    QFETCH(bool, underlined);
    QFETCH(int, reported);

    QWidget holder;
    auto *paragraph = new Paragraph(&holder);
    paragraph->addLine("y mi mamá. Fui");
    paragraph->layoutLines();
    holder.show();
    QVERIFY(!paragraph->isSelectable());
    paragraph->setSelectableWord(selectable);
    if (disableFirst)
        paragraph->disableAllWords();
    QSignalSpy spy(paragraph, &Paragraph::clicked);

    WordInParagraph *word = paragraph->lines().first()->words().at(2);
    for (int i = 0; i < presses; ++i)
        QTest::mouseClick(word, Qt::LeftButton);

    QCOMPARE(word->isUnderlined(), underlined);
    QCOMPARE(word->font().underline(), underlined);
    QCOMPARE(word->font().pointSize(), 36);
    QCOMPARE(spy.count(), reported);
    if (reported)
        QCOMPARE(spy.first().first().toString(), QString::fromUtf8("mamá."));
}

QTEST_MAIN(TestParagraph)
#include "tst_paragraph.moc"

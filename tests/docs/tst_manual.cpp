#include <QtTest>
#include <QtGui>

// The examiner's manual (docs/manual/) against the program it describes: every
// test of the battery has its section, under the title the program shows; every
// text the manual quotes («…»: messages, buttons, pages, fields) is one the
// program really shows, read from its sources; and the built manual.html needs
// nothing outside itself.

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The string literals of a C++ source, adjacent ones joined as the compiler
// joins them; comments and character literals are skipped.
QStringList literalsOf(const QByteArray &source)
{
    QStringList literals;
    QByteArray joined;
    bool open = false;
    const auto close = [&] {
        if (open)
            literals << QString::fromUtf8(joined);
        joined.clear();
        open = false;
    };
    for (int i = 0; i < source.size();) {
        const char c = source.at(i);
        if (source.mid(i, 2) == "//") {
            i = source.indexOf('\n', i);
            i = i < 0 ? source.size() : i;
        } else if (source.mid(i, 2) == "/*") {
            i = source.indexOf("*/", i + 2);
            i = i < 0 ? source.size() : i + 2;
        } else if (c == '"' || c == '\'') {
            if (c == '\'')
                close();
            for (++i; i < source.size() && source.at(i) != c; ++i) {
                if (source.at(i) == '\\' && i + 1 < source.size()) {
                    const char e = source.at(++i);
                    joined += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                } else {
                    joined += source.at(i);
                }
            }
            ++i;
            if (c == '"')
                open = true;
            else
                joined.clear();
        } else {
            if (!QChar(c).isSpace())
                close();
            ++i;
        }
    }
    close();
    return literals;
}

// The translatable texts of a designer form; a rich text counts paragraph by
// paragraph, as it is shown.
QStringList formTextsOf(const QByteArray &form)
{
    QStringList texts;
    QXmlStreamReader xml(form);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement() || xml.name() != QLatin1String("string")
            || xml.attributes().value("notr") == QLatin1String("true"))
            continue;
        const QString text = xml.readElementText();
        if (Qt::mightBeRichText(text)) {
            QTextDocument document;
            document.setHtml(text);
            texts << document.toPlainText().split('\n', Qt::SkipEmptyParts);
        } else {
            texts << text;
        }
    }
    return texts;
}

// A Markdown heading's level, 0 for any other line.
int headingLevel(const QString &line)
{
    static const QRegularExpression heading("^(#{1,6}) ");
    const QRegularExpressionMatch m = heading.match(line);
    return m.hasMatch() ? m.capturedLength(1) : 0;
}

} // namespace

class TestManual : public QObject
{
    Q_OBJECT

    QString sourceDir;
    QMap<QString, QStringList> chapters; // file name -> lines
    QSet<QString> programTexts;
    QList<QRegularExpression> programTemplates; // texts completed at run time ("%1 …")
    QStringList titles;                         // of the battery's tests, as set by each test
    QString html;

    bool programShows(const QString &quote) const
    {
        if (programTexts.contains(quote))
            return true;
        for (const QRegularExpression &t : programTemplates)
            if (t.match(quote).hasMatch())
                return true;
        return false;
    }

private slots:
    void initTestCase()
    {
        sourceDir = qEnvironmentVariable("RUMBOLO_SOURCE_DIR");
        QVERIFY2(QFileInfo(sourceDir + "/docs/manual").isDir(), "RUMBOLO_SOURCE_DIR does not hold docs/manual");

        for (const QString &name : QDir(sourceDir + "/docs/manual").entryList({"*.md"}, QDir::Files, QDir::Name))
            chapters.insert(name, QString::fromUtf8(readAll(sourceDir + "/docs/manual/" + name)).split('\n'));
        QVERIFY2(!chapters.isEmpty(), "docs/manual holds no chapter");

        // Everything the program can show comes from these folders: string
        // literals of the code, the texts of the designer forms, and the labels
        // that the kit's generator draws on the picture buttons.
        static const QRegularExpression title("setTitle\\(\"([^\"]*)\"\\)"), placeholder("%[1-9n]");
        for (const QString dir : {"admin", "app", "audio", "battery", "framework", "store", "sync", "tools/kitgen"}) {
            QDirIterator files(sourceDir + "/" + dir, {"*.cpp", "*.h", "*.ui"}, QDir::Files, QDirIterator::Subdirectories);
            while (files.hasNext()) {
                const QString path = files.next();
                const QByteArray source = readAll(path);
                const QStringList texts = path.endsWith(".ui") ? formTextsOf(source) : literalsOf(source);
                for (const QString &text : texts) {
                    // A text completed at run time matches any completion, if it
                    // says enough of its own not to match everything.
                    if (text.contains(placeholder) && QString(text).remove(placeholder).size() >= 15) {
                        QString pattern = QRegularExpression::escape(text);
                        pattern.replace(QRegularExpression("\\\\%[1-9n]"), ".+"); // as escaped
                        programTemplates << QRegularExpression(QRegularExpression::anchoredPattern(pattern));
                    }
                    programTexts.insert(text);
                }
                if (dir == QLatin1String("battery"))
                    for (auto m = title.globalMatch(QString::fromUtf8(source)); m.hasNext();)
                        titles << m.next().captured(1);
            }
        }
        QVERIFY2(titles.size() == 15, qPrintable(QString("found the titles of %1 tests, not of the battery's fifteen: %2")
                                                     .arg(titles.size()).arg(titles.join(", "))));

        const QString built = qEnvironmentVariable("RUMBOLO_BINARY_DIR") + "/docs/manual/manual.html";
        html = QString::fromUtf8(readAll(built));
        QVERIFY2(!html.isEmpty(), qPrintable(built + " is not built: the test command builds it after the end-to-end run "
                                                     "has saved its screens, with pandoc (scripts/install-deps.sh)"));
    }

    void everyTestHasItsSection_data()
    {
        QTest::addColumn<QString>("title");
        for (const QString &t : qAsConst(titles))
            QTest::newRow(qPrintable(t)) << t;
    }

    // Its section: under a heading that is exactly the title shown on the test's
    // title screen, with at least one screen of the test.
    void everyTestHasItsSection()
    {
        QFETCH(QString, title);
        for (auto chapter = chapters.cbegin(); chapter != chapters.cend(); ++chapter) {
            const QStringList &lines = chapter.value();
            for (int i = 0; i < lines.size(); ++i) {
                const int level = headingLevel(lines.at(i));
                if (level == 0 || lines.at(i).mid(level + 1).trimmed() != title)
                    continue;
                int end = i + 1;
                while (end < lines.size() && (headingLevel(lines.at(end)) == 0 || headingLevel(lines.at(end)) > level))
                    ++end;
                QVERIFY2(lines.mid(i, end - i).join('\n').contains("!["),
                         qPrintable(QString("%1: the section «%2» shows no screen").arg(chapter.key(), title)));
                return;
            }
        }
        QFAIL(qPrintable(QString("no chapter has a heading «%1»").arg(title)));
    }

    void quotedTextIsTheProgramsOwn_data()
    {
        QTest::addColumn<QString>("quote");
        static const QRegularExpression guillemets("«([^»]*)»");
        int count = 0;
        for (auto chapter = chapters.cbegin(); chapter != chapters.cend(); ++chapter) {
            // A quote may run over the end of a line.
            const QString text = chapter.value().join('\n');
            for (auto it = guillemets.globalMatch(text); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                const int line = text.left(m.capturedStart()).count('\n') + 1;
                const QString quote = m.captured(1).simplified();
                QTest::newRow(qPrintable(QString("%1:%2 «%3»").arg(chapter.key()).arg(line).arg(quote))) << quote;
                ++count;
            }
        }
        if (count == 0)
            QTest::newRow("no quote at all") << QString();
    }

    void quotedTextIsTheProgramsOwn()
    {
        QFETCH(QString, quote);
        QVERIFY2(programShows(quote), qPrintable(QString("«%1» is not a text of the program, character for character "
                                                         "(docs/manual quotes only what the program shows)").arg(quote)));
    }

    // Quotation marks other than «» would hide a quoted text from the check above.
    void onlyGuillemetsQuote()
    {
        static const QRegularExpression code("`[^`]*`"), otherQuotes("[\"“”]");
        QStringList found;
        for (auto chapter = chapters.cbegin(); chapter != chapters.cend(); ++chapter) {
            bool fenced = false;
            for (int i = 0; i < chapter.value().size(); ++i) {
                const QString line = chapter.value().at(i);
                if (line.startsWith("```"))
                    fenced = !fenced;
                if (!fenced && QString(line).remove(code).contains(otherQuotes))
                    found << QString("%1:%2: %3").arg(chapter.key()).arg(i + 1).arg(line);
            }
        }
        QVERIFY2(found.isEmpty(), qPrintable("quoted with other marks than «»:\n" + found.join('\n')));
    }

    void builtManualResolves_data()
    {
        QTest::addColumn<QString>("reference");
        static const QRegularExpression reference("(?:src|href)=\"([^\"]*)\"|url\\(([^)]*)\\)");
        int i = 0;
        for (auto it = reference.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QString target = m.captured(1) + m.captured(2);
            QTest::newRow(qPrintable(QString("%1: %2").arg(++i).arg(target.left(60)))) << target;
        }
        if (i == 0)
            QTest::newRow("no picture or link at all") << QString();
    }

    // A link goes to a part of the same file, a picture is embedded in it.
    void builtManualResolves()
    {
        QFETCH(QString, reference);
        if (reference.startsWith('#')) {
            const QString id = QUrl::fromPercentEncoding(reference.mid(1).toUtf8());
            QVERIFY2(html.contains(QString("id=\"%1\"").arg(id)), qPrintable(reference + " leads nowhere in the manual"));
        } else {
            static const QRegularExpression embedded("^data:image/[a-z+]+;base64,(.+)$");
            const QRegularExpressionMatch m = embedded.match(reference);
            QVERIFY2(m.hasMatch(), qPrintable(reference.left(200) + " is outside the manual"));
            QVERIFY2(!QImage::fromData(QByteArray::fromBase64(m.captured(1).toLatin1())).isNull(),
                     qPrintable(reference.left(60) + "… is not a picture"));
        }
    }
};

QTEST_MAIN(TestManual)
#include "tst_manual.moc"

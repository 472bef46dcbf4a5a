#include "kitcontent.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

bool KitContent::readTable(const QString &name, int columns, QList<QStringList> *rows, QString *error)
{
    const QString path = folder + "/" + name;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QString("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    sourceFiles << path;
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith('#'))
            continue;
        QStringList cells = line.split('\t');
        for (QString &cell : cells)
            cell = cell.trimmed();
        if (cells.size() < columns) {
            *error = QString("%1:%2: expected %3 tab-separated columns, found %4")
                         .arg(path).arg(i + 1).arg(columns).arg(cells.size());
            return false;
        }
        rows->append(cells);
    }
    return true;
}

bool KitContent::load(const QString &contentFolder, QString *error)
{
    folder = contentFolder;
    QList<QStringList> rows;

    if (!readTable("things.tsv", 2, &rows, error))
        return false;
    for (const QStringList &r : qAsConst(rows)) {
        Thing thing;
        thing.scene = r[1];
        if (r.size() > 2 && !r[2].isEmpty()) {
            thing.card = QColor(r[2]);
            if (!thing.card.isValid()) {
                *error = QString("things.tsv: bad colour %1 for %2").arg(r[2], r[0]);
                return false;
            }
        }
        if (thingTable.contains(r[0])) {
            *error = QString("things.tsv: %1 is listed twice").arg(r[0]);
            return false;
        }
        thingTable.insert(r[0], thing);
    }

    rows.clear();
    if (!readTable("cf_items.tsv", 7, &rows, error))
        return false;
    for (const QStringList &r : qAsConst(rows))
        recognitionTable << RecognitionItem{r[0], r[1], r[2], r[3], r[4], r[5], r[6]};

    rows.clear();
    if (!readTable("letters.tsv", 2, &rows, error))
        return false;
    for (const QStringList &r : qAsConst(rows))
        letterTable << Letter{r[0], r[1]};

    rows.clear();
    if (!readTable("pictures.tsv", 2, &rows, error))
        return false;
    for (const QStringList &r : qAsConst(rows))
        pictureTable << FixedPicture{r[0], r[1], r.value(2)};

    rows.clear();
    if (!readTable("prompts.tsv", 3, &rows, error))
        return false;
    for (const QStringList &r : qAsConst(rows))
        promptTable << FixedPrompt{r[0], r[1], r[2]};

    rows.clear();
    if (!readTable("spoken.tsv", 2, &rows, error))
        return false;
    for (const QStringList &r : qAsConst(rows))
        spokenTable.insert(r[0], r[1]);

    rows.clear();
    if (!readTable("cl1a_items.tsv", 6, &rows, error))
        return false;
    for (const QStringList &r : qAsConst(rows)) {
        SentenceItem item;
        item.item = r[0].toInt();
        item.statement = r[1];
        item.scenes = QStringList{r[2], r[3], r[4]};
        item.right = r[5];
        sentenceTable << item;
    }

    rows.clear();
    if (!readTable("texts/cl2a_preguntas.tsv", 5, &rows, error))
        return false;
    for (const QStringList &r : qAsConst(rows))
        questionTable << Question{r[0], QStringList{r[1], r[2], r[3]}, r[4]};

    const QDir textDir(folder + "/texts");
    const QStringList names = textDir.entryList({"*.txt"}, QDir::Files, QDir::Name);
    for (const QString &name : names) {
        QFile file(textDir.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QString("cannot read %1: %2").arg(file.fileName(), file.errorString());
            return false;
        }
        sourceFiles << file.fileName();
        texts.insert(name, QString::fromUtf8(file.readAll()).replace("\r\n", "\n").trimmed());
    }
    return true;
}

QMap<QString, QString> KitContent::sections(const QString &name) const
{
    QMap<QString, QString> result;
    static const QRegularExpression header("^\\[([a-z]+)\\]$");
    QString current;
    QStringList lines;
    auto flush = [&]() {
        if (!current.isEmpty())
            result.insert(current, lines.join('\n').trimmed());
        lines.clear();
    };
    for (const QString &line : text(name).split('\n')) {
        const QRegularExpressionMatch m = header.match(line.trimmed());
        if (m.hasMatch()) {
            flush();
            current = m.captured(1);
        } else {
            lines << line;
        }
    }
    flush();
    return result;
}

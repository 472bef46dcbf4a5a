#ifndef KITCONTENT_H
#define KITCONTENT_H

#include <QColor>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// The committed sources of the stimulus kit (the content/ folder): tables of
// things, items, letters and prompts, and the texts of stories and documents.
class KitContent
{
public:
    struct Thing {
        QString scene;
        QColor card;  // invalid: a pastel chosen from the name
    };
    struct RecognitionItem {
        QString test, item, target, top, middle, bottom, key;
    };
    struct Letter {
        QString letter, name;
    };
    struct FixedPicture {
        QString path, thing, size;  // size "WxH" when the path states none
    };
    struct FixedPrompt {
        QString path, kind, what;
    };
    struct SentenceItem {
        int item = 0;
        QString statement;
        QStringList scenes;  // a, b, c
        QString right;
    };
    struct Question {
        QString question;
        QStringList answers;  // a, b, c
        QString right;
    };

    // Reads every table of the folder; false with a message on the first fault.
    bool load(const QString &folder, QString *error);

    const QHash<QString, Thing> &things() const { return thingTable; }
    const QList<RecognitionItem> &recognitionItems() const { return recognitionTable; }
    const QList<Letter> &letters() const { return letterTable; }
    const QList<FixedPicture> &fixedPictures() const { return pictureTable; }
    const QList<FixedPrompt> &fixedPrompts() const { return promptTable; }
    const QList<SentenceItem> &sentenceItems() const { return sentenceTable; }
    const QList<Question> &comprehensionQuestions() const { return questionTable; }

    // How a word written without accents is said.
    QString spoken(const QString &word) const { return spokenTable.value(word, word); }

    // A text of texts/, or its [sections] (section name -> text, trimmed).
    QString text(const QString &name) const { return texts.value(name); }
    QMap<QString, QString> sections(const QString &name) const;

    // Every file the content was read from (the build reruns the generator when one changes).
    QStringList files() const { return sourceFiles; }

private:
    bool readTable(const QString &name, int columns, QList<QStringList> *rows, QString *error);

    QString folder;
    QStringList sourceFiles;
    QHash<QString, Thing> thingTable;
    QList<RecognitionItem> recognitionTable;
    QList<Letter> letterTable;
    QList<FixedPicture> pictureTable;
    QList<FixedPrompt> promptTable;
    QList<SentenceItem> sentenceTable;
    QList<Question> questionTable;
    QHash<QString, QString> spokenTable;
    QHash<QString, QString> texts;
};

#endif // KITCONTENT_H

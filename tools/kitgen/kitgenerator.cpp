#include "kitgenerator.h"

#include "animationpainter.h"
#include "documentpainter.h"
#include "drawnthings.h"
#include "emojiart.h"
#include "framepainter.h"
#include "kitlayout.h"
#include "scenepainter.h"
#include "soundmaker.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>
#include <QSet>
#include <QTextStream>
#include <algorithm>

namespace {
// The answers the tests expect: the sentence reading items 1 to 6 and the four
// reading comprehension questions.
const QString SentenceAnswers = "acbbba";
const QString ComprehensionAnswers = "bcbc";

const QRegularExpression &sizeInName()
{
    static const QRegularExpression re("(\\d+)x(\\d+)\\.png$");
    return re;
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.write(image.convertToFormat(QImage::Format_ARGB32));
    return bytes;
}

QString scratchName(const QString &path)
{
    QString name = path;
    name.replace('/', '_');
    return name;
}
}

KitGenerator::KitGenerator(const Options &options)
    : options(options)
    , emoji(new EmojiArt)
{
    scenes.reset(new ScenePainter(emoji.get()));
    frame.reset(new FramePainter(emoji.get()));
    documents.reset(new DocumentPainter(scenes.get()));
    animations.reset(new AnimationPainter(emoji.get()));
    for (const QString &pattern : options.only)
        onlyPatterns << QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern));
}

KitGenerator::~KitGenerator() = default;

QString KitGenerator::absolute(const QString &path) const
{
    return options.outputFolder + "/" + path;
}

QString KitGenerator::stampFile(const QString &path) const
{
    return options.outputFolder + "/.stamps/" + path + ".recipe";
}

bool KitGenerator::selected(const QString &path) const
{
    if (onlyPatterns.isEmpty())
        return true;
    for (const QRegularExpression &re : onlyPatterns) {
        if (re.match(path).hasMatch())
            return true;
    }
    return false;
}

void KitGenerator::addPicture(const QString &path, int w, int h, const QString &about,
                              std::function<QImage(QString *)> draw)
{
    Entry e;
    e.path = path;
    e.kind = Entry::Png;
    e.width = w;
    e.height = h;
    e.about = about;
    e.picture = std::move(draw);
    entries << e;
}

void KitGenerator::addAnimation(const QString &path, int w, int h, const QString &about,
                                std::function<QList<QImage>(QString *)> frames)
{
    Entry e;
    e.path = path;
    e.kind = Entry::Gif;
    e.width = w;
    e.height = h;
    e.frames = AnimationPainter::FrameCount;
    e.about = about;
    e.animation = std::move(frames);
    entries << e;
}

bool KitGenerator::addSpeech(const QString &path, const QString &text, bool story, QString *error)
{
    if (text.trimmed().isEmpty()) {
        *error = QString("nothing to say for %1").arg(path);
        return false;
    }
    Entry e;
    e.path = path;
    e.kind = Entry::Wav;
    e.frames = 0;
    e.about = story ? QString("story read aloud") : QString("said: %1").arg(text);
    e.steps = SoundMaker::speech(text, story ? SoundMaker::Speech::Story : SoundMaker::Speech::Word);
    entries << e;
    return true;
}

bool KitGenerator::addEffect(const QString &path, const QString &effect, QString *error)
{
    Entry e;
    e.path = path;
    e.kind = Entry::Wav;
    e.frames = 0;
    e.about = effect == "drum" ? "effect: a drum strike" : QString("effect: %1").arg(effect);
    e.steps = SoundMaker::effect(effect);
    if (e.steps.isEmpty()) {
        *error = QString("unknown sound effect \"%1\" for %2").arg(effect, path);
        return false;
    }
    entries << e;
    return true;
}

bool KitGenerator::plan(QString *error)
{
    using namespace KitLayout;
    FramePainter *fp = frame.get();
    DocumentPainter *dp = documents.get();
    ScenePainter *sp = scenes.get();
    AnimationPainter *ap = animations.get();
    const KitContent *kc = &content;

    auto thingScene = [this, error](const QString &name, KitContent::Thing *thing) {
        if (!content.things().contains(name)) {
            *error = QString("no picture of \"%1\" in things.tsv").arg(name);
            return false;
        }
        *thing = content.things().value(name);
        if (!thing->card.isValid())
            thing->card = ScenePainter::pastelFor(name);
        return true;
    };

    // Test screen frame.
    addPicture("images/barraHerramientas.png", ToolbarWidth, ToolbarHeight, "toolbar strip",
               [fp](QString *) { return fp->toolbar(); });
    addPicture("images/boton_ejemplo.png", ButtonWidth, ButtonHeight, "button: Ejemplo",
               [fp](QString *) { return fp->toolbarButton(FramePainter::Icon::Play, "Ejemplo", QColor(67, 160, 71), true); });
    addPicture("images/boton_prueba.png", ButtonWidth, ButtonHeight, "button: Prueba",
               [fp](QString *) { return fp->toolbarButton(FramePainter::Icon::Play, "Prueba", QColor(30, 136, 229), true); });
    addPicture("images/boton_play_desactivado.png", ButtonWidth, ButtonHeight, "button: play, inactive",
               [fp](QString *) { return fp->toolbarButton(FramePainter::Icon::Play, QString(), QColor(), false); });
    addPicture("images/boton_siguiente.png", ButtonWidth, ButtonHeight, "button: Siguiente",
               [fp](QString *) { return fp->toolbarButton(FramePainter::Icon::Next, "Siguiente", QColor(245, 124, 0), true); });
    addPicture("images/boton_siguiente_off.png", ButtonWidth, ButtonHeight, "button: Siguiente, inactive",
               [fp](QString *) { return fp->toolbarButton(FramePainter::Icon::Next, "Siguiente", QColor(), false); });
    addPicture("images/icono_grabacion.png", IndicatorSize, IndicatorSize, "indicator: recording",
               [fp](QString *e) { return fp->indicator("🎙️", QColor(229, 57, 53), e); });
    addPicture("images/icono_sonando.png", IndicatorSize, IndicatorSize, "indicator: sound playing",
               [fp](QString *e) { return fp->indicator("🔊", QColor(30, 136, 229), e); });
    addPicture("images/check_verde.png", IndicatorSize, IndicatorSize, "green check",
               [fp](QString *) { return fp->check(); });
    addAnimation("images/friends.gif", FriendsWidth, FriendsHeight, "three friends hopping in turn",
                 [ap](QString *e) { return ap->friends(e); });

    // Abort dialog.
    addPicture("images/omitir/fondo.png", AbortWidth, AbortHeight, "abort dialog background",
               [fp](QString *) { return fp->abortBackground(); });
    struct AbortButton {
        const char *name;
        const char *label;
        QColor colour;
    };
    const AbortButton abortButtons[3] = {
        {"omitir_prueba", "Omitir prueba", QColor(239, 108, 0)},
        {"omitir_aplicacion", "Omitir aplicación", QColor(211, 47, 47)},
        {"continuar", "Continuar", QColor(46, 125, 50)},
    };
    for (const AbortButton &b : abortButtons) {
        for (bool on : {false, true}) {
            const QString label = QString::fromUtf8(b.label);
            const QColor colour = b.colour;
            addPicture(QString("images/omitir/%1_%2.png").arg(b.name, on ? "on" : "off"), AbortButtonWidth,
                       AbortButtonHeight, QString("abort dialog button: %1%2").arg(label, on ? ", pointed at" : ""),
                       [fp, label, colour, on](QString *) { return fp->abortButton(label, colour, on); });
        }
    }

    // Things at fixed places (naming speed, readers).
    for (const KitContent::FixedPicture &fixed : content.fixedPictures()) {
        int w = 0, h = 0;
        const QRegularExpressionMatch m = sizeInName().match(fixed.path);
        if (m.hasMatch()) {
            w = m.captured(1).toInt();
            h = m.captured(2).toInt();
        } else {
            const QStringList parts = fixed.size.split('x');
            if (parts.size() == 2) {
                w = parts[0].toInt();
                h = parts[1].toInt();
            }
        }
        if (w <= 0 || h <= 0) {
            *error = QString("pictures.tsv: no size for %1").arg(fixed.path);
            return false;
        }
        KitContent::Thing thing;
        if (!thingScene(fixed.thing, &thing))
            return false;
        const QSize size(w, h);
        // Pictures in a touching row keep a thin transparent gap between cards.
        const int inset = qMax(3, qMin(w, h) / 40);
        addPicture(fixed.path, w, h, fixed.thing, [sp, size, thing, inset](QString *e) {
            return sp->picture(size, thing.scene, thing.card, inset, e);
        });
    }

    // Letters: pictures for the grapheme test, names for the letter-name test.
    for (const KitContent::Letter &l : content.letters()) {
        const QString letter = l.letter;
        addPicture(QString("images/PA1A/%1.png").arg(letter), LetterSize, LetterSize, QString("letter %1").arg(letter),
                   [dp, letter](QString *) { return dp->letter(letter); });
        if (!addSpeech(QString("sounds/PA2A/%1.wav").arg(letter), l.name, false, error))
            return false;
    }

    // Syllable segmentation: the drum and its sticks.
    addPicture("images/CF1A/tambor.png", DrumWidth, DrumHeight, "drum", [](QString *) {
        QImage image(DrumWidth, DrumHeight, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        DrawnThings::drum(p, QRectF(0, 0, DrumWidth, DrumHeight));
        return image;
    });
    for (bool left : {true, false}) {
        for (bool down : {false, true}) {
            const QString path = QString("images/CF1A/baqueta_%1_%2.png").arg(left ? "izq" : "der", down ? "abajo" : "arriba");
            addPicture(path, StickWidth, StickHeight,
                       QString("%1 drumstick, %2").arg(left ? "left" : "right", down ? "striking" : "raised"),
                       [left, down](QString *) {
                           QImage image(StickWidth, StickHeight, QImage::Format_ARGB32_Premultiplied);
                           image.fill(Qt::transparent);
                           {
                               QPainter p(&image);
                               DrawnThings::stick(p, QRectF(0, 0, StickWidth, StickHeight), down);
                           }
                           return left ? image : image.mirrored(true, false);
                       });
        }
    }

    // Fixed prompts and effects.
    for (const KitContent::FixedPrompt &prompt : content.fixedPrompts()) {
        if (prompt.kind == "speech") {
            if (!addSpeech(prompt.path, prompt.what, false, error))
                return false;
        } else if (prompt.kind == "story") {
            if (!addSpeech(prompt.path, content.text(prompt.what), true, error))
                return false;
        } else if (prompt.kind == "effect") {
            if (!addEffect(prompt.path, prompt.what, error))
                return false;
        } else {
            *error = QString("prompts.tsv: unknown kind \"%1\" for %2").arg(prompt.kind, prompt.path);
            return false;
        }
    }

    // Syllable and sound recognition: a picture per option, a prompt per word.
    QSet<QString> recognitionPaths;
    for (const KitContent::RecognitionItem &item : content.recognitionItems()) {
        const QStringList options{item.top, item.middle, item.bottom};
        if (!options.contains(item.key)) {
            *error = QString("cf_items.tsv: %1 item %2: the key %3 is none of its pictures").arg(item.test, item.item, item.key);
            return false;
        }
        for (const QString &name : options) {
            const QString path = "images/" + item.test + "/" + name + "230x230.png";
            if (recognitionPaths.contains(path))
                continue;
            recognitionPaths.insert(path);
            KitContent::Thing thing;
            if (!thingScene(name, &thing))
                return false;
            addPicture(path, 230, 230, name, [sp, thing](QString *e) {
                return sp->picture(QSize(230, 230), thing.scene, thing.card, 6, e);
            });
        }
        for (const QString &word : QStringList{item.target} + options) {
            const QString path = QString("sounds/%1/%2.wav").arg(item.test, word);
            if (recognitionPaths.contains(path))
                continue;
            recognitionPaths.insert(path);
            if (!addSpeech(path, kc->spoken(word), false, error))
                return false;
        }
    }

    // Text types: six documents, enlarged and as tiles.
    struct TextType {
        const char *name;
        const char *preview;
        int w, h;
        std::function<QImage(const QMap<QString, QString> &, QString *)> draw;
    };
    const QList<TextType> types = {
        {"noticia", "noticia_500x500", 500, 500, [dp](const QMap<QString, QString> &s, QString *e) { return dp->newsItem(s, e); }},
        {"carta", "carta_500x500", 500, 500, [dp](const QMap<QString, QString> &s, QString *) { return dp->letterToGrandmother(s); }},
        {"cuento", "cuento_900x498", 900, 498, [dp](const QMap<QString, QString> &s, QString *e) { return dp->storyBook(s, e); }},
        {"poema", "poema_500x500", 500, 500, [dp](const QMap<QString, QString> &s, QString *) { return dp->poem(s); }},
        {"receta", "receta_500x500", 500, 500, [dp](const QMap<QString, QString> &s, QString *e) { return dp->recipe(s, e); }},
        {"afiche", "afiche_500x500", 500, 500, [dp](const QMap<QString, QString> &s, QString *e) { return dp->poster(s, e); }},
    };
    for (const TextType &type : types) {
        const QString textName = QString("tt1a_%1.txt").arg(type.name);
        if (content.text(textName).isEmpty()) {
            *error = QString("texts/%1 is missing").arg(textName);
            return false;
        }
        const QMap<QString, QString> sections = content.sections(textName);
        auto draw = type.draw;
        addPicture(QString("images/TT1A/%1.png").arg(type.preview), type.w, type.h,
                   QString("text type, enlarged: %1").arg(type.name),
                   [draw, sections](QString *e) { return draw(sections, e); });
        addPicture(QString("images/TT1A/%1_270x270.png").arg(type.name), 270, 270, QString("text type: %1").arg(type.name),
                   [draw, sections](QString *e) {
                       const QImage preview = draw(sections, e);
                       return preview.isNull() ? QImage() : DocumentPainter::miniature(preview);
                   });
    }

    // Oral comprehension (the readers picture comes from pictures.tsv, the story from prompts.tsv).

    // Word reading: the martian and its speech bubble.
    addAnimation("images/FP1A/marciano.gif", MartianWidth, MartianHeight, "a waving green martian",
                 [ap](QString *e) { return ap->martian(e); });
    addPicture("images/FP1A/bocadillo.png", BubbleWidth, BubbleHeight, "speech bubble",
               [dp](QString *) { return dp->speechBubble(); });

    // Text reading.
    const QString readingStory = content.text("fp2a_cuento.txt");
    if (readingStory.isEmpty()) {
        *error = "texts/fp2a_cuento.txt is missing";
        return false;
    }
    addPicture("images/FP2A/cuento.png", ReadingWidth, ReadingHeight, "story page: " + readingStory.section('\n', 0, 0),
               [dp, readingStory](QString *e) { return dp->readingPage(readingStory, e); });

    // Sentence reading.
    if (content.sentenceItems().size() != SentenceAnswers.size()) {
        *error = QString("cl1a_items.tsv: expected %1 items").arg(SentenceAnswers.size());
        return false;
    }
    for (int i = 0; i < content.sentenceItems().size(); ++i) {
        const KitContent::SentenceItem item = content.sentenceItems().at(i);
        if (item.item != i + 1 || item.right != SentenceAnswers.mid(i, 1)) {
            *error = QString("cl1a_items.tsv: item %1 must be numbered %1 and have %2 as its right picture")
                         .arg(i + 1)
                         .arg(SentenceAnswers.at(i));
            return false;
        }
        const QString base = QString("images/CL1A/cl1a0%1").arg(item.item);
        const QString statement = item.statement;
        addPicture(base + "enunciado.png", SentenceWidth, SentenceHeight, "sentence: " + statement,
                   [dp, statement](QString *) { return dp->sentence(statement); });
        for (int k = 0; k < 3; ++k) {
            const QString letter = QString(QChar('a' + k));
            const QString scene = item.scenes.at(k);
            const QColor card = ScenePainter::pastelFor(base + letter);
            addPicture(base + letter + ".png", OptionWidth, OptionHeight,
                       QString("option %1 for \"%2\"%3").arg(letter, statement, letter == item.right ? " (right)" : ""),
                       [sp, scene, card](QString *e) {
                           return sp->picture(QSize(OptionWidth, OptionHeight), scene, card, 8, e);
                       });
        }
    }

    // Reading comprehension.
    const QString comprehensionStory = content.text("cl2a_cuento.txt");
    if (comprehensionStory.isEmpty()) {
        *error = "texts/cl2a_cuento.txt is missing";
        return false;
    }
    addPicture("images/CL2A/cuento.png", ComprehensionWidth, ComprehensionHeight,
               "story page: " + comprehensionStory.section('\n', 0, 0),
               [dp, comprehensionStory](QString *e) { return dp->comprehensionStory(comprehensionStory, e); });
    if (content.comprehensionQuestions().size() != ComprehensionAnswers.size()) {
        *error = QString("cl2a_preguntas.tsv: expected %1 questions").arg(ComprehensionAnswers.size());
        return false;
    }
    for (int i = 0; i < content.comprehensionQuestions().size(); ++i) {
        const KitContent::Question q = content.comprehensionQuestions().at(i);
        if (q.right != ComprehensionAnswers.mid(i, 1)) {
            *error = QString("cl2a_preguntas.tsv: question %1 must have %2 as its right answer").arg(i + 1).arg(ComprehensionAnswers.at(i));
            return false;
        }
        const int number = i + 1;
        addPicture(QString("images/CL2A/cl2a_p0%1.png").arg(number), ComprehensionWidth, ComprehensionHeight,
                   QString("question %1: %2 (right: %3)").arg(number).arg(q.question, q.right),
                   [dp, number, q](QString *e) { return dp->comprehensionQuestion(number, q.question, q.answers, e); });
    }

    // One entry per path.
    QSet<QString> seen;
    for (const Entry &e : qAsConst(entries)) {
        if (seen.contains(e.path)) {
            *error = QString("%1 would be made twice").arg(e.path);
            return false;
        }
        seen.insert(e.path);
    }
    return true;
}

bool KitGenerator::upToDate(const QString &path, const QByteArray &recipe) const
{
    if (!QFileInfo::exists(absolute(path)))
        return false;
    QFile stamp(stampFile(path));
    return stamp.open(QIODevice::ReadOnly) && stamp.readAll() == recipe;
}

bool KitGenerator::writeStamp(const QString &path, const QByteArray &recipe, QString *error) const
{
    bool ignored = false;
    return writeIfChanged(stampFile(path), recipe, &ignored, error);
}

bool KitGenerator::writeIfChanged(const QString &file, const QByteArray &bytes, bool *wasWritten, QString *error) const
{
    *wasWritten = false;
    QFile existing(file);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    existing.close();
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
        *error = QString("cannot write %1: %2").arg(file, out.errorString());
        return false;
    }
    *wasWritten = true;
    return true;
}

bool KitGenerator::makePicture(const Entry &entry, QString *error)
{
    QString why;
    const QImage image = entry.picture(&why);
    if (image.isNull()) {
        *error = QString("%1: %2").arg(entry.path, why.isEmpty() ? QString("nothing drawn") : why);
        return false;
    }
    if (image.width() != entry.width || image.height() != entry.height) {
        *error = QString("%1: drawn %2 x %3 instead of %4 x %5")
                     .arg(entry.path).arg(image.width()).arg(image.height()).arg(entry.width).arg(entry.height);
        return false;
    }
    bool wasWritten = false;
    if (!writeIfChanged(absolute(entry.path), pngBytes(image), &wasWritten, error))
        return false;
    wasWritten ? ++written : ++kept;
    return true;
}

bool KitGenerator::queueAnimation(const Entry &entry, JobRunner &runner, QString *error)
{
    QString why;
    const QList<QImage> frames = entry.animation(&why);
    if (frames.isEmpty()) {
        *error = QString("%1: %2").arg(entry.path, why);
        return false;
    }
    const QString scratch = options.outputFolder + "/.work/" + scratchName(entry.path);
    QDir().mkpath(scratch);
    QStringList args{"-delay", QString::number(AnimationPainter::FrameDelayCentiseconds), "-loop", "0"};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (int i = 0; i < frames.size(); ++i) {
        if (frames[i].size() != QSize(entry.width, entry.height)) {
            *error = QString("%1: frame %2 has the wrong size").arg(entry.path).arg(i);
            return false;
        }
        const QByteArray bytes = pngBytes(frames[i]);
        hash.addData(bytes);
        const QString file = QString("%1/f%2.png").arg(scratch).arg(i, 2, 10, QChar('0'));
        bool ignored = false;
        if (!writeIfChanged(file, bytes, &ignored, error))
            return false;
        args << file;
    }
    const QByteArray recipe = "convert " + args.mid(0, 4).join(' ').toUtf8() + "\nframes " + hash.result().toHex() + "\n";
    if (upToDate(entry.path, recipe)) {
        ++kept;
        return true;
    }
    const QString part = absolute(entry.path) + ".part";
    args << "GIF:" + part;
    QDir().mkpath(QFileInfo(absolute(entry.path)).absolutePath());
    const QString final = absolute(entry.path);
    JobRunner::Job job;
    job.name = entry.path;
    job.steps << JobRunner::Step{"convert", args};
    job.done = [this, part, final, recipe, path = entry.path](QString *e) {
        QFile::remove(final);
        if (!QFile::rename(part, final)) {
            *e = QString("cannot move %1 into place").arg(part);
            return false;
        }
        ++written;
        return writeStamp(path, recipe, e);
    };
    runner.add(job);
    return true;
}

bool KitGenerator::queueSound(const Entry &entry, JobRunner &runner, QString *error)
{
    QByteArray recipe;
    for (const JobRunner::Step &step : entry.steps)
        recipe += (step.program + " " + step.arguments.join(' ') + "\n").toUtf8();
    if (upToDate(entry.path, recipe)) {
        ++kept;
        return true;
    }
    const QString final = absolute(entry.path);
    const QString part = final + ".part";
    const QString raw = options.outputFolder + "/.work/" + scratchName(entry.path) + ".raw.wav";
    if (!QDir().mkpath(QFileInfo(final).absolutePath()) || !QDir().mkpath(options.outputFolder + "/.work")) {
        *error = QString("cannot create the folder of %1").arg(final);
        return false;
    }
    JobRunner::Job job;
    job.name = entry.path;
    for (JobRunner::Step step : entry.steps) {
        for (QString &arg : step.arguments) {
            if (arg == "{raw}")
                arg = raw;
            else if (arg == "{out}")
                arg = part;
        }
        job.steps << step;
    }
    job.done = [this, part, final, raw, recipe, path = entry.path](QString *e) {
        QFile::remove(raw);
        if (!SoundMaker::checkPrompt(part, MinimumPromptSeconds, e))
            return false;
        QFile::remove(final);
        if (!QFile::rename(part, final)) {
            *e = QString("cannot move %1 into place").arg(part);
            return false;
        }
        ++written;
        return writeStamp(path, recipe, e);
    };
    runner.add(job);
    return true;
}

bool KitGenerator::verify(const Entry &entry, QString *error) const
{
    const QString file = absolute(entry.path);
    if (entry.kind == Entry::Wav)
        return SoundMaker::checkPrompt(file, MinimumPromptSeconds, error);
    QImageReader reader(file);
    const QSize size = reader.size();
    if (!reader.canRead() || size != QSize(entry.width, entry.height)) {
        *error = QString("%1 is not a %2 x %3 picture").arg(file).arg(entry.width).arg(entry.height);
        return false;
    }
    if (entry.kind == Entry::Gif && reader.imageCount() != entry.frames) {
        *error = QString("%1 has %2 frames instead of %3").arg(file).arg(reader.imageCount()).arg(entry.frames);
        return false;
    }
    return true;
}

bool KitGenerator::pruneStaleFiles(QString *error) const
{
    QSet<QString> wanted;
    for (const Entry &e : entries)
        wanted.insert(e.path);
    for (const QString &tree : {QString("images"), QString("sounds")}) {
        const QString root = absolute(tree);
        if (!QFileInfo(root).isDir())
            continue;
        QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        QStringList stale;
        while (it.hasNext()) {
            const QString file = it.next();
            const QString relative = QDir(options.outputFolder).relativeFilePath(file);
            if (!wanted.contains(relative))
                stale << relative;
        }
        for (const QString &relative : qAsConst(stale)) {
            if (!QFile::remove(absolute(relative))) {
                *error = QString("cannot remove the stale file %1").arg(absolute(relative));
                return false;
            }
            QFile::remove(stampFile(relative));
            if (options.verbose)
                QTextStream(stdout) << "removed " << relative << "\n";
        }
        // Drop folders left empty, deepest first.
        QStringList dirs;
        QDirIterator dit(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (dit.hasNext())
            dirs << dit.next();
        std::sort(dirs.begin(), dirs.end(), [](const QString &a, const QString &b) { return a.size() > b.size(); });
        for (const QString &dir : qAsConst(dirs))
            QDir().rmdir(dir);
    }
    return true;
}

bool KitGenerator::writeManifest(QString *error) const
{
    QList<const Entry *> listed;
    for (const Entry &e : entries) {
        if (selected(e.path))
            listed << &e;
    }
    std::sort(listed.begin(), listed.end(), [](const Entry *a, const Entry *b) { return a->path < b->path; });
    QByteArray text;
    text += "# Rumbolo stimulus kit: every file of images/ and sounds/, one per line, tab-separated.\n"
            "# Made by tools/kitgen from tools/kitgen/content; do not edit.\n"
            "# path\tkind\twidth\theight\tframes\tseconds\tabout\n"
            "# kind png or gif: width and height in pixels, frames of a gif; kind wav: a prompt of\n"
            "# 44100 Hz mono signed 16-bit PCM behind a 44-byte header, its length in seconds.\n";
    for (const Entry *e : qAsConst(listed)) {
        QStringList fields{e->path};
        if (e->kind == Entry::Wav) {
            const double seconds = (QFileInfo(absolute(e->path)).size() - 44) / 88200.0;
            fields << "wav" << "-" << "-" << "-" << QString::number(seconds, 'f', 2);
        } else {
            fields << (e->kind == Entry::Gif ? "gif" : "png") << QString::number(e->width) << QString::number(e->height)
                   << QString::number(e->frames) << "-";
        }
        QString about = e->about;
        about.replace('\t', ' ').replace('\n', ' ');
        fields << about;
        text += fields.join('\t').toUtf8() + "\n";
    }
    QSaveFile out(options.outputFolder + "/manifest.txt");
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit()) {
        *error = QString("cannot write the manifest: %1").arg(out.errorString());
        return false;
    }
    return true;
}

bool KitGenerator::run(QString *error)
{
    if (generate(error))
        return true;
    // Leave no half-made file where the kit's files belong; the next run starts them again.
    for (const QString &tree : {QString("images"), QString("sounds")}) {
        QDirIterator it(absolute(tree), {"*.part"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            QFile::remove(it.next());
    }
    QDir(options.outputFolder + "/.work").removeRecursively();
    return false;
}

bool KitGenerator::generate(QString *error)
{
    QElapsedTimer timer;
    timer.start();
    if (!EmojiArt::fontAvailable(error))
        return false;
    if (!content.load(options.contentFolder, error))
        return false;
    if (!QDir().mkpath(options.outputFolder)) {
        *error = QString("cannot create %1").arg(options.outputFolder);
        return false;
    }
    // An interrupted earlier run must not leave a manifest that claims a complete kit.
    QFile::remove(options.outputFolder + "/manifest.txt");
    if (!plan(error))
        return false;

    JobRunner runner(options.parallel);
    // Sounds first: the external programs work while the pictures are drawn.
    for (const Entry &e : qAsConst(entries)) {
        if (e.kind == Entry::Wav && selected(e.path) && !queueSound(e, runner, error))
            return false;
    }
    for (const Entry &e : qAsConst(entries)) {
        if (!selected(e.path))
            continue;
        if (e.kind == Entry::Png && !makePicture(e, error))
            return false;
        if (e.kind == Entry::Gif && !queueAnimation(e, runner, error))
            return false;
        runner.pump();
    }
    if (!runner.waitAll(error))
        return false;
    QDir(options.outputFolder + "/.work").removeRecursively();

    int count = 0;
    for (const Entry &e : qAsConst(entries)) {
        if (!selected(e.path))
            continue;
        if (!verify(e, error))
            return false;
        ++count;
    }
    if (options.only.isEmpty() && !pruneStaleFiles(error))
        return false;
    if (!writeManifest(error))
        return false;
    QTextStream(stdout) << "kitgen: " << count << " files in " << options.outputFolder << " (" << written
                        << " made, " << kept << " already up to date) in "
                        << QString::number(timer.elapsed() / 1000.0, 'f', 1) << " s\n";
    return true;
}

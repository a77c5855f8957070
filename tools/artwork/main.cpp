// kunishirabe-artwork: generates the pictures and sounds shipped with the program.
#include "GifWriter.h"
#include "LandMask.h"
#include "Pictures.h"
#include "Sound.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

#include <cstdio>
#include <functional>

namespace {

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

bool writeGif(const QImage &image, QColor background, const QString &path)
{
    GifWriter writer(background);
    if (!writer.write(image, path)) {
        err() << path << ": " << writer.errorString() << Qt::endl;
        return false;
    }
    return true;
}

bool writeFile(const QByteArray &bytes, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        err() << path << ": " << file.errorString() << Qt::endl;
        return false;
    }
    return true;
}

bool writePng(const QImage &image, const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Fixed compression keeps the files byte-identical from run to run.
    if (!image.convertToFormat(QImage::Format_RGB32).save(path, "PNG", 9)) {
        err() << path << ": cannot write PNG" << Qt::endl;
        return false;
    }
    return true;
}

bool makeFeedback(const QString &root)
{
    const QString dir = root + QStringLiteral("/data/画像/");
    const QColor bg = Pictures::judgementBackground;
    bool ok = writeGif(Pictures::circleMark(), bg, dir + QStringLiteral("maru.gif"));
    ok = writeGif(Pictures::crossMark(), bg, dir + QStringLiteral("batu.gif")) && ok;
    ok = writeGif(Pictures::medal(Pictures::Medal::Gold), bg, dir + QStringLiteral("gold.gif")) && ok;
    ok = writeGif(Pictures::medal(Pictures::Medal::Silver), bg, dir + QStringLiteral("silver.gif")) && ok;
    ok = writeGif(Pictures::medal(Pictures::Medal::Copper), bg, dir + QStringLiteral("copper.gif")) && ok;
    return ok;
}

bool makeSounds(const QString &root)
{
    const QString dir = root + QStringLiteral("/data/音/");
    bool ok = writeFile(correctChime().toWav(), dir + QStringLiteral("o.wav"));
    ok = writeFile(wrongBuzz().toWav(), dir + QStringLiteral("x.wav")) && ok;
    ok = writeFile(passFanfare().toWav(), dir + QStringLiteral("gokaku.wav")) && ok;
    ok = writeFile(failPhrase().toWav(), dir + QStringLiteral("dame.wav")) && ok;
    return ok;
}

bool makePictures(const QString &root)
{
    LandMask land;
    QString error;
    if (!land.load(root + QStringLiteral("/tools/node_modules/world-atlas/land-50m.json"), &error)) {
        err() << error << Qt::endl;
        return false;
    }
    const QString dir = root + QStringLiteral("/assets/pictures/");
    bool ok = writePng(Pictures::dove(), dir + QStringLiteral("menu-dove.png"));
    ok = writePng(Pictures::redCrossFlag(), dir + QStringLiteral("flag-red-cross.png")) && ok;
    ok = writePng(Pictures::unitedNationsFlag(land), dir + QStringLiteral("flag-united-nations.png")) && ok;
    ok = writePng(Pictures::olympicFlag(), dir + QStringLiteral("flag-olympic.png")) && ok;
    ok = writePng(Pictures::globe(land), dir + QStringLiteral("globe.png")) && ok;
    return ok;
}

bool parseColour(const QString &text, QColor *colour)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 3)
        return false;
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        rgb[i] = parts[i].toInt(&ok);
        if (!ok || rgb[i] < 0 || rgb[i] > 255)
            return false;
    }
    *colour = QColor(rgb[0], rgb[1], rgb[2]);
    return true;
}

// png2gif [--background r,g,b] [--border r,g,b] in.png out.gif [in.png out.gif ...]
int convertFlags(const QStringList &args)
{
    QColor background = Pictures::flagBoxBackground;
    QColor border = Pictures::flagBorder;
    QStringList files;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if ((args[i] == QLatin1String("--background") || args[i] == QLatin1String("--border")) && i + 1 < args.size()) {
            if (!parseColour(args[i + 1], args[i] == QLatin1String("--border") ? &border : &background)) {
                err() << "bad colour: " << args[i + 1] << Qt::endl;
                return 2;
            }
            ++i;
        } else {
            files.append(args[i]);
        }
    }
    if (files.isEmpty() || files.size() % 2 != 0) {
        err() << "png2gif needs pairs of input and output files" << Qt::endl;
        return 2;
    }
    bool ok = true;
    for (qsizetype i = 0; i < files.size(); i += 2) {
        const QImage flag(files[i]);
        if (flag.isNull()) {
            err() << files[i] << ": cannot read picture" << Qt::endl;
            ok = false;
            continue;
        }
        ok = writeGif(Pictures::framedFlag(flag, background, border), background, files[i + 1]) && ok;
    }
    return ok ? 0 : 1;
}

void usage()
{
    err() << "usage: kunishirabe-artwork (all|feedback|sounds|pictures) <source root>\n"
             "       kunishirabe-artwork png2gif [--background r,g,b] [--border r,g,b] in.png out.gif ..."
          << Qt::endl;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        usage();
        return 2;
    }
    const QString mode = args.takeFirst();
    if (mode == QLatin1String("png2gif"))
        return convertFlags(args);
    if (args.size() != 1) {
        usage();
        return 2;
    }
    const QString root = QDir(args.first()).absolutePath();
    bool ok = true;
    if (mode == QLatin1String("feedback") || mode == QLatin1String("all"))
        ok = makeFeedback(root) && ok;
    if (mode == QLatin1String("sounds") || mode == QLatin1String("all"))
        ok = makeSounds(root) && ok;
    if (mode == QLatin1String("pictures") || mode == QLatin1String("all"))
        ok = makePictures(root) && ok;
    if (mode != QLatin1String("all") && mode != QLatin1String("feedback") && mode != QLatin1String("sounds")
        && mode != QLatin1String("pictures")) {
        usage();
        return 2;
    }
    return ok ? 0 : 1;
}

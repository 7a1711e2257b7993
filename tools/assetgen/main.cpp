// assetgen: writes every texture, sample, tune and front-end picture of the game.
// Usage: assetgen <output dir> <embedded dir> <score font file>
#include "Gen.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: assetgen <output dir> <embedded dir> <score font file>\n");
        return 1;
    }
    QGuiApplication app(argc, argv); // fonts need the application object
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString embed = QString::fromLocal8Bit(argv[2]);
    const QString fontFile = QString::fromLocal8Bit(argv[3]);
    gen::loadFonts();

    const QString textures = out + "/Resources/textures";
    const QString samples = out + "/Resources/samples";
    gen::ensureDir(textures);
    gen::ensureDir(samples);
    gen::ensureDir(embed);
    gen::makeTextures(textures);
    gen::makeHullTextures(textures);
    gen::makeTitle(textures);
    gen::makeSamples(samples);
    gen::makeMusic(samples);
    std::vector<gen::Embedded> entries = gen::makePictures(embed, out + "/icons");

    // The score font travels in the same resource file, copied from the system.
    const QString fontCopy = embed + "/ScoreFont.ttf";
    QFile::remove(fontCopy);
    if (!QFile::copy(fontFile, fontCopy)) {
        std::fprintf(stderr, "assetgen: cannot copy %s\n", argv[3]);
        return 1;
    }
    entries.push_back({"/fonts", "ScoreFont.ttf", "ScoreFont.ttf"});

    QFile qrc(embed + "/generated.qrc");
    if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "assetgen: cannot write the resource list\n");
        return 1;
    }
    QTextStream s(&qrc);
    s << "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n";
    QString prefix;
    for (const gen::Embedded& e : entries) {
        if (e.prefix != prefix) {
            if (!prefix.isEmpty())
                s << "    </qresource>\n";
            prefix = e.prefix;
            s << "    <qresource prefix=\"" << prefix << "\">\n";
        }
        s << "        <file alias=\"" << e.alias << "\">" << e.file << "</file>\n";
    }
    if (!prefix.isEmpty())
        s << "    </qresource>\n";
    s << "</RCC>\n";
    return 0;
}

#pragma once

// Builds a scratch working directory holding a generated collection of
// nbAlbums albums over nbSeries series, named in data/settings.ini.

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>

inline QByteArray genererCollection(int nbAlbums, int nbSeries)
{
    QByteArray contenu;
    contenu.reserve(qsizetype(nbAlbums) * 140);
    const char* genres[] = { "Aventure", "Humour", "Policier", "Fantastique", "Science-fiction" };
    const char* editeurs[] = { "Dargaud", "Dupuis", "Casterman", "Glénat", "Delcourt", "Kana" };
    for (int i = 0; i < nbAlbums; ++i) {
        const int serie = i % nbSeries;
        const int tome = i / nbSeries + 1;
        const QString ligne
            = QStringLiteral("Série n°%1;Album %1-%2;%2;Dessinateur %3;Scénariste "
                             "%4;%5;;0;%6;;%7;%8;0;%9;_;3;0;0;;Coloriste %3\n")
                  .arg(QString::number(serie), QString::number(tome), QString::number(serie % 997),
                      QString::number(serie % 463), QString::fromUtf8(editeurs[serie % 6]),
                      QString::fromUtf8(genres[serie % 5]),
                      i % 50 == 0 ? QStringLiteral("Emprunteur %1").arg(i % 37) : QString(),
                      i % 50 == 0 ? QStringLiteral("01/03/2014") : QString(),
                      QString::number(serie % 3));
        contenu += ligne.toUtf8();
    }
    return contenu;
}

// Writes the collection and its settings in dossier and enters it.
inline bool preparerDossier(const QTemporaryDir& dossier, int nbAlbums, int nbSeries)
{
    QDir racine(dossier.path());
    racine.mkpath(QStringLiteral("data"));
    racine.mkpath(QStringLiteral("images"));
    QFile collection(racine.filePath(QStringLiteral("collection.csv")));
    if (!collection.open(QIODevice::WriteOnly))
        return false;
    collection.write(genererCollection(nbAlbums, nbSeries));
    collection.close();
    QFile parametres(racine.filePath(QStringLiteral("data/settings.ini")));
    if (!parametres.open(QIODevice::WriteOnly))
        return false;
    parametres.write("[BASE]\nFileName=collection.csv\nEncodage=UTF-8\n");
    parametres.close();
    return QDir::setCurrent(dossier.path());
}

// Shows a window opened on a generated collection; false unless it holds
// every album.
template <typename Fenetre> bool montrer(Fenetre& fenetre, int nbAlbums)
{
    fenetre.show();
    QApplication::processEvents();
    return fenetre.getAlbums().size() == nbAlbums;
}

inline double memoireMaxMo()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Benchmarks run without a display unless one is asked for.
inline void choisirAffichageHorsEcran()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

struct Stats
{
    double mediane;
    double max;
};

inline Stats resumer(QList<double> durees)
{
    std::sort(durees.begin(), durees.end());
    return { durees.at(durees.size() / 2), durees.last() };
}

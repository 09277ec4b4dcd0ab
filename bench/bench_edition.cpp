// Adding one album and deleting one series in a 100,000-album catalogue.
#include "app/phylacto.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int nbAlbums = 100000;
constexpr int nbSeries = 5000;
constexpr int nbMesures = 20;

QString nomSerie(int i)
{
    return QStringLiteral("Série %1").arg(i, 5, 10, QLatin1Char('0'));
}

bool ecrireCollection(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::WriteOnly))
        return false;
    QByteArray contenu;
    contenu.reserve(nbAlbums * 110);
    // Albums of a series are spread over the whole file, as years of buying make them.
    for (int i = 0; i < nbAlbums; ++i) {
        const int serie = i % nbSeries;
        contenu += QStringLiteral("%1;Album %2;%3;Dessinateur %4;Scenariste;Editeur %5;;0;Genre "
                                  "%6;_;_;;0;%7;_;0;0;0;;Coloriste\n")
                       .arg(nomSerie(serie), QString::number(i), QString::number(i / nbSeries + 1),
                           QString::number(serie % 300), QString::number(serie % 40),
                           QString::number(serie % 12), QString::number(serie % 3))
                       .toUtf8();
    }
    return fichier.write(contenu) == contenu.size();
}

struct Stats
{
    double mediane;
    double max;
};

Stats resumer(QList<double> durees)
{
    std::sort(durees.begin(), durees.end());
    return { durees.at(durees.size() / 2), durees.last() };
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dossier;
    QDir::setCurrent(dossier.path());
    QDir().mkpath(QStringLiteral("data"));
    if (!ecrireCollection(dossier.filePath(QStringLiteral("collection.csv"))))
        return 1;
    {
        QSettings parametres(
            dossier.filePath(QStringLiteral("data/settings.ini")), QSettings::IniFormat);
        parametres.setValue(QStringLiteral("BASE/FileName"), QStringLiteral("collection.csv"));
        parametres.setValue(QStringLiteral("BASE/Encodage"), QStringLiteral("UTF-8"));
    }

    QElapsedTimer chrono;
    chrono.start();
    Phylacto fenetre;
    std::printf("chargement de %lld albums : %lld ms\n",
        static_cast<long long>(fenetre.getAlbums().size()),
        static_cast<long long>(chrono.elapsed()));
    if (fenetre.getAlbums().size() != nbAlbums)
        return 1;

    // Additions alternate between the shown series, another series and a new one.
    QList<double> ajouts;
    for (int i = 0; i < nbMesures; ++i) {
        QString serie;
        switch (i % 3) {
        case 0:
            serie = fenetre.getSerieCourante();
            break;
        case 1:
            serie = nomSerie(i * 97 % nbSeries);
            break;
        default:
            serie = QStringLiteral("Nouvelle %1").arg(i);
            break;
        }
        chrono.restart();
        fenetre.nouvelAlbum(serie, QStringLiteral("Ajout %1").arg(i), QStringLiteral("Scenariste"),
            QStringLiteral("Dessinateur"), 99, QString(), i % 3, 0, 0, QStringLiteral("Dargaud"),
            QStringLiteral("Fantastique"), QString());
        ajouts.append(chrono.nsecsElapsed() / 1e6);
    }

    auto* liste = fenetre.findChild<QListWidget*>(QStringLiteral("LstSerie"));
    QList<double> suppressions;
    for (int i = 0; i < nbMesures; ++i) {
        liste->setCurrentRow(int(liste->count() * (i + 1) / (nbMesures + 2)));
        const qsizetype avant = fenetre.getAlbums().size();
        chrono.restart();
        fenetre.suppSerie();
        suppressions.append(chrono.nsecsElapsed() / 1e6);
        if (fenetre.getAlbums().size() >= avant)
            return 1;
    }

    const Stats a = resumer(ajouts);
    const Stats s = resumer(suppressions);
    std::printf(
        "ajout d'un album : médiane %.2f ms, max %.2f ms (objectif 50 ms)\n", a.mediane, a.max);
    std::printf("suppression d'une série : médiane %.2f ms, max %.2f ms (objectif 50 ms)\n",
        s.mediane, s.max);
    return (a.max <= 50.0 && s.max <= 50.0) ? 0 : 2;
}

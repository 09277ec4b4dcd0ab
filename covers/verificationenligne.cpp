#include "covers/verificationenligne.h"

#include "covers/recherchecouvertures.h"
#include "settings/chemins.h"

#include <QDir>
#include <QEventLoop>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

using namespace SourcesCouvertures;

int verifierCouverturesEnLigne(QTextStream& sortie)
{
    // Franco-Belgian, comics and manga, old and recent editions.
    const QList<AlbumCherche> albums = {
        { QStringLiteral("Astérix Tome 1"), QStringLiteral("Astérix"),
            QStringLiteral("Astérix le Gaulois"), 1 },
        { QStringLiteral("Tintin Tome 16"), QStringLiteral("Les aventures de Tintin"),
            QStringLiteral("Objectif Lune"), 16 },
        { QStringLiteral("Blacksad Tome 1"), QStringLiteral("Blacksad"),
            QStringLiteral("Quelque part entre les ombres"), 1 },
        { QStringLiteral("Watchmen"), QStringLiteral("Watchmen"), QString(), 0 },
        { QStringLiteral("One Piece Tome 1"), QStringLiteral("One Piece"),
            QStringLiteral("À l'aube d'une grande aventure"), 1 },
        { QStringLiteral("Akira Tome 1"), QStringLiteral("Akira"), QString(), 1 },
    };
    QTemporaryDir dossier;
    const Chemins chemins(dossier.path());
    if (!dossier.isValid() || !QDir().mkpath(chemins.dossierDonnees())) {
        sortie << "cannot prepare a scratch folder\n";
        return 2;
    }
    QSettings parametres(chemins.fichierParametres(), QSettings::IniFormat);
    RechercheCouvertures recherche(&parametres, nullptr, chemins);
    int sourcesSansCouverture = 0;
    for (Source source : { Source::Bnf, Source::OpenLibrary }) {
        int trouvees = 0;
        for (const AlbumCherche& album : albums) {
            QEventLoop attente;
            QString resultat;
            QObject::connect(&recherche, &RechercheCouvertures::couvertureTrouvee, &attente, [&] {
                resultat = QStringLiteral("cover");
                attente.quit();
            });
            QObject::connect(&recherche, &RechercheCouvertures::rechercheSansCouverture, &attente,
                [&](const QString& texte) {
                    resultat = texte;
                    attente.quit();
                });
            recherche.chercher(source, album);
            attente.exec();
            trouvees += resultat == QLatin1String("cover") ? 1 : 0;
            sortie << nomSource(source) << " | " << album.recherche << " | " << resultat << '\n';
            sortie.flush();
        }
        sortie << nomSource(source) << ": " << trouvees << '/' << albums.size() << " covers\n";
        sourcesSansCouverture += trouvees == 0 ? 1 : 0;
    }
    return sourcesSansCouverture == 0 ? 0 : 1;
}

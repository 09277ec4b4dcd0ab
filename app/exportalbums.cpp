#include "app/phylacto.h"

#include "dialogs/boites.h"
#include "settings/parametres.h"
#include "store/exporttableur.h"
#include "store/fichiercollection.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>

void Phylacto::exporterTableur()
{
    const QList<BD*>& albums = catalogue.albums();
    exporterAlbums(QList<const BD*>(albums.cbegin(), albums.cend()));
}

void Phylacto::exporterLignes(const QList<int>& lignes, quint64 revisionLignes)
{
    // The explorer numbers the albums as they stood when it opened.
    if (revisionLignes != catalogue.revisionPositions()) {
        Boites::informer(tr("Des albums ont été supprimés depuis l'ouverture de l'explorateur : "
                            "rouvrez-le pour exporter ses lignes."));
        return;
    }
    const QList<BD*>& albums = catalogue.albums();
    QList<const BD*> choisis;
    choisis.reserve(lignes.size());
    for (const int ligne : lignes) {
        if (ligne >= 0 && ligne < albums.size())
            choisis.append(albums.at(ligne));
    }
    exporterAlbums(choisis);
}

void Phylacto::exporterAlbums(const QList<const BD*>& albums)
{
    const QString chemin
        = demanderFichierCsv(tr("Exporter pour un tableur"), tr("Tableur CSV (*.csv)"));
    if (chemin.isEmpty())
        return;
    // Overwritten by this format, the collection would no longer load.
    if (QFileInfo(chemin)
        == QFileInfo(FichierCollection::chemin(
            m_chemins, Parametres::lire(*settings, Parametres::Cle::NomFichier)))) {
        Boites::informer(tr("%1 est le fichier de la collection : choisissez un autre fichier pour "
                            "l'export.")
                             .arg(QDir::toNativeSeparators(QDir::cleanPath(chemin))));
        return;
    }
    const QString erreur = ExportTableur::enregistrer(chemin, albums);
    if (!erreur.isEmpty()) {
        Boites::Boite boite;
        boite.icone = QMessageBox::Warning;
        boite.texte = tr("Impossible d'exporter vers %1 :\n%2")
                          .arg(QDir::toNativeSeparators(QDir::cleanPath(chemin)), erreur);
        Boites::montrer(boite);
        return;
    }
    statusBar()->showMessage(tr("%n album(s) exporté(s) vers %1", nullptr, int(albums.size()))
                                 .arg(QDir::toNativeSeparators(QDir::cleanPath(chemin))),
        5000);
}

#include "covers/ajoutlot.h"

#include "covers/nomimage.h"
#include "covers/sourcescouvertures.h"
#include "model/bd.h"
#include "settings/chemins.h"

namespace AjoutLot {

Bilan ajouter(Catalogue& catalogue, const QList<AlbumAAjouter>& albums,
    const QString& dossierImages, const Avancement& avancement)
{
    QList<ValeursAlbum> valeurs;
    valeurs.reserve(albums.size());
    for (const AlbumAAjouter& album : albums)
        valeurs.append(album.valeurs);
    Bilan bilan;
    bilan.albums = catalogue.ajouterLot(valeurs);
    for (qsizetype i = 0; i < albums.size(); ++i) {
        BD* album = bilan.albums.at(i);
        const AlbumAAjouter& source = albums.at(i);
        if (avancement)
            avancement(i, albums.size());
        if (!album) {
            ++bilan.doublons;
            continue;
        }
        ++bilan.ajoutes;
        if (!source.emprunteur.isEmpty()) {
            album->setEmprunteur(source.emprunteur);
            album->setDateEmprunt(source.dateEmprunt);
            album->nbEmprunts = 1;
        }
        const QByteArray octets = source.fichierCouverture.isEmpty()
            ? source.couverture
            : NomImage::octetsCouverture(source.fichierCouverture);
        if (octets.isEmpty()
            || SourcesCouvertures::examinerImage(octets, false)
                != SourcesCouvertures::Image::Couverture) {
            if (source.couvertureAttendue || !octets.isEmpty())
                ++bilan.sansCouverture;
            continue;
        }
        QString erreur;
        const QString nom = NomImage::stockerCouverture(
            dossierImages, NomImage::nomFichier(NomImage::rechercheAlbum(album)), octets, &erreur);
        if (nom.isEmpty()) {
            ++bilan.sansCouverture;
            if (bilan.erreurCouverture.isEmpty())
                bilan.erreurCouverture = erreur;
            continue;
        }
        album->setImage(Chemins::champImage(nom));
        ++bilan.couvertures;
    }
    return bilan;
}

} // namespace AjoutLot

#pragma once

#include "model/catalogue.h"
#include "store/avancement.h"

#include <QByteArray>
#include <QList>
#include <QString>

class BD;

// Albums added together (found in the national catalogue, read from another
// collection), each with its cover stored under the automatic search's name.
namespace AjoutLot {

struct AlbumAAjouter
{
    ValeursAlbum valeurs;
    QByteArray couverture; // the picture itself
    QString fichierCouverture; // or a picture file to read
    bool couvertureAttendue = false; // one was named: counted when none is stored
    QString emprunteur; // empty when not lent
    QString dateEmprunt;
};

struct Bilan
{
    QList<BD*> albums; // for each album asked: the one added, or nullptr (a duplicate)
    int ajoutes = 0;
    int doublons = 0;
    int couvertures = 0; // stored
    int sansCouverture = 0; // expected, but not had, not a picture, or not stored
    QString erreurCouverture; // why the first cover could not be written
};

// Adds the albums by the catalogue's rule (same series and title: refused),
// then stores the cover of each album added in dossierImages as
// "<series> Tome <volume>" and points the album at it. A cover that is no
// picture is left out; the album is added all the same. Covers are slow to
// write (each is synced to disk): avancement hears of them, in albums.
Bilan ajouter(Catalogue& catalogue, const QList<AlbumAAjouter>& albums,
    const QString& dossierImages, const Avancement& avancement = {});

} // namespace AjoutLot

#pragma once

#include "covers/ajoutlot.h"
#include "covers/recherchecatalogue.h"

#include <QDialog>
#include <QList>

#include <functional>
#include <memory>

namespace Ui {
class AjoutCatalogue;
}

// Albums found in the national catalogue by ISBN, barcode or words, piled up
// scan after scan, ticked and added together with their covers.
class AjoutCatalogue : public QDialog
{
    Q_OBJECT

public:
    // Adds a batch to the collection and says what became of each album.
    using Ajout = std::function<AjoutLot::Bilan(const QList<AjoutLot::AlbumAAjouter>&)>;

    AjoutCatalogue(
        RechercheCatalogue* recherche, const Catalogue& catalogue, Ajout ajout, QWidget* parent);
    ~AjoutCatalogue() override;

    int nbEnAttente() const; // rows ticked
    // What a search answered, as when its answer arrives.
    void recevoir(
        const RechercheCatalogue::Resultat& resultat, const QString& recherche, bool parIsbn);

public slots:
    void rechercher();
    void ajouter();
    void modifierAvantAjout();

    // Closed while covers are still coming: the albums asked for go in without them.
    void done(int resultat) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Ligne
    {
        int id = 0;
        NoticesCatalogue::NoticeAlbum notice;
        bool imageDemandee = false;
        bool imageRecue = false;
        QByteArray image;
    };
    // An album asked for ("Ajouter", the entry form), until its cover is here.
    struct Attente
    {
        int id = 0;
        ValeursAlbum valeurs;
        bool couvertureAttendue = false;
        bool recue = false;
        QByteArray image;
    };

    void ajouterLigne(const NoticesCatalogue::NoticeAlbum& notice, bool cochee);
    int ligneDe(int id) const;
    void demanderVignettes();
    void demanderImage(int id);
    void recevoirImage(int id, const QByteArray& octets);
    void attendreCouvertures(QList<Attente> lot);
    void poursuivreAjout();
    void majAttente();
    void activerBoutons(bool actifs);
    const NoticesCatalogue::IndexPossedes& index();

    Ui::AjoutCatalogue* ui = nullptr;
    RechercheCatalogue* m_recherche = nullptr;
    const Catalogue& m_catalogue;
    Ajout m_ajout;
    QList<Ligne> m_lignes; // in the order of the table's rows
    int m_prochainId = 0;
    QList<Attente> m_aAjouter;
    std::unique_ptr<NoticesCatalogue::IndexPossedes> m_index;
    quint64 m_revisionIndex = 0;
    qsizetype m_nbIndexes = 0; // albums of the catalogue in m_index
};

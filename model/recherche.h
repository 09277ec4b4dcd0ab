#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

class Catalogue;

namespace Recherche {

// What a quick search compares: lower case, accents dropped, ligatures spelled
// out ("Cœur d'Élève" gives "coeur d'eleve").
QString minusculesSansAccents(const QString& texte);

} // namespace Recherche

// Series names with, for each, the normalised words a quick search may hit:
// its name, the titles, writers and artists of its albums. Rebuilt only when
// the catalogue changed since the last search.
class IndexRecherche
{
public:
    // Names of the series whose words contain texte once normalised; every
    // series for an empty text.
    QSet<QString> seriesTrouvees(const Catalogue& catalogue, const QString& texte);
    // Brings the index up to date with the catalogue, so that the next
    // keystroke only searches.
    void preparer(const Catalogue& catalogue);

private:
    void reconstruire(const Catalogue& catalogue);
    // Indexes the series and albums appended since the last call.
    void ajouterNouveaux(const Catalogue& catalogue);
    QList<int> chercher(const QString& motif, const QList<int>* parmi) const;

    const Catalogue* m_catalogue = nullptr;
    quint64 m_revisionContenu = 0;
    quint64 m_revisionContenuHorsAjouts = 0;
    qsizetype m_nbAlbums = 0;
    QList<QString> m_noms;
    QList<QString> m_textes;
    QHash<QString, int> m_numeros;
    // Writers and artists come back album after album and series after
    // series: each is reduced once and written once per series.
    QHash<QString, int> m_auteurs;
    QList<QString> m_auteursReduits;
    QList<QList<int>> m_auteursEcrits;
    // The last search: a longer text that contains it only needs its hits.
    QString m_dernierMotif;
    QList<int> m_derniersTrouves;
};

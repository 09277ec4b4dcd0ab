#pragma once

#include <QList>
#include <QSet>
#include <QString>

class Catalogue;

namespace Recherche {

// What a quick search compares: lower case, accents dropped, ligatures spelled
// out ("Cœur d'Élève" gives "coeur d'eleve").
QString normaliser(const QString& texte);

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

private:
    void reconstruire(const Catalogue& catalogue);
    QList<int> chercher(const QString& motif, const QList<int>* parmi) const;

    bool m_construit = false;
    quint64 m_revision = 0;
    const Catalogue* m_catalogue = nullptr;
    QList<QString> m_noms;
    QList<QString> m_textes;
    // The last search: a longer text that contains it only needs its hits.
    QString m_dernierMotif;
    QList<int> m_derniersTrouves;
};

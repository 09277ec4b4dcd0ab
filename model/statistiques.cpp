#include "model/statistiques.h"

#include "model/bd.h"
#include "model/catalogue.h"
#include "model/serie.h"
#include "model/tomes.h"
#include "model/traduction.h"

#include <QHash>

#include <algorithm>

using Traduction::tr;

namespace {

constexpr int nbPremiers = 10;

Statistiques::AgePret agePret(const QDate& jour, const QDate& aujourdhui)
{
    if (!jour.isValid() || jour > aujourdhui)
        return Statistiques::DateInconnue;
    if (jour > aujourdhui.addMonths(-1))
        return Statistiques::MoinsDUnMois;
    if (jour > aujourdhui.addMonths(-3))
        return Statistiques::UnATroisMois;
    if (jour > aujourdhui.addYears(-1))
        return Statistiques::TroisADouzeMois;
    return Statistiques::UnAnOuPlus;
}

Statistiques::Graphique barresFrequences(
    const QString& titre, const QList<Statistiques::Frequence>& frequences)
{
    Statistiques::Graphique graphique { titre, Statistiques::Graphique::Barres, {}, {} };
    for (const Statistiques::Frequence& frequence : frequences) {
        graphique.etiquettes.append(frequence.nom);
        graphique.valeurs.append(frequence.albums);
    }
    return graphique;
}

int indiceType(int type)
{
    return (type == Comic || type == Manga) ? type : Euro;
}

void compter(QHash<QString, int>& comptes, const QString& nom)
{
    if (!nom.trimmed().isEmpty())
        ++comptes[nom];
}

QList<Statistiques::Frequence> premiers(const QHash<QString, int>& comptes)
{
    QList<Statistiques::Frequence> frequences;
    frequences.reserve(comptes.size());
    for (auto it = comptes.cbegin(); it != comptes.cend(); ++it)
        frequences.append({ it.key(), it.value() });
    const auto avant = [](const Statistiques::Frequence& a, const Statistiques::Frequence& b) {
        return a.albums != b.albums ? a.albums > b.albums : a.nom < b.nom;
    };
    const auto fin = frequences.begin() + std::min<qsizetype>(nbPremiers, frequences.size());
    std::partial_sort(frequences.begin(), fin, frequences.end(), avant);
    frequences.erase(fin, frequences.end());
    return frequences;
}

} // namespace

Statistiques Statistiques::calculer(const Catalogue& catalogue, const QDate& aujourdhui)
{
    Statistiques stats;
    QHash<QString, int> editeurs;
    QHash<QString, int> scenaristes;
    QHash<QString, int> dessinateurs;
    QList<QPair<QDate, Pret>> prets;

    for (const BD* album : catalogue.albums()) {
        ++stats.albumsParType[indiceType(album->type)];
        if (!album->aUneImage())
            ++stats.albumsSansCouverture;
        compter(editeurs, album->getEditeur());
        compter(scenaristes, album->getScenariste());
        compter(dessinateurs, album->getDessinateur());
        if (album->estPretee()) {
            const QDate jour
                = QDate::fromString(album->getDateEmprunt(), QStringLiteral("dd/MM/yyyy"));
            ++stats.pretsParAge[agePret(jour, aujourdhui)];
            prets.append({ jour,
                { album->getSerie(), album->getTitre(), album->getEmprunteur(),
                    album->getDateEmprunt(),
                    jour.isValid() ? int(jour.daysTo(aujourdhui)) : -1 } });
        }
    }
    for (const Serie* serie : catalogue.series()) {
        ++stats.seriesParType[indiceType(serie->type)];
        if (serie->serieFinie != 0)
            ++stats.seriesFinies;
    }
    for (const Tomes::SerieIncomplete& serie : Tomes::seriesIncompletes(catalogue))
        stats.tomesManquants += serie.manques.nombre;

    std::stable_sort(prets.begin(), prets.end(), [](const auto& a, const auto& b) {
        if (a.first.isValid() != b.first.isValid())
            return a.first.isValid();
        return a.first < b.first;
    });
    stats.prets.reserve(prets.size());
    for (const auto& pret : std::as_const(prets))
        stats.prets.append(pret.second);

    stats.editeurs = premiers(editeurs);
    stats.scenaristes = premiers(scenaristes);
    stats.dessinateurs = premiers(dessinateurs);
    return stats;
}

QList<Statistiques::Graphique> Statistiques::graphiques() const
{
    int series = 0;
    for (int nombre : seriesParType)
        series += nombre;
    return {
        { tr("Albums par type"), Graphique::Secteurs, { tr("BD Euro"), tr("Comic"), tr("Manga") },
            { albumsParType[Euro], albumsParType[Comic], albumsParType[Manga] } },
        barresFrequences(tr("Éditeurs les plus fréquents"), editeurs),
        barresFrequences(tr("Scénaristes les plus fréquents"), scenaristes),
        barresFrequences(tr("Dessinateurs les plus fréquents"), dessinateurs),
        { tr("Séries finies et en cours"), Graphique::Secteurs, { tr("Finies"), tr("En cours") },
            { seriesFinies, series - seriesFinies } },
        { tr("Prêts par ancienneté"), Graphique::Barres,
            { tr("Moins d'un mois"), tr("1 à 3 mois"), tr("3 à 12 mois"), tr("Un an ou plus"),
                tr("Date inconnue") },
            { pretsParAge[MoinsDUnMois], pretsParAge[UnATroisMois], pretsParAge[TroisADouzeMois],
                pretsParAge[UnAnOuPlus], pretsParAge[DateInconnue] } },
    };
}

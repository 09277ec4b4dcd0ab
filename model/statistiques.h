#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class Catalogue;

// Figures about the whole catalogue, computed in one walk.
struct Statistiques
{
    // Indexed by TypeBD; any other kind counts as Euro, as the counters do.
    int albumsParType[3] = { 0, 0, 0 };
    int seriesParType[3] = { 0, 0, 0 };
    int seriesFinies = 0;
    int albumsSansCouverture = 0;
    qint64 tomesManquants = 0;

    struct Pret
    {
        QString serie;
        QString titre;
        QString emprunteur;
        QString date; // as stored, "dd/MM/yyyy"
        int jours = -1; // since the loan; -1 when the date cannot be read
    };
    // Oldest loan first; those without a readable date last.
    QList<Pret> prets;

    struct Frequence
    {
        QString nom;
        int albums = 0;
    };
    // The ten most frequent, most albums first, then by name; blank names are
    // not counted.
    QList<Frequence> editeurs;
    QList<Frequence> scenaristes;
    QList<Frequence> dessinateurs;

    // Loans by the age of their date: under a month, one to three months,
    // three to twelve months, a year or more, and a date unreadable or to come.
    enum AgePret { MoinsDUnMois, UnATroisMois, TroisADouzeMois, UnAnOuPlus, DateInconnue, NbAges };
    int pretsParAge[NbAges] = { 0, 0, 0, 0, 0 };

    // What one chart shows: a value per label.
    struct Graphique
    {
        enum Forme { Secteurs, Barres };
        QString titre;
        Forme forme = Barres;
        QStringList etiquettes;
        QList<int> valeurs;
    };
    // Albums per kind, the most frequent publishers, writers and artists,
    // finished and unfinished series, loans by age.
    QList<Graphique> graphiques() const;

    static Statistiques calculer(const Catalogue& catalogue, const QDate& aujourdhui);
};

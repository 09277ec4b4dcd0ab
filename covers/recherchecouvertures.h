#pragma once

#include "covers/sourcescouvertures.h"
#include "settings/chemins.h"

#include <QHash>
#include <QObject>
#include <QStringList>

class Cadenceur;
class QNetworkAccessManager;
class Recuperation;
class QSettings;

// A cover search on the keyless sources: asks each source of the setting in
// turn, tries its candidates best first, and stores the first real cover in
// "//data//tutu.jpg", where the choice panel takes it as from the signed
// service. Base addresses are read from the settings at every search.
class RechercheCouvertures : public QObject
{
    Q_OBJECT

public:
    RechercheCouvertures(QSettings* settings, QObject* parent = nullptr,
        const Chemins& chemins = Chemins::dossierCourant());

    // Replaces any search still under way.
    void chercher(SourcesCouvertures::Source source, const SourcesCouvertures::AlbumCherche& album);
    void annuler();
    Cadenceur* cadenceur() const { return m_cadenceur; }

    // Covers tried per source: each is one more request to its host.
    static constexpr int candidatsParSource = 6;

signals:
    void couvertureTrouvee();
    // texte says whether the services had nothing or could not be reached.
    void rechercheSansCouverture(QString texte);

public slots:
    void setProxy(QString aAdd, QString aPort, QString aLogin, QString aPassword);

private:
    void sourceSuivante();
    // False when the answer is not one of the service.
    bool lireRecherche(const QByteArray& corps);
    void candidatSuivant();
    void lireCouverture(const Recuperation& reponse);
    // False (and the source noted unavailable, with the reason) when the
    // exchange failed or was given up.
    bool reussie(const Recuperation& reponse);
    void finir();

    QSettings* m_settings = nullptr;
    Chemins m_chemins;
    QNetworkAccessManager* m_manager = nullptr;
    Cadenceur* m_cadenceur = nullptr;
    QHash<QString, QByteArray> m_reponses; // search answers of this run, by address

    SourcesCouvertures::AlbumCherche m_album;
    QList<SourcesCouvertures::Source> m_sources;
    SourcesCouvertures::Source m_source = SourcesCouvertures::Source::Bnf;
    QList<QUrl> m_candidats;
    QStringList m_indisponibles; // "BnF : HTTP 429"
    bool m_enCours = false;
};

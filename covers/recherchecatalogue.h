#pragma once

#include "covers/noticescatalogue.h"

#include <QCache>
#include <QHash>
#include <QObject>

#include <functional>
#include <memory>

class Cadenceur;
class QSettings;
class Recuperation;

// Albums asked of the national library's catalogue, then of Open Library
// when the library has none, through the paced queue of the cover search.
// Answers and pictures are kept for the run: a search made twice is sent
// once. Base addresses are read from the settings at every search.
class RechercheCatalogue : public QObject
{
    Q_OBJECT

public:
    RechercheCatalogue(QSettings* settings, Cadenceur* cadenceur, QObject* parent = nullptr);

    enum class Etat {
        Trouve,
        Aucun, // every source answered, with nothing
        Echec // nothing found, and a source could not be asked: message says why
    };
    struct Resultat
    {
        Etat etat = Etat::Aucun;
        QList<NoticesCatalogue::NoticeAlbum> notices; // the BnF's, else Open Library's
        QString message; // what went wrong, also when another source answered
        bool tronque = false; // more records than pagesMax pages hold
    };
    using Fin = std::function<void(const Resultat&)>;
    // A picture that is a real cover, or nothing.
    using FinImage = std::function<void(const QByteArray&)>;

    // Nothing is delivered once contexte is gone. isbn13 is a checked ISBN-13;
    // words are looked for anywhere in the records, every page of the
    // library's answer followed, up to pagesMax.
    void chercherIsbn(const QString& isbn13, QObject* contexte, Fin fin);
    void chercherTexte(const QString& texte, QObject* contexte, Fin fin);
    void image(const QUrl& url, NoticesCatalogue::Source source, QObject* contexte, FinImage fin);

    static constexpr int pagesMax = 10;

private:
    struct Interrogation;
    void commencer(
        NoticesCatalogue::Critere critere, const QString& texte, QObject* contexte, Fin fin);
    void demanderBnf(const std::shared_ptr<Interrogation>& interrogation, int debut);
    void demanderOpenLibrary(const std::shared_ptr<Interrogation>& interrogation);
    void terminer(const std::shared_ptr<Interrogation>& interrogation,
        const QList<NoticesCatalogue::NoticeAlbum>& notices);
    // The answer at url, kept when lire accepts it; echouer gets why none came.
    void obtenir(const QUrl& url, QObject* contexte,
        const std::function<bool(const QByteArray&)>& lire,
        const std::function<void(const QString&)>& echouer);

    QSettings* m_settings = nullptr;
    Cadenceur* m_cadenceur = nullptr;
    QHash<QString, QByteArray> m_reponses; // by address
    QCache<QString, QByteArray> m_images; // by address, cost in kB; empty: no cover there
};

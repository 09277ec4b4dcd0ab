#pragma once

#include "model/bd.h"

#include <QTextCodec>
#include <QtTest>

// A scratch working folder with data/ and images/, current for the object's
// life.
class DossierTravail
{
public:
    DossierTravail();
    ~DossierTravail() { QDir::setCurrent(m_ancien); }
    QString chemin(const QString& relatif = QString()) const;
    bool ecrire(const QString& relatif, const QByteArray& contenu) const;
    QByteArray lire(const QString& relatif) const;
    bool parametres(const QStringList& cles) const; // "GROUP/Key=value" each
    QString parametre(const QString& cle) const;
    // The collection file, named with its encoding in the settings.
    bool collection(const QByteArray& lignes, const QString& encodage = QStringLiteral("UTF-8"),
        const QString& nom = QStringLiteral("collection.csv")) const;

    // Run by every new folder once it is current (the window tests make the
    // boxes automatic there).
    static inline void (*aLaCreation)() = nullptr;

private:
    QTemporaryDir m_dossier;
    QString m_ancien;
};

// The bytes of a file of tests/data.
QByteArray donnee(const QString& nom);
// A line of 20 fields: artist "Dessinateur", writer "Scenariste", colourist "Coloriste".
QByteArray ligneAlbum(const QString& serie, const QString& titre, int tome = 1, int type = 0,
    const QString& image = QString(), const QString& emprunteur = QString());
// PNG bytes of one colour, or of noise (which does not compress) when seeded.
QByteArray imagePng(int largeur, int hauteur, const QColor& couleur = Qt::red, quint32 graine = 0);
BD* albumTest(
    const QString& serie, const QString& titre, int tome = 1, int type = 0); // of that line

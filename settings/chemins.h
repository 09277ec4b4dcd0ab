#pragma once

#include <QString>

// The files of one working folder; nothing else spells them. The "//" joins
// are the program's own spelling of these paths; Qt reads them as one "/".
class Chemins
{
public:
    explicit Chemins(const QString& dossierTravail);
    // The process's current directory, which the start made the working
    // folder: the default of the classes built without one.
    static Chemins dossierCourant();

    QString dossierTravail() const { return m_dossier; }
    // A file of the working folder, from a path relative to it ("images//x.jpg").
    QString fichierTravail(const QString& relatif) const;
    QString icone() const;
    // "<working folder>//data//" and the files in it.
    QString dossierDonnees() const;
    QString fichierParametres() const;
    QString couvertureParDefaut() const;
    // Scratch files of the last cover search: the answer, the picture
    // downloaded, the string signed.
    QString reponseRecherche() const;
    QString imageRecherche() const;
    QString signature() const;
    // The dated backups.
    QString dossierSauvegardes() const;
    // "<working folder>//images//" and a cover file in it.
    QString dossierImages() const;
    QString fichierImage(const QString& nom) const;

    // What an album's image field holds for a cover file of the images folder.
    static QString champImage(const QString& nomFichier);
    // The lock, relative to the working folder.
    static QString verrouRelatif();

private:
    QString m_dossier;
};

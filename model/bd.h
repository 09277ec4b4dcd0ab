#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

// An empty text and "_" both mean "none" for the cover and the borrower.
inline bool marqueAucun(QStringView texte)
{
    return texte.isEmpty() || texte == u"_";
}

// Kinds of comic. Any other value is kept and saved, and counted as Euro.
enum TypeBD { Euro = 0, Comic = 1, Manga = 2 };

// Every field of an album, for putting it back exactly as it was.
struct ChampsAlbum
{
    QString serie, titre;
    int tome = 0;
    QString dessinateur, scenariste, editeur, commentaire;
    int entier8 = 0;
    QString genre, image, emprunteur, dateEmprunt;
    double reel13 = 0.0;
    int type = 0;
    QString texte15;
    int note = 0, serieFinie = 0, nbEmprunts = 0;
    QString texte19, coloriste;

    bool operator==(const ChampsAlbum& autre) const;
    bool operator!=(const ChampsAlbum& autre) const { return !(*this == autre); }
};

// One album of the catalogue. The field order is the column order of the
// collection file.
class BD : public QObject
{
    Q_OBJECT

public:
    BD(const QString& serie, const QString& titre, int tome, const QString& dessinateur,
        const QString& scenariste, const QString& editeur, const QString& commentaire, int entier8,
        const QString& genre, const QString& image, const QString& emprunteur,
        const QString& dateEmprunt, double reel13, int type, const QString& texte15, int note,
        int serieFinie, int nbEmprunts, const QString& texte19, const QString& coloriste,
        QObject* parent = nullptr);
    explicit BD(ChampsAlbum&& champs, QObject* parent = nullptr);

    QString getSerie() const { return serie; }
    // The name itself, for lookups over every album without touching its count.
    const QString& serieSansCopie() const { return serie; }
    QString getTitre() const { return titre; }
    QString getDessinateur() const { return dessinateur; }
    QString getScenariste() const { return scenariste; }
    QString getEditeur() const { return editeur; }
    QString getCommentaire() const { return commentaire; }
    QString getGenre() const { return genre; }
    QString getImage() const { return image; }
    QString getEmprunteur() const { return emprunteur; }
    QString getDateEmprunt() const { return dateEmprunt; }
    // "_" stands for an empty value in the file.
    QString getTexte15() const;
    QString getTexte19() const { return texte19; }
    QString getColoriste() const { return coloriste; }

    void setSerie(const QString& valeur) { serie = valeur; }
    void setTitre(const QString& valeur) { titre = valeur; }
    void setDessinateur(const QString& valeur) { dessinateur = valeur; }
    void setScenariste(const QString& valeur) { scenariste = valeur; }
    void setColoriste(const QString& valeur) { coloriste = valeur; }
    void setEditeur(const QString& valeur) { editeur = valeur; }
    void setGenre(const QString& valeur) { genre = valeur; }
    void setCommentaire(const QString& valeur) { commentaire = valeur; }
    void setImage(const QString& valeur) { image = valeur; }
    void setEmprunteur(const QString& valeur) { emprunteur = valeur; }
    void setDateEmprunt(const QString& valeur) { dateEmprunt = valeur; }

    ChampsAlbum champs() const;
    void setChamps(const ChampsAlbum& valeurs);

    bool aUneImage() const { return !marqueAucun(image); }
    bool estPretee() const { return !marqueAucun(emprunteur); }
    // Visited by the automatic cover search: no cover yet, where "_" is a
    // cover chosen to be none.
    bool couvertureACherche() const { return image.isEmpty(); }

    int tome;
    int entier8;
    double reel13;
    int type;
    int note;
    int serieFinie;
    int nbEmprunts;

private:
    QString serie;
    QString titre;
    QString dessinateur;
    QString scenariste;
    QString editeur;
    QString commentaire;
    QString genre;
    QString image;
    QString emprunteur;
    QString dateEmprunt;
    QString texte15;
    QString texte19;
    QString coloriste;
};

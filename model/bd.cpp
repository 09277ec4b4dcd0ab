#include "model/bd.h"

BD::BD(const QString& serie, const QString& titre, int tome, const QString& dessinateur,
    const QString& scenariste, const QString& editeur, const QString& commentaire, int entier8,
    const QString& genre, const QString& image, const QString& emprunteur,
    const QString& dateEmprunt, double reel13, int type, const QString& texte15, int note,
    int serieFinie, int nbEmprunts, const QString& texte19, const QString& coloriste,
    QObject* parent)
    : QObject(parent)
    , tome(tome)
    , entier8(entier8)
    , reel13(reel13)
    , type(type)
    , note(note)
    , serieFinie(serieFinie)
    , nbEmprunts(nbEmprunts)
    , serie(serie)
    , titre(titre)
    , dessinateur(dessinateur)
    , scenariste(scenariste)
    , editeur(editeur)
    , commentaire(commentaire)
    , genre(genre)
    , image(image)
    , emprunteur(emprunteur)
    , dateEmprunt(dateEmprunt)
    , texte15(texte15)
    , texte19(texte19)
    , coloriste(coloriste)
{
}

BD::BD(ChampsAlbum&& c, QObject* parent)
    : QObject(parent)
    , tome(c.tome)
    , entier8(c.entier8)
    , reel13(c.reel13)
    , type(c.type)
    , note(c.note)
    , serieFinie(c.serieFinie)
    , nbEmprunts(c.nbEmprunts)
    , serie(std::move(c.serie))
    , titre(std::move(c.titre))
    , dessinateur(std::move(c.dessinateur))
    , scenariste(std::move(c.scenariste))
    , editeur(std::move(c.editeur))
    , commentaire(std::move(c.commentaire))
    , genre(std::move(c.genre))
    , image(std::move(c.image))
    , emprunteur(std::move(c.emprunteur))
    , dateEmprunt(std::move(c.dateEmprunt))
    , texte15(std::move(c.texte15))
    , texte19(std::move(c.texte19))
    , coloriste(std::move(c.coloriste))
{
}

QString BD::getTexte15() const
{
    if (texte15.isEmpty())
        return QStringLiteral("_");
    return texte15;
}

bool ChampsAlbum::operator==(const ChampsAlbum& a) const
{
    return serie == a.serie && titre == a.titre && tome == a.tome && dessinateur == a.dessinateur
        && scenariste == a.scenariste && editeur == a.editeur && commentaire == a.commentaire
        && entier8 == a.entier8 && genre == a.genre && image == a.image
        && emprunteur == a.emprunteur && dateEmprunt == a.dateEmprunt && reel13 == a.reel13
        && type == a.type && texte15 == a.texte15 && note == a.note && serieFinie == a.serieFinie
        && nbEmprunts == a.nbEmprunts && texte19 == a.texte19 && coloriste == a.coloriste;
}

ChampsAlbum BD::champs() const
{
    return { serie, titre, tome, dessinateur, scenariste, editeur, commentaire, entier8, genre,
        image, emprunteur, dateEmprunt, reel13, type, texte15, note, serieFinie, nbEmprunts,
        texte19, coloriste };
}

void BD::setChamps(const ChampsAlbum& v)
{
    serie = v.serie;
    titre = v.titre;
    tome = v.tome;
    dessinateur = v.dessinateur;
    scenariste = v.scenariste;
    editeur = v.editeur;
    commentaire = v.commentaire;
    entier8 = v.entier8;
    genre = v.genre;
    image = v.image;
    emprunteur = v.emprunteur;
    dateEmprunt = v.dateEmprunt;
    reel13 = v.reel13;
    type = v.type;
    texte15 = v.texte15;
    note = v.note;
    serieFinie = v.serieFinie;
    nbEmprunts = v.nbEmprunts;
    texte19 = v.texte19;
    coloriste = v.coloriste;
}

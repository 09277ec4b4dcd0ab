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

QString BD::getTexte15() const
{
    if (texte15.isEmpty())
        return QStringLiteral("_");
    return texte15;
}

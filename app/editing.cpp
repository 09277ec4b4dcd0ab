#include "app/phylacto.h"

void Phylacto::ajouterAlbum()
{
}

void Phylacto::ajouterSuite()
{
}

void Phylacto::ModifAlbum(QModelIndex aIndex)
{
    Q_UNUSED(aIndex);
}

void Phylacto::nouvelAlbum(QString serie, QString titre, QString scenariste, QString dessinateur,
                           int tome, QString commentaire, int type, int note, int serieFinie,
                           QString editeur, QString genre, QString coloriste)
{
    Q_UNUSED(serie); Q_UNUSED(titre); Q_UNUSED(scenariste); Q_UNUSED(dessinateur);
    Q_UNUSED(tome); Q_UNUSED(commentaire); Q_UNUSED(type); Q_UNUSED(note);
    Q_UNUSED(serieFinie); Q_UNUSED(editeur); Q_UNUSED(genre); Q_UNUSED(coloriste);
}

void Phylacto::UpdateAlbum(QString serie, QString titre, QString scenariste, QString dessinateur,
                           int tome, QString commentaire, int type, int note, int serieFinie,
                           QString editeur, QString genre, QString coloriste)
{
    Q_UNUSED(serie); Q_UNUSED(titre); Q_UNUSED(scenariste); Q_UNUSED(dessinateur);
    Q_UNUSED(tome); Q_UNUSED(commentaire); Q_UNUSED(type); Q_UNUSED(note);
    Q_UNUSED(serieFinie); Q_UNUSED(editeur); Q_UNUSED(genre); Q_UNUSED(coloriste);
}

void Phylacto::suppAlbum()
{
}

void Phylacto::suppSerie()
{
}

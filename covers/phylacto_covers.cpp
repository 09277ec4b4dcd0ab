#include "app/phylacto.h"

void Phylacto::ChercherAlbum()
{
}

void Phylacto::LancerRechercheAlbum(QString aRechercher)
{
    Q_UNUSED(aRechercher);
}

void Phylacto::changeImage()
{
}

void Phylacto::setNewImage(QString aRechercher)
{
    Q_UNUSED(aRechercher);
}

void Phylacto::properlyDestroyed(int)
{
}

void Phylacto::ChercherToutesImages()
{
}

void Phylacto::stopRechercheAuto()
{
    arretRechercheAuto = true;
}

void Phylacto::setImageBD(QString aNom, QString aRecherche)
{
    Q_UNUSED(aNom);
    Q_UNUSED(aRecherche);
}

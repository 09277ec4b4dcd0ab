#include "app/phylacto.h"

void Phylacto::affichagePret()
{
}

void Phylacto::Preter()
{
}

void Phylacto::AfficherRecherche()
{
}

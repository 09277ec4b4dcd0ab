#include "settings/chemins.h"

#include <QDir>

Chemins::Chemins(const QString& dossierTravail)
    : m_dossier(dossierTravail)
{
}

Chemins Chemins::dossierCourant()
{
    return Chemins(QDir::currentPath());
}

QString Chemins::fichierTravail(const QString& relatif) const
{
    return m_dossier + QStringLiteral("//") + relatif;
}

QString Chemins::icone() const
{
    return fichierTravail(QStringLiteral("icon.ico"));
}

QString Chemins::dossierDonnees() const
{
    return m_dossier + QStringLiteral("//data//");
}

QString Chemins::fichierParametres() const
{
    return dossierDonnees() + QStringLiteral("settings.ini");
}

QString Chemins::couvertureParDefaut() const
{
    return dossierDonnees() + QStringLiteral("AddPicture.bmp");
}

QString Chemins::reponseRecherche() const
{
    return dossierDonnees() + QStringLiteral("tutu.xml");
}

QString Chemins::imageRecherche() const
{
    return dossierDonnees() + QStringLiteral("tutu.jpg");
}

QString Chemins::signature() const
{
    return dossierDonnees() + QStringLiteral("signature.txt");
}

QString Chemins::dossierSauvegardes() const
{
    return dossierDonnees() + QStringLiteral("sauvegardes//");
}

QString Chemins::dossierImages() const
{
    return m_dossier + QStringLiteral("//images//");
}

QString Chemins::fichierImage(const QString& nom) const
{
    return dossierImages() + nom;
}

QString Chemins::champImage(const QString& nomFichier)
{
    return QStringLiteral("images//") + nomFichier;
}

QString Chemins::verrouRelatif()
{
    return QStringLiteral("data/phylacto.lock");
}
